// What a file chooser program writes on its output: the chosen path and a
// line end, collected in the pieces the pipe delivers.
#pragma once

#include <cstddef>
#include <string>

class ChooserOutput {
 public:
  void append(const char* bytes, std::size_t count);
  // The path the output names, without its line end; empty when it names
  // none: nothing written, more than any path the system opens, or a NUL
  // byte inside (no path holds one, and the path handed on as a C string
  // would end there and name another file).
  std::string path() const;
  void clear();

 private:
  std::string text_;
  bool tooLong_ = false;
};
