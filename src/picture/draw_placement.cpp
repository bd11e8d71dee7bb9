#include "picture/draw_placement.h"

namespace ork {

TPixmapPtr ShownPicture(const TRender& render, int shownImage) {
  if (shownImage <= 1) return render.Image;
  if (shownImage == 2) return render.ImageD;
  if (shownImage == 4) return render.ImageV;
  return nullptr;
}

TPixmapPtr PlaceShownPicture(TRender& render, int shownImage, int panelWidth, int panelHeight,
                             int picturePosX, int picturePosY) {
  TPixmapPtr picture = ShownPicture(render, shownImage);
  if (!picture) return nullptr;
  if (picturePosX <= 9000) {
    render.PaintOffsetX = picturePosX;
    render.PaintOffsetY = picturePosY;
  } else {
    render.PaintOffsetX = panelWidth / 2 - picture->Width() / 2;
    render.PaintOffsetY = panelHeight / 2 - picture->Height() / 2;
  }
  return picture;
}

}  // namespace ork
