#include "picture/bmp_font.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "picture/picture_files.h"
#include "picture/picture_files_save.h"

namespace ork {

namespace {

// Reads the header line and the 1024 integers; false when the file is
// missing or shorter than that.
bool ReadGlyphTable(const std::string& path, std::array<int32_t, 1024>& values) {
  FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return false;
  int c;
  while ((c = std::fgetc(in)) != EOF && c != 10) {
  }
  bool ok = c == 10;
  for (int32_t& v : values) {
    uint8_t b[4];
    if (!ok || std::fread(b, 1, 4, in) != 4) {
      ok = false;
      break;
    }
    v = static_cast<int32_t>(b[0] | (uint32_t{b[1]} << 8) | (uint32_t{b[2]} << 16) |
                             (uint32_t{b[3]} << 24));
  }
  std::fclose(in);
  return ok;
}

}  // namespace

std::string GlyphTablePath(const std::string& picturePath) {
  std::string base, extension;
  SplitExtension(picturePath, base, extension);
  if (base.size() == picturePath.size()) return picturePath + ".xywh";
  return base + ".xywh";
}

std::unique_ptr<TBMPFont> TBMPFont::Create(const std::string& path) {
  auto font = std::make_unique<TBMPFont>();
  if (path.empty()) return font;
  TPixmapPtr picture = LoadPicture(path);
  std::array<int32_t, 1024> table{};
  if (!picture || !ReadGlyphTable(GlyphTablePath(path), table)) return font;

  uint32_t* p = picture->Data();
  const size_t n = static_cast<size_t>(picture->Width()) * picture->Height();
  for (size_t i = 0; i < n; ++i) {
    if ((p[i] & 0xFFFFFFu) == kFontKeyColor) p[i] = kFontKeyColor;  // alpha 0
  }

  const int64_t pw = picture->Width(), ph = picture->Height();
  for (int c = 0; c < 256; ++c) {
    const int64_t gx = table[4 * c], gy = table[4 * c + 1], gw = table[4 * c + 2],
                  gh = table[4 * c + 3];
    if (gx < 0 || gy < 0 || gw <= 0 || gh <= 0 || gx + gw > pw || gy + gh > ph) continue;
    font->x[c] = static_cast<int>(gx);
    font->y[c] = static_cast<int>(gy);
    font->w[c] = static_cast<int>(gw);
    font->h[c] = static_cast<int>(gh);
    font->Pixmap[c] = TGlyph{picture.get(), font->x[c], font->y[c], font->w[c], font->h[c]};
  }
  font->picture_ = std::move(picture);
  return font;
}

void TBMPFont::Release(std::unique_ptr<TBMPFont>& font) { font.reset(); }

int TBMPFont::Draw(int px, int py, const std::string& text) {
  if (text.empty() || !OutputPixmap) return 0;
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (!Pixmap[c].Exists()) continue;
    PaintPixmap(Pixmap[c], px, py);
    px += w[c] + xspace;
  }
  return 0;
}

int TBMPFont::Width(const std::string& text) const {
  int sum = 0;
  for (char ch : text) sum += w[static_cast<unsigned char>(ch)] + xspace;
  return sum;
}

int TBMPFont::Height(const std::string& text) const {
  if (text.empty()) return 0;
  int tallest = 0;
  for (char ch : text) {
    const int gh = h[static_cast<unsigned char>(ch)];
    if (gh > tallest) tallest = gh;
  }
  return tallest + yspace;
}

void TBMPFont::PaintPixmap(const TGlyph& glyph, int px, int py) {
  if (!glyph.Exists() || !OutputPixmap) return;
  TPixmap& out = *OutputPixmap;
  // The part of the glyph that lands inside the output; the rest is dropped.
  const int64_t i0 = px < 0 ? -int64_t{px} : 0, j0 = py < 0 ? -int64_t{py} : 0;
  const int64_t i1 = std::min<int64_t>(glyph.w, int64_t{out.Width()} - px);
  const int64_t j1 = std::min<int64_t>(glyph.h, int64_t{out.Height()} - py);
  for (int64_t j = j0; j < j1; ++j) {
    const uint32_t* src = glyph.picture->Row(static_cast<int>(glyph.y + j)) + glyph.x;
    uint32_t* dst = out.Row(static_cast<int>(py + j));
    for (int64_t i = i0; i < i1; ++i) {
      if (src[i] >> 24) dst[px + i] = src[i];
    }
  }
}

int TBMPFont::InRect(int px, int py, int width, int height) {
  return px >= 0 && px <= width - 1 && py >= 0 && py <= height - 1 ? 1 : 0;
}

}  // namespace ork
