// libFuzzer target: what a file chooser program writes, as the editor's
// chooser reads it from the pipe: in pieces of any size (long lines, no
// line end, bytes that are not UTF-8, NUL bytes). The path taken is the
// output without its line ends, or none when the output cannot name one.
#include <limits.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "desktop/linux/ChooserOutput.h"

namespace {

void require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "chooser output: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // The first byte sets the pieces' sizes, as reads of a pipe may split it.
  const std::size_t piece = 1 + data[0];
  const char* text = reinterpret_cast<const char*>(data + 1);
  const std::size_t length = size - 1;
  ChooserOutput output;
  for (std::size_t at = 0; at < length; at += piece) {
    output.append(text + at, std::min(piece, length - at));
  }
  const std::string path = output.path();

  const std::string written(text, length);
  std::size_t end = written.size();
  while (end > 0 && (written[end - 1] == '\n' || written[end - 1] == '\r')) --end;
  const bool namesOne = written.find('\0') == std::string::npos && written.size() <= PATH_MAX;
  require(path == (namesOne ? written.substr(0, end) : std::string()), "the path is the output without line ends");
  require(path.find('\0') == std::string::npos, "no NUL in a path");

  // Used again, it starts afresh.
  output.clear();
  output.append("/a.wav\n", 7);
  require(output.path() == "/a.wav", "a cleared output takes a new answer");
  return 0;
}
