// The anti-aliased drawing layer on cairo, with pango laying out the text.
// The graphics object draws on the image surface the device handle names
// (the offscreen's bitmap); lines run through pixel centres with square
// ends, so both end pixels are covered as the Windows layer covers them.
// Fonts come from one pango font map shared by the editors that are open
// and released when the last of them stops.
#include <fontconfig/fontconfig.h>
#include <glib.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <string>

#include "editor/SmoothRenderer.h"
#include "toolkit/linux/FaceStandIns.h"

struct SmoothNativeBrush {
  uint32_t argb;
};
struct SmoothNativePen {
  uint32_t argb;
  float width;
};
struct SmoothNativeGraphics {
  cairo_t* cr;
};
struct SmoothNativeFontFamily {
  std::string face;
};
struct SmoothNativeFont {
  std::string face;
  float pixels;
  bool bold;
};
struct SmoothNativeFormat {
  SmoothAlignment align;
};

namespace {

// Wide characters the text is cut to, as on Windows (the terminator aside).
constexpr glong kTextCapacity = 259;

// The program's 8-bit text as UTF-8: taken as it is when it is valid
// UTF-8 (file names on this platform), otherwise read as Latin-1.
std::string utf8Text(const char* text) {
  if (!text) return {};
  if (g_utf8_validate(text, -1, nullptr)) {
    const char* end = g_utf8_offset_to_pointer(text, std::min<glong>(g_utf8_strlen(text, -1), kTextCapacity));
    return std::string(text, end);
  }
  gchar* converted = g_convert(text, static_cast<gssize>(strnlen(text, kTextCapacity)), "UTF-8", "ISO-8859-1", nullptr,
                               nullptr, nullptr);
  std::string result = converted ? converted : "";
  g_free(converted);
  return result;
}

void setSource(cairo_t* cr, uint32_t argb) {
  cairo_set_source_rgba(cr, ((argb >> 16) & 0xFFu) / 255.0, ((argb >> 8) & 0xFFu) / 255.0, (argb & 0xFFu) / 255.0,
                        (argb >> 24) / 255.0);
}

template <typename Native>
SmoothStatus made(Native* object, Native** out) {
  *out = object;
  return kSmoothOk;
}

template <typename Native>
SmoothStatus none(Native** out, SmoothStatus status) {
  *out = nullptr;
  return status;
}

template <typename Native>
SmoothStatus release(Native* object) {
  if (!object) return kSmoothInvalidParameter;
  delete object;
  return kSmoothOk;
}

class CairoSmoothRenderer final : public SmoothRenderer {
 public:
  // Editors start and end their sessions with their effects, on whichever
  // threads the host creates and deletes instances: the count and the map
  // change under a lock.
  SmoothStatus startup(uintptr_t* token) override {
    const std::lock_guard<std::mutex> lock(sessionLock_);
    if (users_ == 0) {
      // Fontconfig is set up here, before the font map's own thread would
      // do it beside the face lookups of this thread.
      FcInit();
      fontMap_ = pango_cairo_font_map_new();
    }
    if (!fontMap_) {
      *token = 0;
      return kSmoothGenericError;
    }
    ++users_;
    *token = ++lastToken_;
    return kSmoothOk;
  }
  void shutdown(uintptr_t token) override {
    EndSignal* ending = nullptr;
    {
      const std::lock_guard<std::mutex> lock(sessionLock_);
      if (token == 0 || users_ == 0) return;
      if (--users_ > 0) return;
      // The map's fonts and their cairo faces go now, with the editor that
      // used them last. Its worker thread may still be sorting fonts for a
      // lookup, holding the map and fontconfig's caches: the map ends when
      // that job does, which is waited for (a few milliseconds at most, and
      // only when an editor closes right after drawing), so that nothing of
      // it outlives the editor.
      ending = new EndSignal;
      g_object_weak_ref(G_OBJECT(fontMap_), markEnded, ending);
      pango_fc_font_map_shutdown(PANGO_FC_FONT_MAP(fontMap_));
      g_object_unref(fontMap_);
      fontMap_ = nullptr;
    }
    // Waited for without the lock: editors opening on other threads meanwhile
    // start a map of their own.
    for (int waited = 0; !ending->ended.load() && waited < kFontMapEndWait; ++waited) usleep(1000);
    ending->drop();
  }

  SmoothStatus createSolidFill(uint32_t argb, SmoothNativeBrush** brush) override {
    return made(new SmoothNativeBrush{argb}, brush);
  }
  SmoothStatus deleteBrush(SmoothNativeBrush* brush) override { return release(brush); }

  SmoothStatus createPen(uint32_t argb, float width, SmoothUnit unit, SmoothNativePen** pen) override {
    // Without a transformation a world unit is a pixel.
    if (!(width >= 0.0f) || (unit != SmoothUnit::kWorld && unit != SmoothUnit::kPixel)) {
      return none(pen, kSmoothInvalidParameter);
    }
    return made(new SmoothNativePen{argb, width}, pen);
  }
  SmoothStatus deletePen(SmoothNativePen* pen) override { return release(pen); }

  // The device context is not needed: the device handle is the surface.
  SmoothStatus createGraphics(void*, void* deviceHandle, SmoothNativeGraphics** graphics) override {
    if (!deviceHandle) return none(graphics, kSmoothInvalidParameter);
    if (users_ == 0) return none(graphics, kSmoothNotInitialized);
    cairo_t* cr = cairo_create(static_cast<cairo_surface_t*>(deviceHandle));
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
      cairo_destroy(cr);
      return none(graphics, kSmoothGenericError);
    }
    return made(new SmoothNativeGraphics{cr}, graphics);
  }
  SmoothStatus deleteGraphics(SmoothNativeGraphics* graphics) override {
    if (!graphics) return kSmoothInvalidParameter;
    cairo_surface_flush(cairo_get_target(graphics->cr));
    cairo_destroy(graphics->cr);
    delete graphics;
    return kSmoothOk;
  }

  SmoothStatus createFontFamily(const char* name, SmoothNativeFontFamily** family) override {
    if (!name || !*name) return none(family, kSmoothInvalidParameter);
    std::string face = installedFace(name);
    if (face.empty()) return none(family, kSmoothFontFamilyNotFound);
    return made(new SmoothNativeFontFamily{std::move(face)}, family);
  }
  SmoothStatus deleteFontFamily(SmoothNativeFontFamily* family) override { return release(family); }

  SmoothStatus createFont(const SmoothNativeFontFamily* family, float emSize, int32_t style, SmoothUnit unit,
                          SmoothNativeFont** font) override {
    if (!family || !(emSize > 0.0f) || (unit != SmoothUnit::kWorld && unit != SmoothUnit::kPixel)) {
      return none(font, kSmoothInvalidParameter);
    }
    return made(new SmoothNativeFont{family->face, emSize, (style & kSmoothFontBold) != 0}, font);
  }
  SmoothStatus deleteFont(SmoothNativeFont* font) override { return release(font); }

  SmoothStatus createStringFormat(int32_t, int32_t, SmoothNativeFormat** format) override {
    return made(new SmoothNativeFormat{SmoothAlignment::kNear}, format);
  }
  SmoothStatus deleteStringFormat(SmoothNativeFormat* format) override { return release(format); }
  SmoothStatus setStringFormatAlign(SmoothNativeFormat* format, SmoothAlignment align) override {
    if (!format || align < SmoothAlignment::kNear || align > SmoothAlignment::kFar) return kSmoothInvalidParameter;
    format->align = align;
    return kSmoothOk;
  }

  SmoothStatus setInterpolationMode(SmoothNativeGraphics* graphics, SmoothInterpolation) override {
    if (!graphics) return kSmoothInvalidParameter;
    return kSmoothOk;
  }
  SmoothStatus setSmoothingMode(SmoothNativeGraphics* graphics, SmoothSmoothing) override {
    if (!graphics) return kSmoothInvalidParameter;
    cairo_set_antialias(graphics->cr, CAIRO_ANTIALIAS_GOOD);
    return kSmoothOk;
  }
  SmoothStatus setTextRenderingHint(SmoothNativeGraphics* graphics, SmoothTextHint) override {
    if (!graphics) return kSmoothInvalidParameter;
    return kSmoothOk;
  }

  SmoothStatus drawLine(SmoothNativeGraphics* graphics, const SmoothNativePen* pen, int32_t x1, int32_t y1, int32_t x2,
                        int32_t y2) override {
    if (!graphics || !pen) return kSmoothInvalidParameter;
    cairo_t* cr = graphics->cr;
    cairo_save(cr);
    setSource(cr, pen->argb);
    cairo_set_line_width(cr, pen->width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    cairo_move_to(cr, x1 + 0.5, y1 + 0.5);
    cairo_line_to(cr, x2 + 0.5, y2 + 0.5);
    cairo_stroke(cr);
    cairo_restore(cr);
    return cairoStatus(cr);
  }

  SmoothStatus fillRectangle(SmoothNativeGraphics* graphics, const SmoothNativeBrush* brush, int32_t x, int32_t y,
                             int32_t width, int32_t height) override {
    if (!graphics || !brush || width < 0 || height < 0) return kSmoothInvalidParameter;
    cairo_t* cr = graphics->cr;
    cairo_save(cr);
    setSource(cr, brush->argb);
    cairo_rectangle(cr, x, y, width, height);
    cairo_fill(cr);
    cairo_restore(cr);
    return cairoStatus(cr);
  }

  // Wraps at word boundaries within the layout's width (inside a word
  // where one does not fit) and cuts at its bottom edge.
  SmoothStatus drawString(SmoothNativeGraphics* graphics, const char* text, const SmoothNativeFont* font,
                          const SmoothRect& layout, const SmoothNativeFormat* format,
                          const SmoothNativeBrush* brush) override {
    if (!graphics || !text || !font || !brush) return kSmoothInvalidParameter;
    if (!fontMap_) return kSmoothNotInitialized;
    cairo_t* cr = graphics->cr;
    PangoContext* context = pango_font_map_create_context(fontMap_);
    pango_cairo_update_context(cr, context);
    PangoLayout* lines = pango_layout_new(context);
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, font->face.c_str());
    pango_font_description_set_weight(description, font->bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_absolute_size(description, font->pixels * PANGO_SCALE);
    pango_layout_set_font_description(lines, description);
    pango_font_description_free(description);
    if (layout.width > 0.0f) {
      pango_layout_set_width(lines, static_cast<int>(layout.width * PANGO_SCALE));
      pango_layout_set_wrap(lines, PANGO_WRAP_WORD_CHAR);
    }
    const SmoothAlignment align = format ? format->align : SmoothAlignment::kNear;
    pango_layout_set_alignment(lines, align == SmoothAlignment::kCenter ? PANGO_ALIGN_CENTER
                                      : align == SmoothAlignment::kFar  ? PANGO_ALIGN_RIGHT
                                                                        : PANGO_ALIGN_LEFT);
    const std::string utf8 = utf8Text(text);
    pango_layout_set_text(lines, utf8.c_str(), static_cast<int>(utf8.size()));

    cairo_save(cr);
    if (layout.width > 0.0f && layout.height > 0.0f) {
      cairo_rectangle(cr, layout.x, layout.y, layout.width, layout.height);
      cairo_clip(cr);
    }
    setSource(cr, brush->argb);
    cairo_move_to(cr, layout.x, layout.y);
    pango_cairo_show_layout(cr, lines);
    cairo_restore(cr);
    g_object_unref(lines);
    g_object_unref(context);
    return cairoStatus(cr);
  }

 private:
  static SmoothStatus cairoStatus(cairo_t* cr) {
    return cairo_status(cr) == CAIRO_STATUS_SUCCESS ? kSmoothOk : kSmoothGenericError;
  }

  // Shared by the waiting thread and the map's end, which may come after
  // the wait gave up: whichever lets go last deletes it.
  struct EndSignal {
    std::atomic<bool> ended{false};
    std::atomic<int> holders{2};
    void drop() {
      if (holders.fetch_sub(1) == 1) delete this;
    }
  };

  static void markEnded(gpointer signal, GObject*) {
    auto* ending = static_cast<EndSignal*>(signal);
    ending->ended.store(true);
    ending->drop();
  }

  // Milliseconds a closing editor waits at most for the font map to end.
  static constexpr int kFontMapEndWait = 2000;

  // Started editors, and the font map they share. GUI thread only.
  int32_t users_ = 0;
  std::mutex sessionLock_;
  uintptr_t lastToken_ = 0;
  PangoFontMap* fontMap_ = nullptr;
};

}  // namespace

SmoothRenderer& platformSmoothRenderer() {
  static CairoSmoothRenderer renderer;
  return renderer;
}
