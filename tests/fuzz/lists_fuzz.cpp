// Feeds arbitrary bytes to every parameter list syntax as the keyframe's
// list texts, and to the check-box editing of the interpolation and text
// output lists.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "model/list_syntax.h"
#include "model/parameter.h"

using ork::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(ork::fuzz::Bytes(data, size));
  ork::fuzz::TFuzzHost host(size ? data[0] : 0);
  ork::TParameter key;
  key.SelectPictureL = key.farbtabL = key.ColShiftL = key.factL = text;
  key.Grid = key.LinesColor = key.LinesThick = key.GridSizes = text;
  key.InterpolationList = key.TextOutputList = text;

  ork::ParseVariantInts(text);
  for (int k = -1; k <= 4; ++k) ork::SelectColorVariant(key, k);
  ork::RebuildColorLists(key);
  ork::RotateColorLists(key);
  ork::SelectColorVariant(key, size % 4);

  ork::ResetLineStyles(key);
  ork::ParseLineStyles(key);
  std::array<int, ork::TParameter::kLineKinds> flags{};
  std::string lines = text;
  ork::NormalizeLineList(lines, key.CLinesThick, flags);
  std::string again = lines;
  ork::NormalizeLineList(again, key.CLinesThick, flags);
  Check(again == lines);  // a normalised list stays as it is
  ork::ParseGridSizes(text);

  ork::ParseInterpolationList(key, host);
  ork::ParseTextOutputList(key);
  for (const char* name : {"HeightY", "CycleTest", "Param3", "KeyNr"}) {
    std::string list = ork::InterpolationCheckBox(text, name, '+', true, true);
    list = ork::InterpolationListRemove(ork::InterpolationListAdd(list, name, '*'), name);
    ork::TextOutputListRemove(ork::TextOutputListAdd(text, name), name);
  }
  ork::ParsePosition(text, 0, 999);
  ork::ParsePosition(text, 10, -5);
  return 0;
}
