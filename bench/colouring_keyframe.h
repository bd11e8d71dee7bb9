// The keyframe of the colouring benchmarks: formula 1000 over the whole set
// at width x height, coding 1 on colour table 4 with 2048 colours.
#pragma once

#include "model/parameter.h"

inline ork::TParameter ColouringKeyframe(int width, int height) {
  ork::TParameter k;
  k.OutputWidth = width;
  k.OutputHeight = height;
  k.GameNo = 1000;
  k.vsx = k.vsp = -0.55;
  k.vsy = k.vst = 0;
  k.bry = 2.4;
  k.ianzmax = 200;
  k.zyctest = 1;
  k.Accurate = 0.0001;
  k.maxabs = 1.0e9;
  k.SelectPictureL = "1";
  k.farbtabL = "4";
  k.ColShiftL = "0";
  k.factL = "(30,0,1,2048)";
  return k;
}
