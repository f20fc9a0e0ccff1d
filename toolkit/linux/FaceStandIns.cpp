#include "toolkit/linux/FaceStandIns.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <map>
#include <mutex>

namespace {

// Metric-compatible faces first, then the nearest.
struct FaceStandIn {
  const char* face;
  const char* standIns[3];
};
constexpr FaceStandIn kStandIns[] = {
    {"Microsoft Sans Serif", {"Liberation Sans", "Arimo", "DejaVu Sans"}},
    {"Arial", {"Liberation Sans", "Arimo", "DejaVu Sans"}},
    {"Symbol", {"DejaVu Sans", nullptr, nullptr}},
};

bool faceInstalled(const char* face) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
  const bool found = fonts && fonts->nfont > 0;
  if (fonts) FcFontSetDestroy(fonts);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return found;
}

std::string lookUp(const char* name) {
  if (faceInstalled(name)) return name;
  for (const FaceStandIn& entry : kStandIns) {
    if (strcasecmp(entry.face, name) != 0) continue;
    for (const char* standIn : entry.standIns) {
      if (standIn && faceInstalled(standIn)) return standIn;
    }
    return "sans-serif";
  }
  return {};
}

}  // namespace

std::string installedFace(const char* face) {
  if (!face || !*face) return {};
  // Listing the fonts takes a while and their set does not change under a
  // running editor: each name is looked up once per process.
  static std::mutex lock;
  static std::map<std::string, std::string, std::less<>> known;
  const std::lock_guard<std::mutex> guard(lock);
  const auto found = known.find(face);
  if (found != known.end()) return found->second;
  return known.emplace(face, lookUp(face)).first->second;
}
