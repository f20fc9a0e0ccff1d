#include "wavefile/ExtensibleFormat.h"

#include <cstring>

#include "wavefile/LittleEndian.h"
#include "wavefile/WaveFormat.h"

namespace extensible_format {
namespace {

// Offsets within the extension (chunk offset minus 16).
constexpr int kCbSizeAt = 0;
constexpr int kValidBitsAt = 2;
constexpr int kSubFormatAt = 8;
// The GUID's first field is the plain tag as a 32-bit word; the remaining
// twelve bytes are the same for every plain tag.
constexpr int kBaseAt = kSubFormatAt + 4;
constexpr unsigned char kBase[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
static_assert(kBaseAt + sizeof kBase == kExtensionBytes);

}  // namespace

SubFormat resolve(const unsigned char* extension, std::uint16_t containerBits) {
  SubFormat result;
  if (little_endian::u16(extension + kCbSizeAt) < kMinCbSize) {
    result.refusal = WaveRefusal::kExtensionTooShort;
    return result;
  }
  const std::uint32_t tag = little_endian::u32(extension + kSubFormatAt);
  if ((tag != kWaveFormatPcm && tag != kWaveFormatIeeeFloat) ||
      std::memcmp(extension + kBaseAt, kBase, sizeof kBase) != 0) {
    result.refusal = WaveRefusal::kUnsupportedSubFormat;
    return result;
  }
  const std::uint16_t validBits = little_endian::u16(extension + kValidBitsAt);
  if (validBits > containerBits) {
    result.refusal = WaveRefusal::kValidBitsAboveContainer;
    return result;
  }
  result.tag = static_cast<std::uint16_t>(tag);
  result.validBits = validBits == 0 ? containerBits : validBits;
  return result;
}

}  // namespace extensible_format
