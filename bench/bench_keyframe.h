// The keyframe the picture benchmarks compute: the Mandelbrot set (formula
// 1000) at a given size, centre and picture height, colour table 4.
#pragma once

#include "model/parameter.h"

inline ork::TParameter BenchKeyframe(int width, int height, double centreX, double heightY) {
  ork::TParameter k;
  k.OutputWidth = width;
  k.OutputHeight = height;
  k.GameNo = 1000;
  k.vsx = k.vsp = centreX;
  k.vsy = k.vst = 0;
  k.bry = heightY;
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
