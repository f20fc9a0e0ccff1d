// Program (.fxp) and bank (.fxb) preset files in their opaque-chunk forms,
// as hosts save a chunk-based plug-in's state, so that presets move
// between hosts, the command line and the editor.
//
// Every integer in these files is 32-bit big-endian. Reading validates each
// size against the bytes actually present before using it and answers a
// named error instead of throwing; writing encodes exactly one form.
//
// Threading: plain functions without shared state; any thread. They
// allocate and do file I/O, so never on the audio thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/VstAbi.h"

namespace preset_file {

constexpr VstInt32 kChunkMagic = fourCharCode('C', 'c', 'n', 'K');
constexpr VstInt32 kProgramChunkForm = fourCharCode('F', 'P', 'C', 'h');
constexpr VstInt32 kBankChunkForm = fourCharCode('F', 'B', 'C', 'h');
// The parameter-list forms, which a plug-in that stores chunks never writes.
constexpr VstInt32 kProgramParameterForm = fourCharCode('F', 'x', 'C', 'k');
constexpr VstInt32 kBankParameterForm = fourCharCode('F', 'x', 'B', 'k');

// Byte offsets of the fields. byteSize counts everything after itself.
constexpr std::size_t kChunkMagicOffset = 0;
constexpr std::size_t kByteSizeOffset = 4;
constexpr std::size_t kFormOffset = 8;
constexpr std::size_t kFormatVersionOffset = 12;
constexpr std::size_t kPluginIdOffset = 16;
constexpr std::size_t kPluginVersionOffset = 20;
constexpr std::size_t kCountOffset = 24;  // numParams or numPrograms
constexpr std::size_t kByteSizeExcluded = 8;

constexpr std::size_t kProgramNameOffset = 28;
constexpr std::size_t kProgramNameSize = 28;
constexpr std::size_t kProgramChunkSizeOffset = kProgramNameOffset + kProgramNameSize;
constexpr std::size_t kProgramChunkOffset = kProgramChunkSizeOffset + 4;
static_assert(kProgramChunkOffset == 60);

constexpr std::size_t kBankReservedOffset = 28;
constexpr std::size_t kBankReservedSize = 128;
// Version 2 banks keep the current program in the first reserved word.
constexpr std::size_t kBankCurrentProgramOffset = kBankReservedOffset;
constexpr std::size_t kBankChunkSizeOffset = kBankReservedOffset + kBankReservedSize;
constexpr std::size_t kBankChunkOffset = kBankChunkSizeOffset + 4;
static_assert(kBankChunkOffset == 160);

// Larger chunks are refused before anything is allocated for them.
constexpr std::size_t kMaxChunkSize = 64u << 20;
constexpr std::size_t kMaxFileSize = kBankChunkOffset + kMaxChunkSize;

enum class Kind { kProgram, kBank };

enum class Error {
  kNone,
  kCannotOpen,  // missing, unreadable or a read error
  kCannotWrite,
  kTruncated,           // ends before a field or before the size it declares
  kWrongMagic,          // does not start with 'CcnK'
  kParameterListForm,   // 'FxCk' or 'FxBk': parameters instead of a chunk
  kUnknownForm,         // any other form
  kUnsupportedVersion,  // program version other than 1, bank other than 1 or 2
  kWrongPluginId,       // saved by another plug-in
  kSizeMismatch,        // byteSize or chunkSize leaves bytes unaccounted for
  kTooLarge,
};

struct Preset {
  Kind kind = Kind::kProgram;
  VstInt32 formatVersion = 1;
  VstInt32 pluginId = 0;
  VstInt32 pluginVersion = 0;
  // numParams for a program, numPrograms for a bank.
  VstInt32 count = 0;
  // Programs only; at most 27 characters are stored.
  std::string programName;
  // Banks of version 2 only.
  VstInt32 currentProgram = 0;
  // The block from effGetChunk (index 1 for a program, 0 for a bank).
  std::vector<unsigned char> chunk;
};

struct ReadResult {
  Error error = Error::kNone;
  Preset preset;
  bool ok() const { return error == Error::kNone; }
};

// Decodes a whole file held in memory. expectedPluginId is the uniqueID of
// the plug-in the state is meant for.
ReadResult parse(const unsigned char* bytes, std::size_t size, VstInt32 expectedPluginId);
ReadResult readFile(const char* path, VstInt32 expectedPluginId);

// The file's bytes: 'FPCh' version 1 for a program, 'FBCh' for a bank
// (version 2, with the current program, when formatVersion is 2).
std::vector<unsigned char> encode(const Preset& preset);
// Writes the encoded preset to path, replacing it. A failed write may leave
// a partial file; callers that need atomic replacement write elsewhere and
// rename.
Error writeFile(const char* path, const Preset& preset);

// One line for the user, without the file name.
const char* describe(Error error);

}  // namespace preset_file
