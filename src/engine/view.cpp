#include "engine/view.h"

#include <cmath>

namespace ork {

TViewMapping::TViewMapping(const TParameter& k)
    : brx(k.bry * k.OutputWidth / k.OutputHeight),
      dx(brx / k.OutputWidth),
      dy(k.bry / k.OutputHeight),
      x0(k.vsx - brx / 2),
      x0b(k.vsp - brx / 2),
      y0(k.vsy + k.bry / 2),
      y0b(k.vst + k.bry / 2),
      vsx(k.vsx),
      vsy(k.vsy),
      turned(k.Degree != 0),
      c(std::cos(k.Degree * M_PI / 180)),
      s(std::sin(k.Degree * M_PI / 180)) {}

}  // namespace ork
