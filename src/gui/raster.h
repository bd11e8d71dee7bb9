// Drawing into a plain ARGB buffer: what the scripted back end's canvases
// and the Qt back end's tests of them rely on. Every call clips to the
// buffer; the stored pixels are opaque (alpha forced to 255), as shown
// pictures are.
#pragma once

#include <cstdint>
#include <vector>

namespace ork {

struct TRaster {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // row-major, width per row

  void Resize(int w, int h, std::uint32_t argb);
  void Fill(std::uint32_t argb);
  // Both end points included; a thick line is drawn with a square brush of
  // side lineWidth centred on the ideal line.
  void Line(int x0, int y0, int x1, int y1, std::uint32_t argb, int lineWidth);
  // Copies a width x height picture with its top-left corner at (x, y).
  void Blit(int x, int y, const std::uint32_t* argb, int w, int h);
  std::uint32_t Get(int x, int y) const;
};

}  // namespace ork
