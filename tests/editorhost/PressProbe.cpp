#include "tests/editorhost/PressProbe.h"

#include "host/AudioEffect.h"
#include "toolkit/drawing/CDrawContext.h"
#include "toolkit/views/CFrame.h"

PressProbe::PressProbe(const CRect& rect, AudioEffect* effect, int32_t tag) : CView(rect), effect_(effect), tag_(tag) {}

void PressProbe::draw(CDrawContext* context) {
  context->setFillColor(CColor{40, 40, 120, 255});
  context->drawRect(size, 1);
  CView::draw(context);
}

void PressProbe::mouse(CDrawContext* context, CPoint&, int32_t buttons) {
  CFrame* frame = getFrame();
  frame->beginEdit(tag_);
  effect_->setParameter(tag_, static_cast<float>(buttons) / 64.0f);
  while (context->getMouseButtons() & kLButton) frame->doIdle();
  frame->endEdit(tag_);
  setDirty(true);
}
