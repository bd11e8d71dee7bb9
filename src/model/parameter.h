// One keyframe: every number and text that describes one picture, plus the
// values derived from the list texts (colour variant, overlays, marks) that
// the engine, colouring, overlays and film code read directly.
#pragma once

#include <array>
#include <string>

namespace ork {

class TParameter {
 public:
  static constexpr int kVariants = 5;      // colour variants 0..3, element 4 spare
  static constexpr int kLineKinds = 10;    // overlay kinds, see CLinesColor
  static constexpr int kParamIndices = 51; // parameter numbers of ParameterSortNo

  int OutputWidth = 0;   // picture width in pixels, copied from the movie
  int OutputHeight = 0;  // picture height in pixels
  std::string FileNameKey;  // "PictNameOrNotice"; "Stop!..." marks a stop frame
  std::string User;
  int GameNo = 0;             // formula number
  double Seconds = 0;         // "SecondsFor+"
  double FixedImageSeconds = 0;
  int DoCalculate = 0;
  double FactorPerPict = 0;   // "FactorPerPictFor*"
  double Accurate = 0;        // cycle-test tolerance
  double vsx = 0, vsy = 0;    // picture centre in the plane
  double vsp = 0, vst = 0;    // second centre (start grid of orbit 2), kept = vsx/vsy
  double Param1 = 0, Param2 = 0;
  double Param3 = 0, Param4 = 0, Param5 = 0, Param6 = 0, Param7 = 0, Param8 = 0,
         Param9 = 0, Param10 = 0;
  std::string Param3to10;
  double brx = 0;  // plane width, always bry * OutputWidth / OutputHeight
  double bry = 0;  // plane height ("HeightY")
  double par = 0;  // coupling parameter ("ParamA")
  double CCx = 0, CCy = 0;    // constant c
  double maxabs = 1.0e9;      // escape bound on |x1|+|y1| (+|x2|+|y2|)
  int ianzmax = 0;            // iteration limit
  int zyctest = 0;            // cycle test depth
  int colz = 0, colzh = 0, colzv = 0;  // colours of the current variant
  double fact1 = 0, fact2 = 0, fact3 = 0, fact4 = 0;
  int farbtab = 0;
  int ColShift = 0;
  int SelectPicture = 0;
  int julia = 0;
  double Degree = 0;  // rotation in degrees
  std::string TextOutputList;
  std::string InterpolationList;
  std::string Filter;
  std::string Grid;        // "LinesAndGrid"
  std::string LinesColor;
  std::string LinesThick;  // "LinesThickness"
  std::string GridSizes;
  int KeyNr = 0;
  double brxfollow = 0, bryfollow = 0, vsxfollow = 0, vsyfollow = 0, Degreefollow = 0;
  std::array<int, kVariants> Cfarbtab{};
  std::array<int, kVariants> CColShift{};
  std::array<int, kVariants> CSelectPicture{};
  std::array<std::string, kVariants> Cfact1, Cfact2, Cfact3, Cfact4;
  std::array<int, kLineKinds> CLinesColor{};
  std::array<int, kLineKinds> CLinesThick{};
  std::array<int, kLineKinds> CGrid{};
  std::string factL;           // "ColFact"
  std::string farbtabL;        // "ColTabNo"
  std::string ColShiftL;       // "ColShift"
  std::string SelectPictureL;  // "SelectPict"
  // Deep computation ("DeepZoom", stored only when set): the picture is
  // computed as differences from one high-precision reference orbit, so
  // that it stays sharp far below the resolution of a double.
  int Deep = 0;
  // Coordinates of any precision ("MidPointXLong", "MidPointYLong",
  // "CxPointLong", "CyPointLong", "HeightYLong"): decimal texts, empty when
  // the double beside them says everything. When a text is set, the double
  // holds its value rounded (a HeightY below the double range as the
  // smallest normal double), so that code reading only doubles stays right
  // to double precision.
  std::string vsxLong, vsyLong;
  std::string CCxLong, CCyLong;
  std::string bryLong;
  double pox = 0, poy = 0;     // inspected point in the plane
  int Mpox = 0, Mpoy = 0;      // inspected point, pixel column and row
  std::array<int, kParamIndices> InterpP{};
  std::array<int, kParamIndices> InterpM{};
  std::array<int, kParamIndices> ParamText{};

  // An independent record: every field equal, arrays copied element by element.
  TParameter Copy() const { return *this; }
};

}  // namespace ork
