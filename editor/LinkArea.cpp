#include "editor/LinkArea.h"

#include "editor/WebPage.h"
#include "toolkit/drawing/CDrawContext.h"

LinkArea::LinkArea(const CRect& viewSize) : CView(viewSize) {}

void LinkArea::mouse(CDrawContext* context, CPoint&, int32_t buttons) {
  if (buttons == -1) buttons = context ? context->getMouseButtons() : 0;
  // The left button alone: a right click or a click with a modifier key
  // does nothing.
  if (buttons != kLButton) return;
  webPageOpener()(kMakerWebPage);
}
