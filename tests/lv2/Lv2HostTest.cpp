// The LV2 bundle driven through lilv as a host drives it, against the VST
// library loaded through its entry point: the same state, port values and
// input give the same samples, bit for bit, at block sizes that change from
// call to call; a state saved through lilv (and written out as the host's
// session text) restores into a new instance; a bad state changes nothing;
// port values win over a restored state's parameters.
#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "effect/StateChunk.h"
#include "tests/support/TestSupport.h"
#include "tools/loader/PluginModule.h"

namespace {

constexpr double kRate = 48000.0;
constexpr const char* kStateKey = ULMAR_LV2_URI "#state";
const char* const kSymbols[kParameterCount] = {"mix", "out_gain", "fir_length", "bypass", "right_switch"};

// The host's URI table.
class UridTable {
 public:
  UridTable() {
    map_.handle = this;
    map_.map = [](LV2_URID_Map_Handle h, const char* uri) { return static_cast<UridTable*>(h)->id(uri); };
    unmap_.handle = this;
    unmap_.unmap = [](LV2_URID_Unmap_Handle h, LV2_URID id) {
      auto& uris = static_cast<UridTable*>(h)->uris_;
      return id >= 1 && id <= uris.size() ? uris[id - 1].c_str() : nullptr;
    };
  }
  LV2_URID id(const char* uri) {
    auto [it, added] = ids_.emplace(uri, static_cast<LV2_URID>(uris_.size() + 1));
    if (added) uris_.push_back(uri);
    return it->second;
  }
  LV2_URID_Map map_{};
  LV2_URID_Unmap unmap_{};

 private:
  std::map<std::string, LV2_URID> ids_;
  std::vector<std::string> uris_;
};

// A state block as the VST build's chunk holds it.
std::vector<unsigned char> stateBlock(const float (&parameters)[kParameterCount], std::uint32_t seed) {
  StateChunk chunk{};
  std::strcpy(chunk.impulsePath, "/sessions/hall.wav");
  std::memcpy(chunk.parameterValues, parameters, sizeof(parameters));
  const std::vector<float> response = test_support::noise(3000, seed);
  for (std::size_t i = 0; i < response.size(); ++i) {
    chunk.impulseSamples[i] = response[i] / static_cast<float>(1 + i / 64);
  }
  chunk.impulseLoaded = 1;
  std::vector<unsigned char> bytes(sizeof(chunk));
  std::memcpy(bytes.data(), &chunk, sizeof(chunk));
  return bytes;
}

// The control port values a host saves with a state.
struct PortValues {
  LV2_URID floatType;
  float values[kParameterCount];
};

// The VST build, loaded through its entry point.
class VstInstance {
 public:
  explicit VstInstance(const PluginModule& module) {
    effect_ = module.entry()(test_support::quietHost);
    if (effect_ != nullptr) dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
  }
  ~VstInstance() {
    if (effect_ != nullptr) dispatch(effClose);
  }
  bool valid() const { return effect_ != nullptr; }
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0) {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
  }
  void setChunk(std::vector<unsigned char> block) {
    dispatch(effSetChunk, 0, static_cast<VstIntPtr>(block.size()), block.data());
  }
  std::vector<unsigned char> chunk() {
    void* data = nullptr;
    const auto size = dispatch(effGetChunk, 0, 0, &data);
    const auto* bytes = static_cast<unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
  }
  void setParameter(int index, float value) { effect_->setParameter(effect_, index, value); }
  void process(float* in, float* out, int n) { effect_->processReplacing(effect_, &in, &out, n); }

 private:
  AEffect* effect_ = nullptr;
};

class Lv2HostTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    world_ = lilv_world_new();
    lilv_world_load_specifications(world_);
    LilvNode* bundle = lilv_new_file_uri(world_, nullptr, ULMAR_LV2_BUNDLE "/");
    lilv_world_load_bundle(world_, bundle);
    lilv_node_free(bundle);
    LilvNode* uri = lilv_new_uri(world_, ULMAR_LV2_URI);
    plugin_ = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world_), uri);
    lilv_node_free(uri);
    vst_ = std::make_unique<PluginModule>(ULMAR_PLUGIN_PATH);
  }
  static void TearDownTestSuite() {
    vst_.reset();
    lilv_world_free(world_);
  }

  // One LV2 instance with its ports connected to the test's buffers.
  struct Lv2Instance {
    LilvInstance* instance = nullptr;
    float controls[kParameterCount] = {0.5f, 0.5f, 0.5f, 0.0f, 0.0f};
    float latency = -1.0f;
    std::vector<float> in, out;
    ~Lv2Instance() {
      if (instance != nullptr) lilv_instance_free(instance);
    }
    const LV2_State_Interface* state() const {
      return static_cast<const LV2_State_Interface*>(lilv_instance_get_extension_data(instance, LV2_STATE__interface));
    }
    void run(const float* input, float* output, std::uint32_t n) {
      in.assign(input, input + n);
      out.assign(n, 12345.0f);
      lilv_instance_connect_port(instance, 5, in.data());
      lilv_instance_connect_port(instance, 6, out.data());
      lilv_instance_run(instance, n);
      std::memcpy(output, out.data(), sizeof(float) * n);
    }
  };

  std::unique_ptr<Lv2Instance> instantiate() {
    auto lv2 = std::make_unique<Lv2Instance>();
    lv2->instance = lilv_plugin_instantiate(plugin_, kRate, features_);
    if (lv2->instance != nullptr) {
      for (std::uint32_t i = 0; i < kParameterCount; ++i) {
        lilv_instance_connect_port(lv2->instance, i, &lv2->controls[i]);
      }
      lilv_instance_connect_port(lv2->instance, 7, &lv2->latency);
      lilv_instance_activate(lv2->instance);
    }
    return lv2;
  }

  // The state interface called directly with one property.
  LV2_State_Status restore(Lv2Instance& lv2, const std::vector<unsigned char>& block, LV2_URID type) {
    struct Property {
      LV2_URID key;
      const std::vector<unsigned char>* block;
      LV2_URID type;
    } property{urids_.id(kStateKey), &block, type};
    const auto retrieve = [](LV2_State_Handle h, uint32_t key, size_t* size, uint32_t* valueType,
                             uint32_t* flags) -> const void* {
      const auto* p = static_cast<const Property*>(h);
      if (key != p->key) return nullptr;
      *size = p->block->size();
      *valueType = p->type;
      *flags = LV2_STATE_IS_POD;
      return p->block->data();
    };
    return lv2.state()->restore(lilv_instance_get_handle(lv2.instance), retrieve, &property, 0, features_);
  }

  std::vector<unsigned char> save(Lv2Instance& lv2) {
    struct Stored {
      LV2_URID key, type;
      std::vector<unsigned char> block;
    } stored{urids_.id(kStateKey), urids_.id(LV2_ATOM__Chunk), {}};
    const auto store = [](LV2_State_Handle h, uint32_t key, const void* value, size_t size, uint32_t type, uint32_t) {
      auto* s = static_cast<Stored*>(h);
      if (key != s->key || type != s->type) return LV2_STATE_ERR_BAD_TYPE;
      const auto* bytes = static_cast<const unsigned char*>(value);
      s->block.assign(bytes, bytes + size);
      return LV2_STATE_SUCCESS;
    };
    EXPECT_EQ(LV2_STATE_SUCCESS,
              lv2.state()->save(lilv_instance_get_handle(lv2.instance), store, &stored, 0, features_));
    return stored.block;
  }

  // Runs both builds through the same input in blocks of changing sizes,
  // a parameter change and a bypassed stretch on the way; every output
  // sample must have the same bits.
  void expectSameOutput(Lv2Instance& lv2, VstInstance& vst, std::uint32_t seed) {
    static const int kSizes[] = {1, 7, 64, 3, 256, 1000, 5, 4096, 13, 2, 511, 4, 333};
    const std::vector<float> input = test_support::noise(16384, seed);
    std::vector<float> a(input.size()), b(input.size());
    std::size_t at = 0;
    for (int round = 0; at < input.size(); ++round) {
      const int n = std::min<int>(kSizes[round % std::size(kSizes)], static_cast<int>(input.size() - at));
      if (round == 5 || round == 9) {
        // The bypass on for rounds 5 to 8, the gain changed at 5.
        const float bypass = round == 5 ? 1.0f : 0.0f;
        lv2.controls[3] = bypass;
        vst.setParameter(3, bypass);
        if (round == 5) {
          lv2.controls[1] = 0.8f;
          vst.setParameter(1, 0.8f);
        }
      }
      lv2.run(input.data() + at, a.data() + at, static_cast<std::uint32_t>(n));
      // The VST build processes in place, as the LV2 build's copy does.
      std::memcpy(b.data() + at, input.data() + at, sizeof(float) * static_cast<std::size_t>(n));
      vst.process(b.data() + at, b.data() + at, n);
      at += static_cast<std::size_t>(n);
    }
    ASSERT_EQ(0, std::memcmp(a.data(), b.data(), sizeof(float) * a.size())) << "outputs differ";
    // Not a copy of the input: the response was applied.
    EXPECT_NE(0, std::memcmp(a.data(), input.data(), sizeof(float) * 64));
    EXPECT_EQ(lv2.latency, 0.0f);
  }

  static LilvWorld* world_;
  static const LilvPlugin* plugin_;
  static std::unique_ptr<PluginModule> vst_;
  UridTable urids_;
  LV2_Feature mapFeature_{LV2_URID__map, &urids_.map_};
  LV2_Feature unmapFeature_{LV2_URID__unmap, &urids_.unmap_};
  const LV2_Feature* features_[3] = {&mapFeature_, &unmapFeature_, nullptr};
};

LilvWorld* Lv2HostTest::world_ = nullptr;
const LilvPlugin* Lv2HostTest::plugin_ = nullptr;
std::unique_ptr<PluginModule> Lv2HostTest::vst_;

TEST_F(Lv2HostTest, SoundAndStateMatchTheVstBuild) {
  ASSERT_NE(plugin_, nullptr);
  ASSERT_TRUE(vst_->loaded()) << vst_->error();
  auto first = instantiate();
  ASSERT_NE(first->instance, nullptr);

  // No response yet: the output is the input.
  const std::vector<float> dry = test_support::noise(300, 1);
  std::vector<float> out(dry.size());
  first->run(dry.data(), out.data(), static_cast<std::uint32_t>(dry.size()));
  EXPECT_EQ(0, std::memcmp(dry.data(), out.data(), sizeof(float) * dry.size()));

  const float parameters[kParameterCount] = {0.7f, 0.62f, 0.25f, 0.0f, 1.0f};
  const std::vector<unsigned char> block = stateBlock(parameters, 7);
  ASSERT_EQ(LV2_STATE_SUCCESS, restore(*first, block, urids_.id(LV2_ATOM__Chunk)));
  std::memcpy(first->controls, parameters, sizeof(parameters));
  VstInstance vst(*vst_);
  ASSERT_TRUE(vst.valid());
  vst.setChunk(block);
  expectSameOutput(*first, vst, 2);

  // Saved through lilv, written out as a session's text and read back.
  const auto portValue = [](const char* symbol, void* data, uint32_t* size, uint32_t* type) -> const void* {
    auto* ports = static_cast<PortValues*>(data);
    for (int i = 0; i < kParameterCount; ++i) {
      if (std::strcmp(symbol, kSymbols[i]) == 0) {
        *size = sizeof(float);
        *type = ports->floatType;
        return &ports->values[i];
      }
    }
    return nullptr;
  };
  PortValues ports{urids_.id(LV2_ATOM__Float), {}};
  std::memcpy(ports.values, first->controls, sizeof(ports.values));
  LilvState* saved = lilv_state_new_from_instance(plugin_, first->instance, &urids_.map_, nullptr, nullptr, nullptr,
                                                  nullptr, portValue, &ports, 0, features_);
  ASSERT_NE(saved, nullptr);
  char* text = lilv_state_to_string(world_, &urids_.map_, &urids_.unmap_, saved, "urn:ulmar:test", nullptr);
  lilv_state_free(saved);
  LilvState* read = lilv_state_new_from_string(world_, &urids_.map_, text);
  lilv_free(text);
  ASSERT_NE(read, nullptr);

  const std::vector<unsigned char> vstChunk = vst.chunk();

  auto second = instantiate();
  ASSERT_NE(second->instance, nullptr);
  const auto setPort = [](const char* symbol, void* data, const void* value, uint32_t size, uint32_t) {
    auto* controls = static_cast<float*>(data);
    for (int i = 0; i < kParameterCount; ++i) {
      if (std::strcmp(symbol, kSymbols[i]) == 0 && size == sizeof(float)) std::memcpy(&controls[i], value, size);
    }
  };
  lilv_state_restore(read, second->instance, setPort, second->controls, 0, features_);
  lilv_state_free(read);
  EXPECT_EQ(0, std::memcmp(second->controls, first->controls, sizeof(first->controls)));
  VstInstance vst2(*vst_);
  vst2.setChunk(vstChunk);
  expectSameOutput(*second, vst2, 3);
  // The block a save stores is the VST build's chunk, byte for byte.
  EXPECT_EQ(save(*second), vst2.chunk());

  // Bad blocks: one byte short, another type, no property. The instance
  // keeps its response and history: it goes on as the VST instance does.
  std::vector<unsigned char> shortBlock = stateBlock(parameters, 9);
  shortBlock.pop_back();
  EXPECT_NE(LV2_STATE_SUCCESS, restore(*second, shortBlock, urids_.id(LV2_ATOM__Chunk)));
  EXPECT_NE(LV2_STATE_SUCCESS, restore(*second, stateBlock(parameters, 9), urids_.id(LV2_ATOM__String)));
  const auto nothing = [](LV2_State_Handle, uint32_t, size_t*, uint32_t*, uint32_t*) -> const void* { return nullptr; };
  EXPECT_EQ(LV2_STATE_ERR_NO_PROPERTY,
            second->state()->restore(lilv_instance_get_handle(second->instance), nothing, nullptr, 0, features_));
  expectSameOutput(*second, vst2, 4);

  // A longer block is cut, as the VST build does; the ports' values win
  // over the block's parameters, also those that did not change (bypass).
  const float bypassed[kParameterCount] = {0.9f, 0.3f, 0.6f, 1.0f, 1.0f};
  std::vector<unsigned char> longBlock = stateBlock(bypassed, 11);
  longBlock.resize(longBlock.size() + 100, 0xEE);
  ASSERT_EQ(LV2_STATE_SUCCESS, restore(*second, longBlock, urids_.id(LV2_ATOM__Chunk)));
  vst2.setChunk(longBlock);
  const float controls[kParameterCount] = {0.4f, 0.7f, 0.1f, 0.0f, 0.0f};
  std::memcpy(second->controls, controls, sizeof(controls));
  for (int i = 0; i < kParameterCount; ++i) vst2.setParameter(i, controls[i]);
  expectSameOutput(*second, vst2, 5);
}

}  // namespace
