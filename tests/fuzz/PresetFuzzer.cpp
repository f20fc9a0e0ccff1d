// libFuzzer target: program and bank preset files. What parses is written
// and parsed again: the second parse equals the first, and writing that
// gives the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tools/presets/PresetFile.h"

namespace {

constexpr VstInt32 kPluginId = fourCharCode('W', 'q', '1', '1');

void require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "preset: %s\n", what);
    std::abort();
  }
}

bool same(const preset_file::Preset& a, const preset_file::Preset& b) {
  return a.kind == b.kind && a.formatVersion == b.formatVersion && a.pluginId == b.pluginId &&
         a.pluginVersion == b.pluginVersion && a.count == b.count && a.programName == b.programName &&
         a.currentProgram == b.currentProgram && a.chunk == b.chunk;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const preset_file::ReadResult first = preset_file::parse(data, size, kPluginId);
  require(preset_file::describe(first.error) != nullptr, "every result is described");
  if (!first.ok()) return 0;
  const std::vector<unsigned char> written = preset_file::encode(first.preset);
  const preset_file::ReadResult second = preset_file::parse(written.data(), written.size(), kPluginId);
  require(second.ok(), "what was written parses");
  require(same(first.preset, second.preset), "parse(write(parse(x))) equals parse(x)");
  require(preset_file::encode(second.preset) == written, "what is written is written again byte for byte");
  return 0;
}
