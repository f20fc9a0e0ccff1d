#include "tests/editor/RecordingRenderer.h"

#include <stdexcept>

namespace editor_test {

namespace {

uintptr_t id(const void* handle) { return reinterpret_cast<uintptr_t>(handle); }

}  // namespace

RecordingRenderer::RecordingRenderer() : previous_(setSmoothRenderer(this)) {}

RecordingRenderer::~RecordingRenderer() { setSmoothRenderer(previous_); }

void RecordingRenderer::clearDrawing() {
  lines.clear();
  fills.clear();
  texts.clear();
  order.clear();
}

const RecordingRenderer::Object& RecordingRenderer::object(const void* handle) const {
  auto found = objects.find(id(handle));
  if (found == objects.end()) throw std::out_of_range("no such object");
  return found->second;
}

RecordingRenderer::Object* RecordingRenderer::live(const void* handle, const char* kind) {
  auto found = objects.find(id(handle));
  if (found == objects.end() || found->second.deleted || found->second.kind != kind) return nullptr;
  return &found->second;
}

SmoothStatus RecordingRenderer::setField(const void* handle, const char* kind, int32_t Object::*field, int32_t value) {
  Object* o = live(handle, kind);
  if (!o) return kSmoothInvalidParameter;
  o->*field = value;
  return kSmoothOk;
}

template <typename Native>
SmoothStatus RecordingRenderer::make(const std::string& operation, Object made, Native** handle) {
  *handle = nullptr;
  if (auto f = failing.find(operation); f != failing.end()) return f->second;
  const uintptr_t h = nextHandle_;
  nextHandle_ += 0x10;
  objects[h] = made;
  created.push_back(h);
  *handle = reinterpret_cast<Native*>(h);
  return kSmoothOk;
}

SmoothStatus RecordingRenderer::remove(const void* handle, const char* kind) {
  Object* o = live(handle, kind);
  if (!o) return kSmoothInvalidParameter;
  o->deleted = true;
  deletedInOrder.push_back(id(handle));
  return kSmoothOk;
}

SmoothStatus RecordingRenderer::startup(uintptr_t* token) {
  *token = 0;
  if (auto f = failing.find("startup"); f != failing.end()) return f->second;
  *token = 0x51 + startedTokens.size();
  startedTokens.push_back(*token);
  return kSmoothOk;
}

void RecordingRenderer::shutdown(uintptr_t token) { shutdownTokens.push_back(token); }

SmoothStatus RecordingRenderer::createSolidFill(uint32_t argb, SmoothNativeBrush** brush) {
  Object o;
  o.kind = "brush";
  o.argb = argb;
  return make("createSolidFill", o, brush);
}
SmoothStatus RecordingRenderer::deleteBrush(SmoothNativeBrush* brush) { return remove(brush, "brush"); }

SmoothStatus RecordingRenderer::createPen(uint32_t argb, float width, SmoothUnit unit, SmoothNativePen** pen) {
  Object o;
  o.kind = "pen";
  o.argb = argb;
  o.width = width;
  o.unit = unit;
  return make("createPen", o, pen);
}
SmoothStatus RecordingRenderer::deletePen(SmoothNativePen* pen) { return remove(pen, "pen"); }

SmoothStatus RecordingRenderer::createGraphics(void* deviceContext, void* deviceHandle,
                                               SmoothNativeGraphics** graphics) {
  Object o;
  o.kind = "graphics";
  o.deviceContext = deviceContext;
  o.deviceHandle = deviceHandle;
  return make("createGraphics", o, graphics);
}
SmoothStatus RecordingRenderer::deleteGraphics(SmoothNativeGraphics* graphics) { return remove(graphics, "graphics"); }

SmoothStatus RecordingRenderer::createFontFamily(const char* name, SmoothNativeFontFamily** family) {
  Object o;
  o.kind = "family";
  o.name = name ? name : "";
  return make("createFontFamily", o, family);
}
SmoothStatus RecordingRenderer::deleteFontFamily(SmoothNativeFontFamily* family) { return remove(family, "family"); }

SmoothStatus RecordingRenderer::createFont(const SmoothNativeFontFamily* family, float emSize, int32_t style,
                                           SmoothUnit unit, SmoothNativeFont** font) {
  *font = nullptr;
  if (!live(family, "family")) return kSmoothInvalidParameter;
  Object o;
  o.kind = "font";
  o.family = id(family);
  o.emSize = emSize;
  o.style = style;
  o.unit = unit;
  return make("createFont", o, font);
}
SmoothStatus RecordingRenderer::deleteFont(SmoothNativeFont* font) { return remove(font, "font"); }

SmoothStatus RecordingRenderer::createStringFormat(int32_t flags, int32_t language, SmoothNativeFormat** format) {
  if (flags != 0 || language != 0) return kSmoothInvalidParameter;
  Object o;
  o.kind = "format";
  return make("createStringFormat", o, format);
}
SmoothStatus RecordingRenderer::deleteStringFormat(SmoothNativeFormat* format) { return remove(format, "format"); }

SmoothStatus RecordingRenderer::setStringFormatAlign(SmoothNativeFormat* format, SmoothAlignment align) {
  return setField(format, "format", &Object::align, static_cast<int32_t>(align));
}

SmoothStatus RecordingRenderer::setInterpolationMode(SmoothNativeGraphics* graphics, SmoothInterpolation mode) {
  return setField(graphics, "graphics", &Object::interpolation, static_cast<int32_t>(mode));
}
SmoothStatus RecordingRenderer::setSmoothingMode(SmoothNativeGraphics* graphics, SmoothSmoothing mode) {
  return setField(graphics, "graphics", &Object::smoothing, static_cast<int32_t>(mode));
}
SmoothStatus RecordingRenderer::setTextRenderingHint(SmoothNativeGraphics* graphics, SmoothTextHint hint) {
  return setField(graphics, "graphics", &Object::textHint, static_cast<int32_t>(hint));
}

SmoothStatus RecordingRenderer::drawLine(SmoothNativeGraphics* graphics, const SmoothNativePen* pen, int32_t x1,
                                         int32_t y1, int32_t x2, int32_t y2) {
  if (auto f = failing.find("drawLine"); f != failing.end()) return f->second;
  Object* g = live(graphics, "graphics");
  Object* p = live(pen, "pen");
  if (!g || !p) return kSmoothInvalidParameter;
  lines.push_back(Line{x1, y1, x2, y2, p->argb, p->width});
  order.push_back("line");
  return kSmoothOk;
}

SmoothStatus RecordingRenderer::fillRectangle(SmoothNativeGraphics* graphics, const SmoothNativeBrush* brush, int32_t x,
                                              int32_t y, int32_t width, int32_t height) {
  Object* g = live(graphics, "graphics");
  Object* b = live(brush, "brush");
  if (!g || !b) return kSmoothInvalidParameter;
  fills.push_back(Fill{x, y, width, height, b->argb});
  order.push_back("fill");
  return kSmoothOk;
}

SmoothStatus RecordingRenderer::drawString(SmoothNativeGraphics* graphics, const char* text,
                                           const SmoothNativeFont* font, const SmoothRect& layout,
                                           const SmoothNativeFormat* format, const SmoothNativeBrush* brush) {
  Object* g = live(graphics, "graphics");
  Object* f = live(font, "font");
  Object* b = live(brush, "brush");
  Object* s = format ? live(format, "format") : nullptr;
  if (!g || !f || !b || (format && !s)) return kSmoothInvalidParameter;
  Object* family = live(reinterpret_cast<const void*>(f->family), "family");
  texts.push_back(Text{text, layout, b->argb, f->emSize, f->style, f->unit, family ? family->name : "",
                       s ? s->align : -1, g->textHint});
  order.push_back("text");
  return kSmoothOk;
}

}  // namespace editor_test
