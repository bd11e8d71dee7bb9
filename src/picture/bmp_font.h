// Bitmap fonts: a picture holding every glyph on a background of the key
// colour (248, 0, 248), and a glyph table naming each character's rectangle
// in that picture. Drawing copies glyph pixels straight into a pixmap (no
// blending), so printed texts become part of the picture itself.
//
// Glyph table file (".xywh", same directory and base name as the picture):
// one header line ending with byte 10 (its content is not used), then 1024
// little-endian signed 32-bit integers: x, y, w, h of character code 0,
// then of code 1, ... up to 255, in pixels with the origin at the top left
// of the font picture.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "engine/pixmap.h"

namespace ork {

// One glyph: a rectangle of the font picture (a view, not a copy).
struct TGlyph {
  const TPixmap* picture = nullptr;
  int x = 0, y = 0, w = 0, h = 0;
  bool Exists() const { return picture != nullptr; }
};

class TBMPFont {
 public:
  // Loads the font picture at `path` (a native path; BMP, PNG or JPEG by
  // content) and its glyph table. An empty path gives a font without
  // glyphs; so does a missing or damaged picture or table (no message).
  // Rectangles that do not lie within the picture, or have no area, give
  // no glyph and count as 0 x 0. Never returns null.
  static std::unique_ptr<TBMPFont> Create(const std::string& path);
  // Releases the font and its glyphs and sets the variable to null.
  static void Release(std::unique_ptr<TBMPFont>& font);

  // The pixmap Draw writes into; not owned, must outlive the drawing.
  void SetOutputPixmap(TPixmap* pixmap) { OutputPixmap = pixmap; }

  // Draws the text (ISO-8859-1 bytes) left to right from (x, y), the top
  // edge of every glyph at y. Characters without a glyph are skipped and do
  // not advance. Pixels outside the output pixmap are dropped. Returns 0.
  int Draw(int x, int y, const std::string& text);

  // Sum over the characters of w + xspace.
  int Width(const std::string& text) const;
  // The height of the tallest glyph of the text, plus yspace (0 for an
  // empty text).
  int Height(const std::string& text) const;

  // Copies the glyph's pixels whose alpha is above 0 to the output pixmap
  // with the glyph's top-left corner at (x, y), dropping what lies outside.
  void PaintPixmap(const TGlyph& glyph, int x, int y);

  // 1 when 0 <= x <= width - 1 and 0 <= y <= height - 1, else 0.
  static int InRect(int x, int y, int width, int height);

  bool HasGlyphs() const { return picture_ != nullptr; }

  TPixmap* OutputPixmap = nullptr;
  std::array<TGlyph, 256> Pixmap{};
  std::array<int, 256> x{}, y{}, w{}, h{};
  int xspace = 0;
  int yspace = 0;

 private:
  TPixmapPtr picture_;  // the font picture the glyphs look into
};

// The key colour of font pictures, transparent after loading.
inline constexpr uint32_t kFontKeyColor = 0xF800F8u;  // red 248, green 0, blue 248

// "dir/Arial12.bmp" -> "dir/Arial12.xywh" (".xywh" appended when the path
// has no extension).
std::string GlyphTablePath(const std::string& picturePath);

}  // namespace ork
