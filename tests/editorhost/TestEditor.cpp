#include "tests/editorhost/TestEditor.h"

#include "resources/ResourceIds.h"
#include "tests/editorhost/PressProbe.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CFrame.h"

using namespace test_editor;

TestEditor::TestEditor(AudioEffect* effect) : AEffGUIEditor(effect) {
  rect.left = static_cast<VstInt16>(kFrameSize.left);
  rect.top = static_cast<VstInt16>(kFrameSize.top);
  rect.right = static_cast<VstInt16>(kFrameSize.right);
  rect.bottom = static_cast<VstInt16>(kFrameSize.bottom);
}

bool TestEditor::open(void* parentWindow) {
  AEffGUIEditor::open(parentWindow);
  frame = new CFrame(kFrameSize, parentWindow, this);
  auto* background = new CBitmap(IDB_BACK);
  frame->setBackground(background);
  background->release();
  frame->addView(new PressProbe(kProbe, getEffect(), kProbeTag));
  return true;
}

void TestEditor::close() {
  if (frame) frame->release();
  frame = nullptr;
  AEffGUIEditor::close();
}
