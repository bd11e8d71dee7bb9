#include "windows/data_window_rows.h"

#include <array>
#include <cfloat>
#include <cmath>

#include "model/list_syntax.h"
#include "model/long_coordinates.h"
#include "model/number_format.h"
#include "picture/grid_state.h"

namespace ork {

namespace {

// clang-format off
constexpr std::array<TDataRow, kDataRows + 1> kRows = {{
  {"", false, false},
  {"NoOfFormula", false, false},
  {"PictNameOrNotice", false, false},
  {"WidthX", false, true},
  {"HeightY", true, true},
  {"MidPointX", true, true},
  {"MidPointY", true, true},
  {"Degree", true, true},
  {"JuliaSet", false, false},
  {"CxPoint", true, true},
  {"CyPoint", true, true},
  {"Param1", true, true},
  {"Param2", true, true},
  {"Param3to10", true, true},
  {"ParamA", true, true},
  {"Accurate", true, true},
  {"Max_(X+Y)", true, true},
  {"Max_Iterat", true, true},
  {"CycleTest", true, true},
  {"SelectPict", false, true},
  {"ColTabNo", true, true},
  {"ColShift", true, true},
  {"ColFact", false, true},
  {"TextOutputList", false, false},
  {"Filter", false, false},
  {"LinesAndGrid", false, false},
  {"LinesColor", false, false},
  {"LinesThickness", false, false},
  {"GridSizes", false, false},
  {"FixedImageSeconds", false, false},
  {"DoCalculate", false, false},
  {"SecondsFor+", false, false},
  {"FactorPerPictFor*", false, false},
  {"KeyNr", false, true},
  {"InterpolationList", false, false},
}};
// clang-format on

std::string Int(int value) { return std::to_string(value); }

// The coordinate as its field shows it: the long text while it is current.
std::string CoordinateText(const TParameter& p, const TLongCoordinate& c) {
  if (LongTextCurrent(p.*c.Text, p.*c.Value, c.Height)) return p.*c.Text;
  return RealText17(p.*c.Value);
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// True when a double cannot hold the number: more than 17 significant
// digits, or a magnitude outside the normal double range.
bool NeedsLongText(const std::string& text) {
  size_t end = text.find_first_of("eE");
  if (end == std::string::npos) end = text.size();
  std::string digits;
  for (size_t i = 0; i < end; ++i)
    if (text[i] >= '0' && text[i] <= '9') digits += text[i];
  const size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return false;  // zero
  const size_t last = digits.find_last_not_of('0');
  if (last - first + 1 > 17) return true;
  const double v = LongTextRounded(text, false);
  return !(std::fabs(v) >= DBL_MIN && std::fabs(v) <= DBL_MAX);
}

// Stores a typed coordinate: as long text when a double cannot hold it,
// else as the double alone.
void StoreCoordinate(TParameter& p, const TLongCoordinate& c, const std::string& text) {
  const std::string t = Trimmed(text);
  if (IsLongNumberText(t) && NeedsLongText(t)) {
    p.*c.Text = t;
    p.*c.Value = LongTextRounded(t, c.Height);
  } else {
    SetShortCoordinate(p, c.Value, TextToReal(text));
  }
}

}  // namespace

const TDataRow& DataRow(int row) {
  return (row >= 1 && row <= kDataRows) ? kRows[row] : kRows[0];
}

int DataRowOf(std::string_view key) {
  for (int row = 1; row <= kDataRows; ++row)
    if (key == kRows[row].key) return row;
  return 0;
}

std::string DataRowValue(const TParameter& p, int row) {
  switch (row) {
    case 1: return Int(p.GameNo);
    case 2: return p.FileNameKey;
    case 3: return RealText17(p.brx);
    case 4: return CoordinateText(p, *LongCoordinateOfParameter(4));
    case 5: return CoordinateText(p, *LongCoordinateOfParameter(5));
    case 6: return CoordinateText(p, *LongCoordinateOfParameter(6));
    case 7: return RealText17(p.Degree);
    case 8: return Int(p.julia);
    case 9: return CoordinateText(p, *LongCoordinateOfParameter(9));
    case 10: return CoordinateText(p, *LongCoordinateOfParameter(10));
    case 11: return RealText17(p.Param1);
    case 12: return RealText17(p.Param2);
    case 13: return p.Param3to10;
    case 14: return RealText17(p.par);
    case 15: return RealText17(p.Accurate);
    case 16: return RealText17(p.maxabs);
    case 17: return Int(p.ianzmax);
    case 18: return Int(p.zyctest);
    case 19: return p.SelectPictureL;
    case 20: return p.farbtabL;
    case 21: return p.ColShiftL;
    case 22: return p.factL;
    case 23: return p.TextOutputList;
    case 24: return p.Filter;
    case 25: return p.Grid;
    case 26: return p.LinesColor;
    case 27: return p.LinesThick;
    case 28: return p.GridSizes;
    case 29: return RealText17(p.FixedImageSeconds);
    case 30: return Int(p.DoCalculate);
    case 31: return RealText17(p.Seconds);
    case 32: return RealText17(p.FactorPerPict);
    case 33: return Int(p.KeyNr);
    case 34: return p.InterpolationList;
    default: return "";
  }
}

TStoreEffect StoreDataRow(TParameter& p, std::string_view keyName, const std::string& text,
                          const TStoreRules& rules) {
  TStoreEffect effect;
  const double real = TextToReal(text);
  const int integer = TextToInt(text);
  const int row = DataRowOf(keyName);
  // A plane side or coordinate left as shown keeps its value (storing its
  // 17-digit text would cut the digits of a long coordinate, or, for the
  // width, move the height by a rounding); what follows from it is redone.
  const bool asShown = (row == 3 || LongCoordinateOfParameter(row)) && text == DataRowValue(p, row);
  switch (row) {
    case 1: p.GameNo = integer; break;
    case 2: p.FileNameKey = text; break;
    case 3:
      if (!asShown) {
        p.brx = real;
        if (p.OutputWidth > 0)
          SetShortCoordinate(p, &TParameter::bry, p.brx * p.OutputHeight / p.OutputWidth);
      }
      effect.showHeight = true;
      GridState().GridSizesFixed = false;
      break;
    case 4:
      if (!asShown) StoreCoordinate(p, *LongCoordinateOfParameter(4), text);
      if (p.OutputHeight > 0) p.brx = p.bry * p.OutputWidth / p.OutputHeight;
      effect.showWidth = true;
      GridState().GridSizesFixed = false;
      break;
    case 5:
      if (!asShown) StoreCoordinate(p, *LongCoordinateOfParameter(5), text);
      p.vsp = p.vsx;
      break;
    case 6:
      if (!asShown) StoreCoordinate(p, *LongCoordinateOfParameter(6), text);
      p.vst = p.vsy;
      break;
    case 7: p.Degree = real; break;
    case 8: p.julia = (rules.clampJulia && integer > 1) ? 1 : integer; break;
    case 9: if (!asShown) StoreCoordinate(p, *LongCoordinateOfParameter(9), text); break;
    case 10: if (!asShown) StoreCoordinate(p, *LongCoordinateOfParameter(10), text); break;
    case 11: p.Param1 = real; break;
    case 12: p.Param2 = real; break;
    case 13: p.Param3to10 = text; break;
    case 14: p.par = real; break;
    case 15: p.Accurate = real; break;
    case 16: p.maxabs = real; break;
    case 17: p.ianzmax = integer; break;
    case 18: p.zyctest = (rules.clampCycleTest && integer > 64) ? 64 : integer; break;
    case 19: p.SelectPictureL = text; SelectColorVariant(p, 0); break;
    case 20: p.farbtabL = text; SelectColorVariant(p, 0); break;
    case 21: p.ColShiftL = text; SelectColorVariant(p, 0); break;
    case 22: p.factL = text; SelectColorVariant(p, 0); break;
    case 23: p.TextOutputList = text; break;
    case 24: p.Filter = text; break;
    case 25:
      p.Grid = text;
      if (!text.empty())
        NormalizeLineList(p.Grid, p.CLinesThick, p.CGrid);
      else
        effect.emptyLineFields = true;
      break;
    case 26: p.LinesColor = text; ParseLineStyles(p); break;
    case 27: p.LinesThick = text; ParseLineStyles(p); break;
    case 28: p.GridSizes = text; ParseGridSizes(text); break;
    case 29: p.FixedImageSeconds = real; break;
    case 30: p.DoCalculate = integer; break;
    case 31: p.Seconds = real; break;
    case 32: p.FactorPerPict = real; break;
    case 33: p.KeyNr = integer; break;
    case 34: p.InterpolationList = text; break;
    default: break;
  }
  return effect;
}

}  // namespace ork
