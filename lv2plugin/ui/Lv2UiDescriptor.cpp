// The LV2 entry point of the UI library: the VST build's editor as an X11
// UI in the host's window. It reaches the DSP instance through the host's
// instance access, only through the table of functions the DSP library
// hands out as extension data (data access): the editor's library is
// linked here, the effect and engine are not.
#include <lv2/core/lv2.h>
#include <lv2/data-access/data-access.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/ui/ui.h>

#include <cstring>
#include <memory>

#include "editor/ConvolverEditor.h"
#include "lv2plugin/Lv2Uris.h"
#include "lv2plugin/ui/HostAccess.h"
#include "toolkit/views/CFrame.h"

namespace {

const void* findFeature(const LV2_Feature* const* features, const char* uri) {
  for (; features != nullptr && *features != nullptr; ++features) {
    if (std::strcmp((*features)->URI, uri) == 0) {
      return (*features)->data;
    }
  }
  return nullptr;
}

struct EditorUi {
  std::unique_ptr<ConvolverEditor> editor;
  HostAccess* access = nullptr;
};

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features) {
  void* parent = const_cast<void*>(findFeature(features, LV2_UI__parent));
  auto* instance = static_cast<LV2_Handle>(const_cast<void*>(findFeature(features, LV2_INSTANCE_ACCESS_URI)));
  const auto* dataAccess = static_cast<const LV2_Extension_Data_Feature*>(findFeature(features, LV2_DATA_ACCESS_URI));
  const auto* resize = static_cast<const LV2UI_Resize*>(findFeature(features, LV2_UI__resize));
  if (pluginUri == nullptr || std::strcmp(pluginUri, ULMAR_LV2_URI) != 0 || parent == nullptr || instance == nullptr ||
      dataAccess == nullptr || write == nullptr) {
    return nullptr;
  }
  const auto* table = static_cast<const EditorAccessTable*>(dataAccess->data_access(ULMAR_LV2_EDITOR_ACCESS_URI));
  if (table == nullptr) {
    return nullptr;
  }
  auto ui = std::make_unique<EditorUi>();
  auto access = std::make_unique<HostAccess>(*table, instance, write, controller);
  ui->access = access.get();
  ui->editor = std::make_unique<ConvolverEditor>(nullptr, std::move(access));
  ERect* rect = nullptr;
  if (!ui->editor->getRect(&rect) || !ui->editor->open(parent)) {
    return nullptr;
  }
  CFrame* frame = ui->editor->getFrame();
  if (frame == nullptr || frame->getWindowHandle() == nullptr) {
    ui->editor->close();
    return nullptr;
  }
  *widget = frame->getWindowHandle();
  if (resize != nullptr && rect != nullptr) {
    resize->ui_resize(resize->handle, rect->right - rect->left, rect->bottom - rect->top);
  }
  return ui.release();
}

void cleanup(LV2UI_Handle handle) {
  auto* ui = static_cast<EditorUi*>(handle);
  ui->editor->close();
  delete ui;
}

// A host's port value (automation, a preset, a restored session, or the
// editor's own write echoed) moves the control.
void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
  auto* ui = static_cast<EditorUi*>(handle);
  if (format != 0 || size != sizeof(float) || buffer == nullptr) {
    return;
  }
  float value = 0.0f;
  std::memcpy(&value, buffer, sizeof(value));
  if (ui->access->takePortValue(port, value)) {
    ui->editor->updateControl(static_cast<int32_t>(port), value);
  }
}

// The editor's idle pass reads its window's events and redraws.
int idle(LV2UI_Handle handle) {
  static_cast<EditorUi*>(handle)->editor->idle();
  return 0;
}

const LV2UI_Idle_Interface kIdleInterface = {idle};

const void* extensionData(const char* uri) {
  return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &kIdleInterface : nullptr;
}

const LV2UI_Descriptor kDescriptor = {ULMAR_LV2_UI_URI, instantiate, cleanup, portEvent, extensionData};

}  // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}
