#include "picture/bmp_font_registry.h"

#include <array>
#include <memory>

#include "model/paths.h"

namespace ork {

namespace {

std::array<std::unique_ptr<TBMPFont>, kBMPFontCount>& Fonts() {
  static std::array<std::unique_ptr<TBMPFont>, kBMPFontCount> fonts;
  return fonts;
}

TBMPFont& EmptyFont() {
  static TBMPFont empty;
  return empty;
}

}  // namespace

std::string BMPFontPath(int index) {
  static const char* const kNames[kBMPFontCount] = {"BMPFont\\Arial12.bmp", "BMPFont\\Arial24.bmp",
                                                    "BMPFont\\Arial36.bmp"};
  if (index < 0) index = 0;
  if (index >= kBMPFontCount) index = kBMPFontCount - 1;
  return kNames[index];
}

int LoadBMPFonts() {
  int usable = 0;
  for (int i = 0; i < kBMPFontCount; ++i) {
    Fonts()[i] = TBMPFont::Create(NativePath(BMPFontPath(i)));
    if (Fonts()[i]->HasGlyphs()) ++usable;
  }
  return usable;
}

void ReleaseBMPFonts() {
  for (auto& font : Fonts()) TBMPFont::Release(font);
}

TBMPFont& BMPFont(int index) {
  if (index < 0) index = 0;
  if (index >= kBMPFontCount) index = kBMPFontCount - 1;
  TBMPFont* font = Fonts()[index].get();
  if (!font) return EmptyFont();
  return *font;
}

int FontIndexForHeight(int pictureHeight) {
  // Integer arithmetic gives the same n as Int(H / 360 * 24) without the
  // rounding of the real division.
  const long long n = static_cast<long long>(pictureHeight) * 24 / 360;
  if (n <= 18) return 0;
  if (n > 36) return 2;
  return 1;
}

}  // namespace ork
