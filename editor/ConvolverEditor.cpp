#include "editor/ConvolverEditor.h"

#include <string>

#include "editor/ConvolverAccess.h"
#include "editor/EditorLayout.h"
#include "editor/ImpulseDisplay.h"
#include "editor/LinkArea.h"
#include "editor/SharedBitmaps.h"
#include "editor/ValueDisplay.h"
#include "host/AudioEffect.h"
#include "resources/EditorBitmaps.h"
#include "toolkit/controls/CAnimKnob.h"
#include "toolkit/controls/CKickButton.h"
#include "toolkit/controls/COnOffButton.h"
#include "toolkit/drawing/CBitmap.h"
#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/views/CFrame.h"
#include "wavefile/ImpulseFileChooser.h"

namespace layout = editor_layout;

namespace {

// Room for any parameter's display text.
constexpr int kDisplayTextSize = 64;

}  // namespace

ConvolverEditor::ConvolverEditor(AudioEffect* effect, std::unique_ptr<ConvolverAccess> access)
    : AEffGUIEditor(effect), access_(std::move(access)) {
  setKnobMode(0);
  provideEditorBitmaps();
  createSharedBitmaps();
  CBitmap* back = sharedBitmap(EditorBitmap::kBack);
  rect.top = 0;
  rect.left = 0;
  rect.right = static_cast<VstInt16>(back->getWidth());
  rect.bottom = static_cast<VstInt16>(back->getHeight());
}

// The bitmaps stay for the process; the frame went with close, and the
// file chooser with close or here.
ConvolverEditor::~ConvolverEditor() = default;

bool ConvolverEditor::open(void* parentWindow) {
  AEffGUIEditor::open(parentWindow);
  frame = new CFrame(CRect(0, 0, rect.right, rect.bottom), parentWindow, this);
  frame->setBackground(sharedBitmap(EditorBitmap::kBack));

  CBitmap* knobStrip = sharedBitmap(EditorBitmap::kKnob);
  const int32_t knobTags[3] = {layout::kMixTag, layout::kGainTag, layout::kLengthTag};
  for (int k = 0; k < 3; ++k) {
    const int32_t tag = knobTags[k];
    auto* knob =
        new CAnimKnob(layout::kKnobs[k], this, tag, layout::kKnobImages, layout::kKnobSide, knobStrip, CPoint(0, 0));
    knob->setValue(access_->parameter(tag));
    frame->addView(knob);
    controls_[tag] = knob;
    auto* readOut = new ValueDisplay(layout::kReadOuts[k], frame->getBackground());
    valueDisplays_[tag] = readOut;
    frame->addView(readOut);
    updateValueDisplay(tag);
  }

  frame->addView(new CKickButton(layout::kLoadButton, this, layout::kLoadTag, layout::kLoadImageHeight,
                                 sharedBitmap(EditorBitmap::kLoad), CPoint(0, 0)));

  const struct {
    int32_t tag;
    CRect size;
    EditorBitmap images;
  } switches[2] = {{layout::kLeftTag, layout::kLeftButton, EditorBitmap::kLeft},
                   {layout::kRightTag, layout::kRightButton, EditorBitmap::kRight}};
  for (const auto& s : switches) {
    auto* button = new COnOffButton(s.size, this, s.tag, sharedBitmap(s.images), kOnOffTellAfterIdle);
    frame->addView(button);
    button->setValue(access_->parameter(s.tag));
    controls_[s.tag] = button;
    valueDisplays_[s.tag] = nullptr;
  }

  impulseDisplay_ = new ImpulseDisplay(layout::kImpulsePanel, this);
  frame->addView(impulseDisplay_);
  frame->addView(new LinkArea(layout::kLinkArea));
  return true;
}

void ConvolverEditor::close() {
  fileChooser_.reset();
  // The frame releases every view in it; the pointers to them are not
  // used again until the next open sets them anew.
  if (frame) frame->release();
  frame = nullptr;
  for (int32_t i = 0; i < kControlCount; ++i) {
    controls_[i] = nullptr;
    valueDisplays_[i] = nullptr;
  }
  impulseDisplay_ = nullptr;
  AEffGUIEditor::close();
}

void ConvolverEditor::valueChanged(CDrawContext* context, CControl* control) {
  // A control whose loop outlived the editor's close acts on nothing.
  if (!frame) return;
  const int32_t tag = control->getTag();
  const float value = control->getValue();
  if (tag >= 0 && tag < kControlCount) {
    access_->setParameter(tag, value);
    // L and R show one state; only the pressed one's parameter changes.
    if (tag == layout::kLeftTag && controls_[layout::kRightTag]) controls_[layout::kRightTag]->setValue(value);
    if (tag == layout::kRightTag && controls_[layout::kLeftTag]) controls_[layout::kLeftTag]->setValue(value);
    updateValueDisplay(tag);
  }
  if (tag == layout::kLengthTag) {
    updateValueDisplay(layout::kLengthTag);
    redrawImpulse(context);
  }
  if (tag == layout::kLoadTag && value == 0.0f) chooseImpulseResponse(context);
}

void ConvolverEditor::chooseImpulseResponse(CDrawContext* context) {
  if (!frame) return;
  if (!fileChooser_) fileChooser_ = makeFileChooser();
  if (fileChooser_->isModal()) {
    // A modal dialog opens once the button's gesture has returned: no
    // control's loop is on the stack while it runs.
    frame->post([this] { runFileChooser(nullptr); });
    return;
  }
  runFileChooser(context);
}

void ConvolverEditor::runFileChooser(CDrawContext* context) {
  if (!frame || !fileChooser_) return;
  const std::shared_ptr<FileChooser> chooser = fileChooser_;
  pressContext_ = context;
  chooseImpulseFile(*chooser, frame->getWindowHandle(), [this](const NativePath& path) { loadChosenFile(path); });
  pressContext_ = nullptr;
  showChooserNotice(context);
}

void ConvolverEditor::idle() {
  if (fileChooser_ && fileChooser_->isOpen()) {
    fileChooser_->poll();
    if (!fileChooser_->isOpen() && frame) {
      CDrawContext* context = frame->createFrameContext();
      showChooserNotice(context);
      if (context) context->release();
    }
  }
  AEffGUIEditor::idle();
}

void ConvolverEditor::loadChosenFile(const NativePath& path) {
  // A modal dialog and the error box of a failed load pump messages: the
  // host may have closed the editor or the effect meanwhile (the posted
  // call's guard keeps both), and the answer then goes nowhere.
  if (!frame || (getEffect() && getEffect()->isClosed())) return;
  // The answer of the load does not matter: a failure has told the user
  // and changed nothing, and the refresh shows the values either way.
  // The name goes on as the chooser gave it: a round trip through the
  // code page could name a different file.
  access_->loadImpulseResponse(path);
  if (!frame) return;
  if (pressContext_) {
    showLoadedResponse(pressContext_);
    return;
  }
  CDrawContext* context = frame->createFrameContext();
  showLoadedResponse(context);
  if (context) context->release();
}

void ConvolverEditor::showChooserNotice(CDrawContext* context) {
  if (!fileChooser_ || !impulseDisplay_) return;
  const std::string notice = fileChooser_->notice();
  if (impulseDisplay_->notice() == notice) return;
  impulseDisplay_->setNotice(notice);
  redrawImpulse(context);
}

const FileChooser* ConvolverEditor::openFileChooser() const {
  return fileChooser_ && fileChooser_->isOpen() ? fileChooser_.get() : nullptr;
}

void ConvolverEditor::showLoadedResponse(CDrawContext* context) {
  controls_[layout::kLengthTag]->setValue(access_->parameter(layout::kLengthTag));
  controls_[layout::kGainTag]->setValue(access_->parameter(layout::kGainTag));
  controls_[layout::kLengthTag]->setDirty(true);
  controls_[layout::kGainTag]->setDirty(true);
  redrawImpulse(context);
  updateValueDisplay(layout::kLengthTag);
  updateValueDisplay(layout::kGainTag);
  updateValueDisplay(layout::kMixTag);
}

void ConvolverEditor::updateControl(int32_t index, float value) {
  if (index < 0 || index >= kControlCount || !controls_[index]) return;
  CControl* control = controls_[index];
  if (value == control->getValue()) return;
  control->setValue(value);
  if (ValueDisplay* readOut = valueDisplays_[index]) {
    char text[kDisplayTextSize] = {};
    access_->parameterDisplay(index, text);
    readOut->setText(text);
    if (index == layout::kLengthTag && frame) {
      CDrawContext* context = frame->createFrameContext();
      redrawImpulse(context);
      if (context) context->release();
    }
  }
  control->setDirty(true);
}

void ConvolverEditor::updateValueDisplay(int32_t index) {
  if (index < 0 || index >= kControlCount || !valueDisplays_[index]) return;
  char text[kDisplayTextSize] = {};
  access_->parameterDisplay(index, text);
  valueDisplays_[index]->setText(text);
  valueDisplays_[index]->setDirty(true);
}

void ConvolverEditor::redrawImpulse(CDrawContext* context) {
  if (!context || !frame || !impulseDisplay_) return;
  if (CBitmap* background = frame->getBackground()) impulseDisplay_->drawImpulse(context, background);
}
