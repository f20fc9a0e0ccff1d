// A plug-in instance created through the built library's exported entry
// point, driven only through its AEffect record, as a host does.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/TestSupport.h"
#include "tools/loader/PluginModule.h"

class PluginFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    library_ = std::make_unique<PluginModule>(test_support::nativePath(ULMAR_PLUGIN_PATH));
  }
  static void TearDownTestSuite() { library_.reset(); }

  void SetUp() override {
    ASSERT_TRUE(library_->loaded()) << "cannot load " << ULMAR_PLUGIN_PATH;
    test_support::recordedHostCalls().clear();
    auto entry = library_->entry();
    ASSERT_NE(entry, nullptr);
    effect_ = entry(test_support::recordingHost);
    ASSERT_NE(effect_, nullptr);
  }

  void TearDown() override {
    if (effect_ != nullptr) {
      dispatch(effClose);
    }
  }

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f) {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
  }

  std::string text(VstInt32 opcode, VstInt32 index = 0) {
    char buffer[256];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    buffer[255] = '\0';
    dispatch(opcode, index, 0, buffer);
    return buffer;
  }

  void setParameter(VstInt32 index, float value) { effect_->setParameter(effect_, index, value); }
  float getParameter(VstInt32 index) { return effect_->getParameter(effect_, index); }

  void processReplacing(float* in, float* out, VstInt32 n) { effect_->processReplacing(effect_, &in, &out, n); }
  void processAccumulating(float* in, float* out, VstInt32 n) { effect_->process(effect_, &in, &out, n); }

  static std::unique_ptr<PluginModule> library_;
  AEffect* effect_ = nullptr;
};

inline std::unique_ptr<PluginModule> PluginFixture::library_;
