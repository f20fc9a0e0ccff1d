// The RIFF layer's chunk search and buffer access. The same cases run over
// winmm in the Windows build, which keeps our own layer honest.
#include <gtest/gtest.h>

#include <memory>

#include "tests/support/TestSupport.h"
#include "tests/wavefile/WavBytes.h"
#include "wavefile/RiffFile.h"

using namespace wavbytes;

namespace {

struct Closer {
  void operator()(riff::File* f) const { riff::close(f); }
};
using Handle = std::unique_ptr<riff::File, Closer>;

constexpr riff::FourCC id(const char* s) { return riff::makeFourCC(s[0], s[1], s[2], s[3]); }

// RIFF form at 0, "abc " (3 bytes + pad) at 12, "LIST" at 24, "data" at 40.
Bytes sampleFile() {
  return riffBytes({{"abc ", {1, 2, 3}}, {"LIST", {'I', 'N', 'F', 'O', 9, 9, 9, 9}}, {"data", {10, 11, 12, 13, 14}}});
}

TEST(RiffFile, DescendsAndSearchesOverPaddedSiblings) {
  TempFile file(sampleFile());
  Handle h(riff::open(test_support::nativeName(file.path())));
  ASSERT_TRUE(h);
  riff::ChunkInfo form{};
  ASSERT_EQ(riff::descend(h.get(), &form, nullptr, riff::Descend::kHere), 0);
  EXPECT_EQ(form.ckid, riff::kRiffId);
  EXPECT_EQ(form.fccType, id("WAVE"));
  EXPECT_EQ(form.dwDataOffset, 8u);

  riff::ChunkInfo data{};
  data.ckid = id("data");
  ASSERT_EQ(riff::descend(h.get(), &data, &form, riff::Descend::kFindChunk), 0);
  EXPECT_EQ(data.cksize, 5u);
  EXPECT_EQ(data.dwDataOffset, 48u);
  char bytes[8] = {};
  EXPECT_EQ(riff::read(h.get(), bytes, 8), 6);  // 5 data bytes and the pad
  EXPECT_EQ(bytes[0], 10);
  EXPECT_EQ(bytes[4], 14);

  // Back to the first sub-chunk: the list chunk reports its type.
  ASSERT_EQ(riff::seek(h.get(), 12), 12);
  riff::ChunkInfo list{};
  list.ckid = riff::kListId;
  ASSERT_EQ(riff::descend(h.get(), &list, &form, riff::Descend::kFindChunk), 0);
  EXPECT_EQ(list.fccType, id("INFO"));
  EXPECT_EQ(list.dwDataOffset, 32u);
  ASSERT_EQ(riff::ascend(h.get(), &list), 0);
  riff::ChunkInfo next{};
  ASSERT_EQ(riff::descend(h.get(), &next, &form, riff::Descend::kHere), 0);
  EXPECT_EQ(next.ckid, id("data"));

  ASSERT_EQ(riff::seek(h.get(), 12), 12);
  riff::ChunkInfo missing{};
  missing.ckid = id("fmt ");
  EXPECT_NE(riff::descend(h.get(), &missing, &form, riff::Descend::kFindChunk), 0);
}

TEST(RiffFile, BufferAccessRefillsAcrossTheWholeFile) {
  Bytes bytes(20011);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  TempFile file(bytes);
  Handle h(riff::open(test_support::nativeName(file.path())));
  ASSERT_TRUE(h);
  ASSERT_EQ(riff::seek(h.get(), 5), 5);

  riff::IoInfo io;
  ASSERT_EQ(riff::getInfo(h.get(), &io), 0);
  std::size_t at = 5;
  while (at < 15000) {
    if (io.pchNext == io.pchEndRead) {
      ASSERT_EQ(riff::advance(h.get(), &io), 0);
      ASSERT_NE(io.pchNext, io.pchEndRead) << "at " << at;
    }
    ASSERT_EQ(static_cast<std::uint8_t>(*io.pchNext), bytes[at]) << "at " << at;
    ++io.pchNext;
    ++at;
  }
  ASSERT_EQ(riff::setInfo(h.get(), &io), 0);
  char tail[2];
  ASSERT_EQ(riff::read(h.get(), tail, 2), 2);
  EXPECT_EQ(static_cast<std::uint8_t>(tail[0]), bytes[15000]);

  ASSERT_EQ(riff::seek(h.get(), 20011), 20011);
  ASSERT_EQ(riff::getInfo(h.get(), &io), 0);
  if (io.pchNext == io.pchEndRead) {
    ASSERT_EQ(riff::advance(h.get(), &io), 0);
  }
  EXPECT_EQ(io.pchNext, io.pchEndRead) << "bytes after the end of the file";
  EXPECT_EQ(riff::setInfo(h.get(), &io), 0);
}

#ifndef _WIN32
TEST(RiffFilePosix, SearchEndsWithTheParentAndMemoryMatchesFiles) {
  // The form's declared size stops before "data": the search fails.
  Bytes bytes = sampleFile();
  bytes[4] = 32;  // form ends at 40, where "data" begins
  for (int fromMemory = 0; fromMemory < 2; ++fromMemory) {
    SCOPED_TRACE(fromMemory ? "memory" : "file");
    TempFile file(bytes);
    Handle h(fromMemory ? riff::openMemory(bytes.data(), bytes.size())
                        : riff::open(test_support::nativeName(file.path())));
    ASSERT_TRUE(h);
    riff::ChunkInfo form{};
    ASSERT_EQ(riff::descend(h.get(), &form, nullptr, riff::Descend::kHere), 0);
    riff::ChunkInfo chunk{};
    chunk.ckid = id("data");
    EXPECT_NE(riff::descend(h.get(), &chunk, &form, riff::Descend::kFindChunk), 0);
    chunk.ckid = riff::kListId;
    ASSERT_EQ(riff::descend(h.get(), &chunk, &form, riff::Descend::kFindChunk), 0);
    EXPECT_EQ(chunk.dwDataOffset, 32u);
    // Outside the parent nothing is searched.
    ASSERT_EQ(riff::seek(h.get(), 40), 40);
    EXPECT_NE(riff::descend(h.get(), &chunk, &form, riff::Descend::kFindChunk), 0);
  }

  Handle empty(riff::openMemory(nullptr, 0));
  ASSERT_TRUE(empty);
  riff::ChunkInfo none{};
  EXPECT_NE(riff::descend(empty.get(), &none, nullptr, riff::Descend::kHere), 0);
  EXPECT_EQ(riff::seek(empty.get(), -1), -1);
}
#endif

}  // namespace
