#include "shell/deep_view.h"

#include <algorithm>

#include "engine/deep/deep_calculate.h"
#include "engine/deep/deep_coordinates.h"
#include "model/language.h"
#include "model/long_coordinates.h"
#include "picture/deep_overlay.h"
#include "shell/menu_texts.h"

namespace ork {

using deep::TBigFloat;

bool LongView(const TParameter& key) { return key.Deep != 0 || HasLongCoordinates(key); }

void ApplyLongClick(int mode, TParameter& key, double a, double d, double ga, double gd,
                    int boxHeight) {
  // The view's precision with room for the zoom this click may add.
  const long bits = deep::PrecisionBits(key) + 32;
  deep::TLongView v = deep::ReadLongView(key, bits);
  const TBigFloat u = v.bry / TBigFloat(std::max(1, key.OutputHeight), bits);
  switch (mode) {
    case 1:
      deep::SetLong(key.vsxLong, key.vsx, v.vsx + u * a);
      deep::SetLong(key.vsyLong, key.vsy, v.vsy - u * d);
      break;
    case 4:
      key.pox = (v.vsx + u * a).ToDouble();
      key.poy = (v.vsy - u * d).ToDouble();
      break;
    case 3:
      deep::SetLong(key.CCxLong, key.CCx, v.vsx + u * a);
      deep::SetLong(key.CCyLong, key.CCy, v.vsy - u * d);
      key.pox = key.CCx;
      key.poy = key.CCy;
      break;
    case 2:
      if (boxHeight >= 4) {
        deep::SetLong(key.bryLong, key.bry, u * static_cast<double>(boxHeight), true);
        key.brx = key.bry * key.OutputWidth / key.OutputHeight;
      }
      deep::SetLong(key.vsxLong, key.vsx, v.vsx + u * ga);
      deep::SetLong(key.vsyLong, key.vsy, v.vsy - u * gd);
      break;
    default:
      return;
  }
  key.vsp = key.vsx;
  key.vst = key.vsy;
}

void LongCPointOffset(const TParameter& key, double& dx, double& dy) {
  LongPixelOffset(key, key.CCxLong, key.CCx, key.CCyLong, key.CCy, dx, dy);
}

std::string DeepStatusText(const TParameter& key) {
  if (key.OutputHeight <= 0) return "";
  if (deep::DeepComputes(key))
    return Tr(menu_texts::kStatusDeep) + std::to_string(deep::DeepBits(key)) +
           Tr(menu_texts::kStatusDeepBits);
  if (key.Deep != 0 && !deep::DeepFormula(key.GameNo))
    return "   " + deep::DeepFormulaMessage(key.GameNo);
  if (key.Deep == 0 && deep::PastDoubleLimit(key)) return Tr(menu_texts::kStatusPastDoubleLimit);
  return "";
}

}  // namespace ork
