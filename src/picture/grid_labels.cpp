#include "picture/grid_labels.h"

#include "picture/bmp_font_registry.h"

namespace ork {

void DrawGridLabel(int font, TPixmap& picture, int x, int y, const std::string& text) {
  TBMPFont& bmp = BMPFont(font);
  bmp.SetOutputPixmap(&picture);
  bmp.Draw(x, y, text);
  bmp.SetOutputPixmap(nullptr);
}

}  // namespace ork
