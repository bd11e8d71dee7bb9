// Renders the Latin-1 characters 32-255 of a TrueType font into the three
// bitmap fonts the program prints with (BMPFont/Arial12.bmp, Arial24.bmp,
// Arial36.bmp and their .xywh glyph tables). The number is the height of a
// capital letter in pixels. Every glyph is white with a dark outline, so a
// text reads on dark and on light pictures alike; pixels outside the
// outline are the key colour (248, 0, 248), transparent once loaded.
//
//   make_bmp_fonts [font.ttf] [output directory]
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/pixmap.h"
#include "picture/bmp_font.h"
#include "picture/picture_files.h"

namespace {

struct TRendered {
  int code = 0;
  bool exists = false;
  int advance = 0;           // pixels
  int left = 0, top = 0;     // bitmap offset from the pen position (top: above baseline)
  int width = 0, rows = 0;
  std::vector<uint8_t> coverage;  // rows * width, 0-255
};

bool RenderGlyph(FT_Face face, int code, TRendered& g) {
  g.code = code;
  FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(code));
  if (index == 0) return false;
  if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL)) return false;
  if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL)) return false;
  const FT_Bitmap& bm = face->glyph->bitmap;
  g.exists = true;
  g.advance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
  g.left = face->glyph->bitmap_left;
  g.top = face->glyph->bitmap_top;
  g.width = static_cast<int>(bm.width);
  g.rows = static_cast<int>(bm.rows);
  g.coverage.assign(static_cast<size_t>(g.width) * g.rows, 0);
  for (int j = 0; j < g.rows; ++j)
    for (int i = 0; i < g.width; ++i) g.coverage[j * g.width + i] = bm.buffer[j * bm.pitch + i];
  return true;
}

// The smallest size (in 1/64 pixel) at which a hinted "H" is `capHeight`
// rows high.
FT_F26Dot6 SizeForCapHeight(FT_Face face, int capHeight) {
  FT_F26Dot6 best = capHeight * 64 * 4 / 3;
  int bestError = 1 << 30;
  for (FT_F26Dot6 size = capHeight * 64; size <= capHeight * 64 * 2; size += 8) {
    FT_Set_Char_Size(face, 0, size, 72, 72);
    TRendered h;
    if (!RenderGlyph(face, 'H', h)) continue;
    int error = std::abs(h.rows - capHeight);
    if (error < bestError) {
      bestError = error;
      best = size;
    }
    if (error == 0) break;
  }
  return best;
}

double kRadius12 = 1.5, kRadius24 = 2.4, kRadius36 = 3.2;

struct TCell {
  int x = 0, y = 0, w = 0, h = 0;
};

bool MakeFont(FT_Face face, int capHeight, const std::string& outPath) {
  const FT_F26Dot6 size = SizeForCapHeight(face, capHeight);
  FT_Set_Char_Size(face, 0, size, 72, 72);
  // Outline radius in pixels: one pixel for small text, more for large.
  const double radius = capHeight <= 12 ? kRadius12 : capHeight <= 24 ? kRadius24 : kRadius36;
  const int r = static_cast<int>(std::ceil(radius));

  std::vector<TRendered> glyphs(256);
  int top = 0, bottom = 0;  // ink extent over all glyphs, relative to the baseline
  for (int c = 32; c < 256; ++c) {
    if (c >= 127 && c < 160) continue;  // control codes of ISO-8859-1
    if (!RenderGlyph(face, c, glyphs[c])) continue;
    if (glyphs[c].rows > 0) {
      top = std::max(top, glyphs[c].top);
      bottom = std::max(bottom, glyphs[c].rows - glyphs[c].top);
    }
  }
  const int cellHeight = top + bottom + 2 * r;
  const int baseline = r + top;

  // Cells left to right in rows of a fixed picture width, one key-colour
  // column between neighbours.
  const int pictureWidth = 16 * (capHeight + 2 * r) + 16;
  std::vector<TCell> cells(256);
  std::vector<int> pens(256, 0);
  int cx = 0, cy = 0;
  for (int c = 0; c < 256; ++c) {
    const TRendered& g = glyphs[c];
    if (!g.exists) continue;
    const int pen = std::max(r, r - g.left);
    int w = pen + g.advance;
    if (g.width > 0) w = std::max(w, pen + g.left + g.width + r);
    if (cx + w > pictureWidth) {
      cx = 0;
      cy += cellHeight + 1;
    }
    cells[c] = TCell{cx, cy, w, cellHeight};
    pens[c] = pen;
    cx += w + 1;
  }
  const int pictureHeight = cy + cellHeight;

  ork::TPixmap picture(pictureWidth, pictureHeight, 0xFF000000u | ork::kFontKeyColor);
  std::vector<float> cover, outline;
  for (int c = 0; c < 256; ++c) {
    const TRendered& g = glyphs[c];
    if (!g.exists || g.width == 0) continue;
    const TCell& cell = cells[c];
    // Coverage of the glyph placed in its cell (0..1).
    cover.assign(static_cast<size_t>(cell.w) * cell.h, 0.0f);
    const int ox = pens[c] + g.left, oy = baseline - g.top;
    for (int j = 0; j < g.rows; ++j)
      for (int i = 0; i < g.width; ++i) {
        const int x = ox + i, y = oy + j;
        if (x >= 0 && x < cell.w && y >= 0 && y < cell.h)
          cover[y * cell.w + x] = g.coverage[j * g.width + i] / 255.0f;
      }
    // The outline: coverage spread over a disc of the radius, soft at its rim.
    outline.assign(cover.size(), 0.0f);
    for (int y = 0; y < cell.h; ++y)
      for (int x = 0; x < cell.w; ++x) {
        float best = 0;
        for (int dy = -r; dy <= r; ++dy)
          for (int dx = -r; dx <= r; ++dx) {
            const int sx = x + dx, sy = y + dy;
            if (sx < 0 || sy < 0 || sx >= cell.w || sy >= cell.h) continue;
            const double fall = std::clamp(radius + 0.5 - std::hypot(dx, dy), 0.0, 1.0);
            best = std::max(best, static_cast<float>(cover[sy * cell.w + sx] * fall));
          }
        outline[y * cell.w + x] = best;
      }
    for (int y = 0; y < cell.h; ++y)
      for (int x = 0; x < cell.w; ++x) {
        const float a = cover[y * cell.w + x];
        if (a <= 0.0f && outline[y * cell.w + x] < 0.45f) continue;
        const auto v = static_cast<uint32_t>(std::lround(255.0 * a));
        picture.Set(cell.x + x, cell.y + y, 0xFF000000u | (v << 16) | (v << 8) | v);
      }
  }

  if (!ork::SaveBmp24(picture, outPath)) return false;

  const std::string tablePath = ork::GlyphTablePath(outPath);
  FILE* out = std::fopen(tablePath.c_str(), "wb");
  if (!out) return false;
  std::fprintf(out, "DejaVu Sans %d px capitals: x y w h of codes 0-255, int32 little-endian\n",
               capHeight);
  for (int c = 0; c < 256; ++c) {
    const int32_t v[4] = {cells[c].x, cells[c].y, cells[c].w, cells[c].h};
    for (int32_t value : v) {
      const auto u = static_cast<uint32_t>(value);
      const uint8_t b[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8),
                            static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 24)};
      std::fwrite(b, 1, 4, out);
    }
  }
  const bool ok = std::fflush(out) == 0 && !std::ferror(out);
  return std::fclose(out) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string fontPath =
      argc > 1 ? argv[1] : "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  const std::string outDir = argc > 2 ? argv[2] : "data/BMPFont";
  if (argc > 5) {
    kRadius12 = std::atof(argv[3]);
    kRadius24 = std::atof(argv[4]);
    kRadius36 = std::atof(argv[5]);
  }
  FT_Library library;
  if (FT_Init_FreeType(&library)) return 1;
  FT_Face face;
  if (FT_New_Face(library, fontPath.c_str(), 0, &face)) {
    std::fprintf(stderr, "cannot open font %s\n", fontPath.c_str());
    return 1;
  }
  int status = 0;
  for (int cap : {12, 24, 36}) {
    const std::string path = outDir + "/Arial" + std::to_string(cap) + ".bmp";
    if (!MakeFont(face, cap, path)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      status = 1;
    } else {
      std::printf("%s\n", path.c_str());
    }
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return status;
}
