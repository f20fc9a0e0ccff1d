// The built 32-bit plug-in driven through a shim that calls its entry
// point and callbacks with the stack misaligned by 4, 8 and 12 bytes, as
// hosts built by other compilers call it: nothing may crash, and the audio
// and the saved state must equal those of calls with the stack aligned.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <vector>

#include "effect/StateChunk.h"
#include "engine/ProcessorDetection.h"
#include "engine/kernel/FirKernelTier.h"
#include "tests/plugin/MisalignedStackCall.h"
#include "tests/support/TestSupport.h"
#include "tools/loader/PluginModule.h"

namespace {

using test_support::noise;

std::uint32_t arg(const void* p) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p)); }
std::uint32_t arg(std::int32_t i) { return static_cast<std::uint32_t>(i); }
std::uint32_t arg(float f) {
  std::uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}
template <typename Function>
const void* address(Function* function) {
  return reinterpret_cast<const void*>(function);
}

// Every call into one plug-in instance goes through the shim at one offset.
class MisalignedHost {
 public:
  explicit MisalignedHost(int offset) : offset_(offset) {}

  AEffect* create(PluginModule::EntryPoint entry) const {
    return reinterpret_cast<AEffect*>(
        static_cast<std::uintptr_t>(call(address(entry), {arg(address(test_support::quietHost))})));
  }
  VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) const {
    return static_cast<std::int32_t>(
        call(address(effect->dispatcher),
             {arg(effect), arg(opcode), arg(index), arg(static_cast<std::int32_t>(value)), arg(ptr), arg(opt)}));
  }
  void setParameter(AEffect* effect, VstInt32 index, float value) const {
    call(address(effect->setParameter), {arg(effect), arg(index), arg(value)});
  }
  void processReplacing(AEffect* effect, float* in, float* out, VstInt32 n) const {
    call(address(effect->processReplacing), {arg(effect), arg(&in), arg(&out), arg(n)});
  }
  void processAccumulating(AEffect* effect, float* in, float* out, VstInt32 n) const {
    call(address(effect->process), {arg(effect), arg(&in), arg(&out), arg(n)});
  }

 private:
  std::uint32_t call(const void* function, std::initializer_list<std::uint32_t> args) const {
    const std::vector<std::uint32_t> list(args);
    return callWithMisalignedStack(function, list.data(), static_cast<int>(list.size()), offset_);
  }

  int offset_;
};

// What one instance produced.
struct InstanceRun {
  std::vector<float> replaced;
  std::vector<float> accumulated;
  std::vector<unsigned char> saved;
};

// One instance's life at one offset: created, opened, a state with a
// response long enough for the batch kernels restored, blocks of many
// lengths processed both ways around a parameter change, its state saved,
// closed.
InstanceRun runAt(const PluginModule& library, int offset) {
  const MisalignedHost host(offset);
  InstanceRun run;
  AEffect* effect = host.create(library.entry());
  if (effect == nullptr) {
    ADD_FAILURE() << "offset " << offset << ": the entry point answered no effect";
    return run;
  }
  host.dispatch(effect, effOpen);
  host.dispatch(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
  host.dispatch(effect, effSetBlockSize, 0, 2048);
  host.dispatch(effect, effMainsChanged, 0, 1);

  auto chunk = std::make_unique<StateChunk>();
  std::strcpy(chunk->impulsePath, "/tmp/response.wav");
  const float parameters[kParameterCount] = {0.5f, 0.6f, 0.7f, 0.0f, 0.0f};
  std::memcpy(chunk->parameterValues, parameters, sizeof parameters);
  const auto response = noise(3001, 31);
  std::memcpy(chunk->impulseSamples, response.data(), response.size() * sizeof(float));
  chunk->impulseLoaded = 1;
  EXPECT_EQ(host.dispatch(effect, effSetChunk, 1, kStateChunkSize, chunk.get()), kStateChunkSize)
      << "offset " << offset;

  const int blocks[] = {512, 3, 1000, 64, 7, 2048, 1, 333};
  int total = 0;
  for (int n : blocks) {
    total += n;
  }
  auto input = noise(static_cast<std::size_t>(total), 32);
  run.replaced.assign(input.size(), 0.0f);
  run.accumulated = noise(input.size(), 33);
  int position = 0;
  for (int b = 0; b < 8; ++b) {
    if (b == 4) {
      host.setParameter(effect, 2, 0.25f);
    }
    host.processReplacing(effect, input.data() + position, run.replaced.data() + position, blocks[b]);
    position += blocks[b];
  }
  position = 0;
  for (int n : blocks) {
    host.processAccumulating(effect, input.data() + position, run.accumulated.data() + position, n);
    position += n;
  }

  void* data = nullptr;
  const VstIntPtr size = host.dispatch(effect, effGetChunk, 1, 0, &data);
  EXPECT_EQ(size, kStateChunkSize) << "offset " << offset;
  if (data != nullptr && size > 0) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    run.saved.assign(bytes, bytes + size);
  }
  host.dispatch(effect, effMainsChanged, 0, 0);
  host.dispatch(effect, effClose);
  return run;
}

TEST(MisalignedStack, TheShimCallsWithTheStackPointerAsked) {
  for (int offset : {0, 4, 8, 12}) {
    const std::uint32_t atEntry = callWithMisalignedStack(address(stackPointerAtEntry), nullptr, 0, offset);
    EXPECT_EQ((atEntry + 4u) % 16u, (16u - static_cast<std::uint32_t>(offset)) % 16u) << "offset " << offset;
  }
}

TEST(MisalignedStack, EveryCallbackWorksAndAnswersAsWhenAligned) {
  const PluginModule library(test_support::nativePath(ULMAR_PLUGIN_PATH));
  ASSERT_TRUE(library.loaded()) << library.error();
  ASSERT_NE(library.entry(), nullptr);

  // The plug-in makes the same choice from the same processor.
  detectCpuFeatures();
  std::printf("FIR kernel tier: %s, chosen by the plug-in\n", firKernelTierName(detectedFirKernelTier()));

  const InstanceRun aligned = runAt(library, 0);
  ASSERT_FALSE(aligned.saved.empty());
  // The response reached the audio: the output is neither silent nor the
  // dry input alone.
  const auto input = noise(aligned.replaced.size(), 32);
  EXPECT_NE(aligned.replaced, input);
  EXPECT_NE(aligned.replaced, std::vector<float>(input.size(), 0.0f));

  for (int offset : {4, 8, 12}) {
    const InstanceRun misaligned = runAt(library, offset);
    EXPECT_EQ(std::memcmp(misaligned.replaced.data(), aligned.replaced.data(), aligned.replaced.size() * sizeof(float)),
              0)
        << "processReplacing, offset " << offset;
    EXPECT_EQ(std::memcmp(misaligned.accumulated.data(), aligned.accumulated.data(),
                          aligned.accumulated.size() * sizeof(float)),
              0)
        << "process, offset " << offset;
    EXPECT_EQ(misaligned.saved, aligned.saved) << "saved state, offset " << offset;
  }
}

}  // namespace
