// The invisible area over the logo: a plain left click opens the maker's
// web page. It draws nothing, so the logo of the window picture shows.
#pragma once

#include "toolkit/views/CView.h"

class LinkArea : public CView {
 public:
  explicit LinkArea(const CRect& size);

  void mouse(CDrawContext* context, CPoint& where, int32_t buttons = -1) override;
};
