#include "picture/text_output.h"

#include <vector>

#include "model/list_syntax.h"
#include "model/number_format.h"
#include "model/process_state.h"
#include "model/text_util.h"
#include "picture/bmp_font_registry.h"

namespace ork {

namespace {

TPixmap* SelectedPicture(TRender& render) {
  const int shown = Composition().ShownImage;
  if (shown < 2) return render.Image.get();
  if (shown == 2) return render.ImageD.get();
  if (shown == 4) return render.ImageV.get();
  return nullptr;
}

std::string Field(const std::vector<std::string>& fields, size_t i) {
  return i < fields.size() ? fields[i] : std::string();
}

}  // namespace

bool TextOutputValue(const TParameter& key, const std::string& name, int decimals,
                     std::string& value) {
  struct TReal {
    const char* name;
    double TParameter::*field;
  };
  static const TReal kReals[] = {
      {"WidthX", &TParameter::brx},     {"HeightY", &TParameter::bry},
      {"MidPointX", &TParameter::vsx},  {"MidPointY", &TParameter::vsy},
      {"Degree", &TParameter::Degree},  {"CxPoint", &TParameter::CCx},
      {"CyPoint", &TParameter::CCy},    {"Param1", &TParameter::Param1},
      {"Param2", &TParameter::Param2},  {"ParamA", &TParameter::par},
      {"Accurate", &TParameter::Accurate}, {"Max_(X+Y)", &TParameter::maxabs}};
  struct TInt {
    const char* name;
    int TParameter::*field;
  };
  static const TInt kInts[] = {{"NoOfFormula", &TParameter::GameNo},
                               {"JuliaSet", &TParameter::julia},
                               {"Max_Iterat", &TParameter::ianzmax},
                               {"CycleTest", &TParameter::zyctest},
                               {"KeyNr", &TParameter::KeyNr}};
  for (const TReal& r : kReals) {
    if (name == r.name) {
      value = FormatNumber(key.*r.field, decimals);
      return true;
    }
  }
  for (const TInt& i : kInts) {
    if (name == i.name) {
      value = std::to_string(key.*i.field);
      return true;
    }
  }
  if (name == "PictNameOrNotice") {
    value = key.FileNameKey;
  } else if (name == "Param3to10") {
    value = key.Param3to10;
  } else if (name == "SelectPict") {
    value = std::to_string(key.CSelectPicture[0]);
  } else if (name == "ColTabNo") {
    value = std::to_string(key.Cfarbtab[0]);
  } else if (name == "ColShift") {
    value = std::to_string(key.CColShift[0]);
  } else if (name == "ColFact") {
    value = FormatNumber(TextToReal(key.Cfact1[0]), decimals);
  } else {
    return false;
  }
  return true;
}

void DrawTextOutput(TParameter* keyframe, TRender* render) {
  if (!keyframe || !render || keyframe->TextOutputList.empty()) return;
  TPixmap* picture = SelectedPicture(*render);
  if (!picture || picture->Empty()) return;
  const int shift = Composition().CompositionMode == 222 ? render->Width - 1 : 0;

  int x = 8, y = 4, decimals = 5;
  std::string fontChoice;
  for (const std::string& entry : SplitEnclosedEntries(keyframe->TextOutputList)) {
    if (Trim(entry).empty()) continue;
    std::string label, name;
    if (IsEnclosed(entry)) {
      const std::vector<std::string> fields = SplitFields(StripParens(entry), ',');
      const std::string fx = Field(fields, 0), fy = Field(fields, 1);
      if (TextToInt(fx) > 0) x = ParsePosition(fx, 0, picture->Width() - 1);
      if (TextToInt(fy) > 0) y = ParsePosition(fy, 0, picture->Height() - 1);
      label = Field(fields, 2);
      name = Trim(Field(fields, 3));
      const std::string dec = Trim(Field(fields, 4));
      if (!dec.empty()) decimals = TextToInt(dec);
      fontChoice = Trim(Field(fields, 5));
    } else {
      label = entry + "=";
      name = Trim(entry);
    }

    int fontIndex = FontIndexForHeight(picture->Height());
    if (fontChoice == "1") fontIndex = 0;
    if (fontChoice == "2") fontIndex = 1;
    if (fontChoice == "3") fontIndex = 2;
    TBMPFont& font = BMPFont(fontIndex);
    font.SetOutputPixmap(picture);
    const int lineHeight = font.Height("Y");

    std::string value;
    std::string text;
    if (TextOutputValue(*keyframe, name, decimals, value)) {
      text = label + value;
    } else {
      text = (label == name + "=" ? std::string() : label) + name;
    }
    font.Draw(x + shift, y, text);
    font.SetOutputPixmap(nullptr);  // the font must not keep a picture it does not own
    y += lineHeight;
  }
}

}  // namespace ork
