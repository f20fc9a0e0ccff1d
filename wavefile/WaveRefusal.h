// Why WaveReader::open failed: one name per reason, so that callers and
// tests can tell them apart.
#pragma once

enum class WaveRefusal {
  kNone,
  kCannotOpen,
  kNotRiff,  // the first chunk is not "RIFF"
  kNotWave,  // the form type is not "WAVE"
  kNoFormatChunk,
  kFormatTooShort,   // "fmt " declares fewer than 16 bytes
  kFormatTruncated,  // the file ends before the bytes "fmt " declares and the reader needs
  kUnsupportedTag,   // neither PCM, IEEE float nor the extensible header
  // Extensible header: "fmt " declares fewer than 40 bytes, or cbSize is
  // below 22, so the sub-format is not all there.
  kExtensionTooShort,
  // Extensible header whose sub-format is neither PCM nor IEEE float.
  kUnsupportedSubFormat,
  // Extensible header claiming more valid bits than each sample's container.
  kValidBitsAboveContainer,
  kNoChannels,
  kTooManyChannels,
  kNoBlockAlign,
  kBlockAlignTooSmall,
  kAscendFailed,
  kSeekFailed,
  kNoDataChunk,
};
