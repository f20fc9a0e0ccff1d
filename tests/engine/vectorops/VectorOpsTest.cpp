// The vector-operation tiers against exact expectations, and the tier
// chosen for each kind of processor.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

#include "engine/ProcessorDetection.h"
#include "engine/vectorops/VectorOps.h"
#include "engine/vectorops/VectorOpsTiers.h"
#include "tests/support/FakeCpuProbe.h"

namespace {

namespace vo = vector_ops;

std::uint32_t bitsOf(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  return bits;
}

float fromBits(std::uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof(value));
  return value;
}

std::uint32_t randomBits(std::mt19937& rng) { return static_cast<std::uint32_t>(rng()); }

// Normal floats of either sign with magnitudes 2^-20 ... 2^21, so that sums
// and products of two of them stay normal.
float randomNormal(std::mt19937& rng) {
  const std::uint32_t r = randomBits(rng);
  const std::uint32_t exponent = 127u - 20u + (r >> 8) % 41u;
  return fromBits((r & 0x80000000u) | (exponent << 23) | (randomBits(rng) & 0x7FFFFFu));
}

// Index of the first element whose bits differ, or -1.
int firstDifference(const std::vector<float>& actual, const std::vector<float>& expected) {
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (bitsOf(actual[i]) != bitsOf(expected[i])) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

bool hostHas(std::atomic<bool> CpuFeatures::*flag) {
  detectCpuFeatures();
  return (cpuFeatures().*flag).load();
}

// Every array below sits inside a larger buffer: the words around it are
// guards that must come out unchanged, and the start is shifted by 0 ... 3
// floats to cover every alignment.
constexpr int kGuard = 8;
constexpr int kMaxSize = 300;

struct Tier {
  const char* name;
  std::atomic<bool> CpuFeatures::*needs;  // null: runs everywhere
  bool keepsEveryPattern;                 // false: values pass through x87
  VectorOps::FillFn fill;
  VectorOps::BinaryFn add;
  VectorOps::ScalarFn addScalar;
  VectorOps::BinaryFn multiply;
  VectorOps::ScalarFn scale;
  VectorOps::BinaryFn move;
  VectorOps::ClipFn clip;
};

const Tier kPortable{"portable",
                     nullptr,
                     true,
                     &vo::portable::fill,
                     &vo::portable::add,
                     &vo::portable::addScalar,
                     &vo::portable::multiply,
                     &vo::portable::scale,
                     &vo::portable::move,
                     &vo::portable::clip};
const Tier kFpu{"fpu",
                &CpuFeatures::hasFpu,
                false,
                &vo::fpu::fill,
                &vo::fpu::add,
                &vo::fpu::addScalar,
                &vo::fpu::multiply,
                &vo::fpu::scale,
                &vo::fpu::move,
                nullptr};
const Tier kSse{"sse",
                &CpuFeatures::hasSse,
                true,
                &vo::sse::fill,
                &vo::sse::add,
                &vo::sse::addScalar,
                &vo::sse::multiply,
                &vo::sse::scale,
                &vo::sse::move,
                nullptr};
const Tier kCmov{"cmov",  &CpuFeatures::hasCmov, true, nullptr, nullptr, nullptr, nullptr, nullptr,
                 nullptr, &vo::cmov::clip};

void PrintTo(const Tier* tier, std::ostream* os) { *os << tier->name; }

std::string tierName(const testing::TestParamInfo<const Tier*>& info) { return info.param->name; }

class TierTest : public testing::TestWithParam<const Tier*> {
 protected:
  void SetUp() override {
    if (GetParam()->needs != nullptr && !hostHas(GetParam()->needs)) {
      GTEST_SKIP() << "this processor lacks the " << GetParam()->name << " tier";
    }
  }
};

// Tiers of the six entries other than clip, and tiers of clip.
using SixEntryTier = TierTest;
using ClipTier = TierTest;

// Overlaps of one float and more in both directions, disjoint ranges, odd
// sizes and every alignment: the result must equal a copy through a
// separate buffer, and nothing outside dst may change.
// Builds where the test is slow and can find nothing more take every
// ULMAR_VECTOR_OPS_SIZE_STEP-th size.
#ifndef ULMAR_VECTOR_OPS_SIZE_STEP
#define ULMAR_VECTOR_OPS_SIZE_STEP 1
#endif
TEST_P(SixEntryTier, EqualsCopyThroughSeparateBuffer) {
  const Tier& tier = *GetParam();
  constexpr int kMaxShift = 2 * kMaxSize;
  const int shifts[] = {1, -1, 2, -2, 3, -3, 4, -4, 5, -5, 15, -15, 16, -16, 17, -17, 100, -100, kMaxShift, -kMaxShift};
  std::mt19937 rng(7);
  std::vector<float> buffer(2 * kGuard + 2 * kMaxShift + kMaxSize + 4);
  for (int n = 0; n <= kMaxSize; n += ULMAR_VECTOR_OPS_SIZE_STEP) {
    for (int shift : shifts) {
      for (int misalign = 0; misalign < 4; ++misalign) {
        for (float& x : buffer) {
          x = tier.keepsEveryPattern ? fromBits(randomBits(rng)) : randomNormal(rng);
        }
        const int srcAt = kGuard + kMaxShift + misalign;
        const int dstAt = srcAt + shift;
        std::vector<float> expected = buffer;
        const std::vector<float> through(buffer.begin() + srcAt, buffer.begin() + srcAt + n);
        std::copy(through.begin(), through.end(), expected.begin() + dstAt);

        tier.move(buffer.data() + dstAt, buffer.data() + srcAt, n);
        ASSERT_EQ(firstDifference(buffer, expected), -1) << "n=" << n << " shift=" << shift << " misalign=" << misalign;
      }
    }
  }
}

// A page whose contents can be read but not written: any store faults.
class ReadOnlyPage {
 public:
  static constexpr int kFloats = 1024;
  ReadOnlyPage() {
#ifdef _WIN32
    data_ = static_cast<float*>(VirtualAlloc(nullptr, kBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
#else
    void* p = mmap(nullptr, kBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    data_ = p == MAP_FAILED ? nullptr : static_cast<float*>(p);
#endif
    if (data_ == nullptr) {
      return;
    }
    for (int i = 0; i < kFloats; ++i) {
      data_[i] = 1000.0f + static_cast<float>(i);
    }
#ifdef _WIN32
    DWORD old = 0;
    protected_ = VirtualProtect(data_, kBytes, PAGE_READONLY, &old) != 0;
#else
    protected_ = mprotect(data_, kBytes, PROT_READ) == 0;
#endif
  }
  ~ReadOnlyPage() {
#ifdef _WIN32
    VirtualFree(data_, 0, MEM_RELEASE);
#else
    munmap(data_, kBytes);
#endif
  }
  ReadOnlyPage(const ReadOnlyPage&) = delete;
  ReadOnlyPage& operator=(const ReadOnlyPage&) = delete;
  bool ready() const { return data_ != nullptr && protected_; }
  float* data() const { return data_; }

 private:
  static constexpr std::size_t kBytes = kFloats * sizeof(float);
  float* data_ = nullptr;
  bool protected_ = false;
};

// dst == src for move, n <= 0 and null pointers: no store at all, which a
// read-only destination turns into a crash if it happens.
TEST_P(SixEntryTier, WritesNothingWithoutWork) {
  const Tier& tier = *GetParam();
  ReadOnlyPage page;
  ASSERT_TRUE(page.ready());
  float* ro = page.data() + 3;
  std::vector<float> src(64, 1.0f);
  for (int n : {0, -1, -64}) {
    tier.fill(ro, n, 2.0f);
    tier.add(ro, src.data(), n);
    tier.addScalar(ro, 2.0f, n);
    tier.multiply(ro, src.data(), n);
    tier.scale(ro, 2.0f, n);
    tier.move(ro, src.data(), n);
    tier.move(ro, ro + 1, n);
  }
  tier.add(ro, nullptr, 37);
  tier.multiply(ro, nullptr, 37);
  tier.move(ro, nullptr, 37);
  tier.move(ro, ro, 37);
  tier.move(ro, ro, ReadOnlyPage::kFloats - 3);
  tier.fill(nullptr, 37, 2.0f);
  tier.addScalar(nullptr, 2.0f, 37);
  tier.scale(nullptr, 2.0f, 37);
  tier.add(nullptr, src.data(), 37);
  tier.move(nullptr, src.data(), 37);
  EXPECT_EQ(page.data()[3], 1003.0f);
}

// Each element must get one operation rounded once to single precision:
// the exact result in double precision rounded to float (a sum or product
// of two floats is exact in double or rounds innocuously, 53 >= 2*24+2).
// Comparing every tier, the portable one included, with the same exact
// values makes them agree with each other bit for bit.
TEST_P(SixEntryTier, MatchesSingleRoundingOnRandomNormals) {
  const Tier& tier = *GetParam();
  std::mt19937 rng(11);
  std::vector<float> dst(kMaxSize + 2 * kGuard + 4);
  std::vector<float> src(dst.size());
  const float signalling = fromBits(0x7F800001u);
  for (int n = 0; n <= kMaxSize; ++n) {
    for (int misalign = 0; misalign < 4; ++misalign) {
      const int at = kGuard + misalign;
      // src is shifted by one float against dst so that the two never share
      // an alignment.
      const int srcAt = at + 1;
      for (int op = 0; op < 5; ++op) {
        for (std::size_t i = 0; i < dst.size(); ++i) {
          dst[i] = randomNormal(rng);
          src[i] = randomNormal(rng);
        }
        const float value = (op == 0 && tier.keepsEveryPattern && n % 2 == 1) ? signalling : randomNormal(rng);
        std::vector<float> expected = dst;
        for (int i = 0; i < n; ++i) {
          const double d = expected[at + i];
          const double s = src[srcAt + i];
          const double v = value;
          const double exact[] = {v, d + s, d + v, d * s, d * v};
          expected[at + i] = op == 0 ? value : static_cast<float>(exact[op]);
        }
        switch (op) {
          case 0:
            tier.fill(dst.data() + at, n, value);
            break;
          case 1:
            tier.add(dst.data() + at, src.data() + srcAt, n);
            break;
          case 2:
            tier.addScalar(dst.data() + at, value, n);
            break;
          case 3:
            tier.multiply(dst.data() + at, src.data() + srcAt, n);
            break;
          default:
            tier.scale(dst.data() + at, value, n);
            break;
        }
        const char* names[] = {"fill", "add", "addScalar", "multiply", "scale"};
        ASSERT_EQ(firstDifference(dst, expected), -1) << names[op] << " n=" << n << " misalign=" << misalign;
      }
    }
  }
}

// Elements beyond the limit, at it, just inside it, zeros of both signs,
// infinities and denormals; the guards outside the range all lie beyond
// the limit, so a visit to one more element (for n a multiple of 4 too)
// would change it.
TEST_P(ClipTier, MatchesDefinitionAndVisitsExactlyN) {
  const Tier& tier = *GetParam();
  std::mt19937 rng(13);
  const float inf = std::numeric_limits<float>::infinity();
  const float limits[] = {0.0f, 0.5f, 1.0f, 3.0e-39f, 12345.678f, inf};
  std::vector<float> buffer(kMaxSize + 2 * kGuard + 4);
  for (float limit : limits) {
    const float special[] = {limit,
                             -limit,
                             std::nextafter(limit, inf),
                             -std::nextafter(limit, inf),
                             std::nextafter(limit, 0.0f),
                             -std::nextafter(limit, 0.0f),
                             0.0f,
                             -0.0f,
                             inf,
                             -inf,
                             fromBits(0x00000001u),
                             fromBits(0x807FFFFFu)};
    for (int n = 0; n <= kMaxSize; ++n) {
      const int at = kGuard + n % 4;
      for (std::size_t i = 0; i < buffer.size(); ++i) {
        buffer[i] = (i % 2 == 0) ? 3.0e38f : -3.0e38f;
      }
      for (int i = 0; i < n; ++i) {
        const std::uint32_t r = randomBits(rng);
        buffer[at + i] = r % 3 == 0 ? special[r / 3 % std::size(special)] : randomNormal(rng) * limit;
      }
      std::vector<float> expected = buffer;
      for (int i = 0; i < n; ++i) {
        float& x = expected[at + i];
        if (std::fabs(x) > limit) {
          x = std::copysign(limit, x);
        }
      }
      tier.clip(buffer.data() + at, n, limit);
      ASSERT_EQ(firstDifference(buffer, expected), -1) << "limit=" << limit << " n=" << n;
    }
  }
}

// The tiers part only for NaNs: the portable clip leaves them, the
// conditional-move clip turns them into a limit of the same sign.
TEST_P(ClipTier, NaNsAsDocumented) {
  const Tier& tier = *GetParam();
  const std::uint32_t nans[] = {0x7FC00000u, 0xFFC00000u, 0x7F800001u, 0xFFFFFFFFu};
  std::vector<float> values;
  for (std::uint32_t bits : nans) {
    values.push_back(fromBits(bits));
  }
  tier.clip(values.data(), static_cast<int>(values.size()), 2.0f);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const float pushedToLimit = (nans[i] & 0x80000000u) != 0 ? -2.0f : 2.0f;
    if (tier.clip == &vo::cmov::clip) {
      EXPECT_EQ(values[i], pushedToLimit) << i;
    } else {
      EXPECT_EQ(bitsOf(values[i]), nans[i]) << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(VectorOps, SixEntryTier, testing::Values(&kPortable, &kFpu, &kSse), tierName);
INSTANTIATE_TEST_SUITE_P(VectorOps, ClipTier, testing::Values(&kPortable, &kCmov), tierName);

class TierChoice : public testing::Test {
 protected:
  void TearDown() override { detectCpuFeatures(); }
};

// The table after detection on each kind of processor. Before each case the
// table is set for a processor with everything, so an entry the choice
// forgets to reset shows up as a stale SSE or conditional-move tier.
TEST_F(TierChoice, FollowsTheProcessor) {
  struct Case {
    const char* kind;
    std::uint32_t edx;
    const Tier* six;
    const Tier* clip;
  };
  const Case cases[] = {
      {"SSE", kEdxFpu | kEdxCmov | kEdxFxsr | kEdxSse, &kSse, &kCmov},
      {"SSE without CMOV", kEdxFpu | kEdxFxsr | kEdxSse, &kSse, &kPortable},
      {"FPU and CMOV, no SSE", kEdxFpu | kEdxCmov, &kFpu, &kCmov},
      {"FPU only", kEdxFpu, &kFpu, &kPortable},
      {"no CPUID", 0, &kPortable, &kPortable},
  };
  for (const Case& c : cases) {
    auto everything = test_support::FakeCpuProbe::withEdx(kEdxFpu | kEdxCmov | kEdxFxsr | kEdxSse);
    detectCpuFeatures(everything);
    auto probe = test_support::FakeCpuProbe::withEdx(c.edx);
    detectCpuFeatures(probe);
    const VectorOps& ops = vectorOps();
    EXPECT_EQ(ops.fill.load(), c.six->fill) << c.kind;
    EXPECT_EQ(ops.add.load(), c.six->add) << c.kind;
    EXPECT_EQ(ops.addScalar.load(), c.six->addScalar) << c.kind;
    EXPECT_EQ(ops.multiply.load(), c.six->multiply) << c.kind;
    EXPECT_EQ(ops.scale.load(), c.six->scale) << c.kind;
    EXPECT_EQ(ops.move.load(), c.six->move) << c.kind;
    EXPECT_EQ(ops.clip.load(), c.clip->clip) << c.kind;
  }
}

}  // namespace
