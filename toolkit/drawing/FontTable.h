// The toolkit's eight fonts, chosen by id. Ids outside 0..7 mean font 0.
#pragma once

#include <cstdint>

struct FontTableEntry {
  const char* face;
  int32_t size;     // default character height in pixels
  bool alwaysBold;  // font 0
  bool decorative;  // font 7: a symbol face
};

inline constexpr int32_t kFontCount = 8;
// What a new context's font id holds before its first font: no table entry.
inline constexpr int32_t kNoFontId = kFontCount;

// The id the table uses for `id`: 0 for anything outside the table.
constexpr int32_t effectiveFontId(int32_t id) { return id >= 0 && id < kFontCount ? id : 0; }
const FontTableEntry& fontTableEntry(int32_t id);
