#include "model/list_syntax.h"

#include <algorithm>
#include <cstdint>

#include "model/movie.h"
#include "model/number_format.h"
#include "model/process_state.h"
#include "model/text_util.h"

namespace ork {

namespace {

TParameterListState g_lists;

void ResetListState() { g_lists = TParameterListState{}; }

std::string Join(const std::vector<std::string>& parts, char sep) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out.push_back(sep);
    out += parts[i];
  }
  return out;
}

// The first four ":"-entries of text (missing ones empty), trimmed.
std::array<std::string, 4> FourEntries(std::string_view text) {
  std::array<std::string, 4> out;
  for (size_t i = 0; i < 4; ++i) out[i] = Trim(FieldAt(text, ':', i));
  return out;
}

constexpr const char* kFactDefaults[4] = {"100.000", "0.0", "1.000", "0"};

int ColourValue(unsigned argb) { return static_cast<int32_t>(argb); }

struct TLineDefault {
  unsigned colour;
  int thickness;
};
constexpr TLineDefault kLineDefaults[TParameter::kLineKinds] = {
    {0x00808080u, 1}, {0xFF000000u, 1}, {0xFFFFFFFFu, 2}, {0xFFFFFFFFu, 1}, {0xFF000000u, 1},
    {0xFFFFFFFFu, 2}, {0xFF000000u, 3}, {0xFFFFFFFFu, 1}, {0xFFFFFFFFu, 1}, {0xFFFFFFFFu, 1}};

// Writes the non-blank ","-entries of text into values from index 0 on.
void ParseIntList(std::string_view text, std::array<int, TParameter::kLineKinds>& values) {
  size_t index = 0;
  size_t start = 0;
  while (index < values.size() && start <= text.size()) {
    size_t end = text.find(',', start);
    if (end == std::string_view::npos) end = text.size();
    std::string field = Trim(text.substr(start, end - start));
    if (!field.empty()) values[index++] = TextToInt(field);
    start = end + 1;
  }
}

// Normalises the factor texts of the four variants and returns the entry
// text of each (the shared first steps of rebuilding and rotating).
std::array<std::string, 4> NormalisedFactorEntries(TParameter& key) {
  std::array<std::string, 4> entries;
  for (int i = 0; i < 4; ++i) {
    std::string* f[3] = {&key.Cfact1[i], &key.Cfact2[i], &key.Cfact3[i]};
    for (std::string* text : f) {
      if (*text == "0.0" || *text == "1.000") continue;
      double v = TextToReal(*text);
      *text = FormatNumber(v, v > 1000 ? 1 : v >= 1 ? 3 : 5);
    }
    key.Cfact4[i] = std::to_string(TextToInt(key.Cfact4[i]));
    if (key.Cfact2[i] == "0.0" && key.Cfact3[i] == "1.000" && key.Cfact4[i] == "0") {
      entries[i] = key.Cfact1[i];
    } else {
      entries[i] = "(" + key.Cfact1[i] + "," + key.Cfact2[i] + "," + key.Cfact3[i] + "," +
                   key.Cfact4[i] + ")";
    }
  }
  return entries;
}

template <typename T>
bool AllEqual(const T& a, const T& b, const T& c, const T& d) {
  return a == b && a == c && a == d;
}

std::string IntsText(const std::array<int, TParameter::kVariants>& v, bool single) {
  if (single) return std::to_string(v[0]);
  return std::to_string(v[0]) + ":" + std::to_string(v[1]) + ":" + std::to_string(v[2]) + ":" +
         std::to_string(v[3]);
}

std::string RotatedInts(const std::array<int, TParameter::kVariants>& v) {
  if (AllEqual(v[0], v[1], v[2], v[3])) return std::to_string(v[0]);
  return std::to_string(v[1]) + ":" + std::to_string(v[3]) + ":" + std::to_string(v[0]) + ":" +
         std::to_string(v[2]);
}

}  // namespace

TParameterListState& ParameterListState() {
  static const bool registered = (RegisterStateReset(&ResetListState), true);
  (void)registered;
  return g_lists;
}

std::array<int, TParameter::kVariants> ParseVariantInts(std::string_view text) {
  std::array<std::string, 4> e = FourEntries(text);
  std::array<int, TParameter::kVariants> out{};
  for (int i = 0; i < 4; ++i) {
    out[i] = TextToInt(i > 0 && e[i].empty() ? e[0] : e[i]);
  }
  return out;
}

void SelectColorVariant(TParameter* key, int k) {
  if (!key) return;
  k = std::clamp(k, 0, 3);
  key->Cfarbtab = ParseVariantInts(key->farbtabL);
  key->CColShift = ParseVariantInts(key->ColShiftL);
  key->CSelectPicture = ParseVariantInts(key->SelectPictureL);
  key->farbtab = key->Cfarbtab[k];
  key->ColShift = key->CColShift[k];
  key->SelectPicture = key->CSelectPicture[k];

  int mode = Composition().CompositionMode;
  bool fourfold = mode == 4 || mode == 44;
  std::array<std::string, 4> first;
  for (int i = 0; i < 4; ++i) {
    std::string entry = Trim(FieldAt(key->factL, ':', i));
    std::string_view content = StripParens(entry);
    std::array<std::string, 4> f;
    for (size_t j = 0; j < 4; ++j) {
      f[j] = Trim(FieldAt(content, ',', j));
      if (f[j].empty()) f[j] = (i > 0 && fourfold) ? first[j] : kFactDefaults[j];
    }
    if (i == 0) first = f;
    key->Cfact1[i] = f[0];
    key->Cfact2[i] = f[1];
    key->Cfact3[i] = f[2];
    key->Cfact4[i] = f[3];
  }
  key->fact1 = TextToReal(key->Cfact1[k]);
  key->fact2 = TextToReal(key->Cfact2[k]);
  key->fact3 = TextToReal(key->Cfact3[k]);
  key->fact4 = TextToInt(key->Cfact4[k]);
  key->colz = static_cast<int>(key->fact4);
  if (key->colz < 1) key->colz = 2048;
  if (key->colz < 255) key->colz = 255;
  key->colzh = key->colz / 2;
  key->colzv = key->colz / 4;
}

void RebuildColorLists(TParameter& key) {
  std::array<std::string, 4> e = NormalisedFactorEntries(key);
  bool single = Composition().ShownImage == 1;
  bool collapsed = AllEqual(e[0], e[1], e[2], e[3]) || (single && e[1] == e[2] && e[1] == e[3]);
  key.factL = collapsed ? e[0] : e[0] + ":" + e[1] + ":" + e[2] + ":" + e[3];
  auto one = [&](const std::array<int, TParameter::kVariants>& v) {
    return AllEqual(v[0], v[1], v[2], v[3]) ||
           (collapsed && single && v[1] == v[2] && v[1] == v[3]);
  };
  key.SelectPictureL = IntsText(key.CSelectPicture, one(key.CSelectPicture));
  key.farbtabL = IntsText(key.Cfarbtab, one(key.Cfarbtab));
  key.ColShiftL = IntsText(key.CColShift, one(key.CColShift));
}

void RotateColorLists(TParameter& key) {
  std::array<std::string, 4> e = NormalisedFactorEntries(key);
  key.factL = AllEqual(e[0], e[1], e[2], e[3]) ? e[0] : e[1] + ":" + e[3] + ":" + e[0] + ":" + e[2];
  key.SelectPictureL = RotatedInts(key.CSelectPicture);
  key.farbtabL = RotatedInts(key.Cfarbtab);
  key.ColShiftL = RotatedInts(key.CColShift);
}

int LineKindIndex(std::string_view token) {
  static constexpr std::string_view kTokens[8] = {"G", "M", "A", "CA", "CB", "C", "N", "NA"};
  for (int i = 0; i < 8; ++i) {
    if (kTokens[i] == token) return i;
  }
  return -1;
}

void ResetLineStyles(TParameter& key) {
  for (int i = 0; i < TParameter::kLineKinds; ++i) {
    key.CLinesColor[i] = ColourValue(kLineDefaults[i].colour);
    key.CLinesThick[i] = kLineDefaults[i].thickness;
  }
}

void ParseLineStyles(TParameter& key) {
  for (int i = 0; i <= 6; ++i) {
    key.CLinesColor[i] = ColourValue(kLineDefaults[i].colour);
    key.CLinesThick[i] = kLineDefaults[i].thickness;
  }
  if (!key.LinesColor.empty()) ParseIntList(key.LinesColor, key.CLinesColor);
  if (!key.LinesThick.empty()) ParseIntList(key.LinesThick, key.CLinesThick);
}

void NormalizeLineList(std::string& text, std::array<int, TParameter::kLineKinds>& allowed,
                       std::array<int, TParameter::kLineKinds>& flags) {
  flags.fill(0);
  if (!text.empty()) {
    std::vector<std::string> kept;
    for (const std::string& raw : SplitFields(text, ',')) {
      std::string token = Trim(raw);
      if (token.empty()) continue;
      int kind = LineKindIndex(token);
      if (kind < 0) continue;
      // The counter stays small: it is only ever compared with 1.
      if (flags[kind] < 2) ++flags[kind];
      if (allowed[kind] == 0) flags[kind] = 0;
      if (flags[kind] == 1 && std::find(kept.begin(), kept.end(), token) == kept.end()) {
        kept.push_back(token);
      }
    }
    for (int& f : flags) f = f > 1 ? 1 : f;
    text = Join(kept, ',');
  }
  for (int i = 0; i <= 7; ++i) {
    if (allowed[i] == 0) allowed[i] = 1;
  }
}

void ParseGridSizes(std::string_view text) {
  TGridSettings& g = ParameterListState().GridSettings;
  g = TGridSettings{};
  if (text.empty()) return;
  std::array<std::string, 9> f;
  for (size_t i = 0; i < 9; ++i) f[i] = Trim(FieldAt(text, ',', i));
  if (!f[0].empty()) g.dX = TextToReal(f[0]);
  if (!f[1].empty()) g.dY = TextToReal(f[1]);
  if (!f[2].empty()) g.decX = TextToInt(f[2]);
  if (!f[3].empty()) g.decY = TextToInt(f[3]);
  if (!f[4].empty()) g.size = TextToInt(f[4]);
  if (!f[5].empty()) g.labelsX = TextToInt(f[5]);
  if (!f[6].empty()) g.labelsY = TextToInt(f[6]);
  if (!f[7].empty()) g.shiftX = TextToReal(f[7]);
  if (!f[8].empty()) g.shiftY = TextToReal(f[8]);
}

namespace {

struct TNamedIndex {
  std::string_view name;
  int index;
};

constexpr TNamedIndex kInterpolationNames[] = {
    {"HeightY", 4},     {"MidPointX", 5}, {"MidPointY", 6},   {"Degree", 7},
    {"CxPoint", 9},     {"CyPoint", 10},  {"Param1", 11},     {"Param2", 12},
    {"Param3", 13},     {"ParamA", 14},   {"Accurate", 15},   {"Max_Iterat", 16},
    {"Max_(X+Y)", 17},  {"CycleTest", 18}, {"ColTabNo", 20},  {"ColShift", 21}};

constexpr TNamedIndex kTextOutputNames[] = {
    {"WidthX", 3},      {"HeightY", 4},    {"MidPointX", 5},  {"MidPointY", 6},
    {"Degree", 7},      {"CxPoint", 9},    {"CyPoint", 10},   {"Param1", 11},
    {"Param2", 12},     {"Param3", 13},    {"ParamA", 14},    {"Accurate", 15},
    {"Max_Iterat", 16}, {"Max_(X+Y)", 17}, {"CycleTest", 18}, {"SelectPict", 19},
    {"ColTabNo", 20},   {"ColShift", 21},  {"ColFact", 22},   {"KeyNr", 33}};

template <size_t N>
int LookUp(const TNamedIndex (&table)[N], std::string_view name) {
  for (const TNamedIndex& e : table) {
    if (e.name == name) return e.index;
  }
  return 0;
}

// Name of an interpolation entry: trimmed first field when enclosed
// (tested untrimmed), else the trimmed entry.
std::string InterpolationEntryName(std::string_view entry) {
  if (IsEnclosed(entry)) return Trim(FieldAt(StripParens(entry), ',', 0));
  return Trim(entry);
}

// Name of a text output entry: trimmed field 3 when enclosed.
std::string TextOutputEntryName(std::string_view entry) {
  if (IsEnclosed(entry)) return Trim(FieldAt(StripParens(entry), ',', 3));
  return Trim(entry);
}

std::string RemoveNamed(const std::vector<std::string>& entries, std::string_view name,
                        std::string (*entryName)(std::string_view)) {
  std::vector<std::string> kept;
  for (const std::string& entry : entries) {
    if (Trim(entry).empty()) continue;
    if (entryName(entry) != name) kept.push_back(entry);
  }
  return Join(kept, ':');
}

std::string Prepend(std::string_view list, const std::string& entry) {
  return list.empty() ? entry : entry + ":" + std::string(list);
}

}  // namespace

int InterpolationIndex(std::string_view name) { return LookUp(kInterpolationNames, name); }
int TextOutputIndex(std::string_view name) { return LookUp(kTextOutputNames, name); }

void ParseInterpolationList(TParameter& key, THost& host) {
  key.InterpP.fill(0);
  key.InterpM.fill(0);
  std::string name, mode;
  int mark = 0;
  bool oneCharMode = false;
  bool plusSeen = false, starSeen = false;
  ForEachField(key.InterpolationList, ':', [&](std::string_view entry) {
    if (Trim(entry).empty()) return;
    if (IsEnclosed(entry)) {
      std::string_view content = StripParens(entry);
      name = Trim(FieldAt(content, ',', 0));
      mode = Trim(FieldAt(content, ',', 1));
    }
    if (mode.size() == 1) {
      mark = 1;
      oneCharMode = true;
    } else if (mode.size() > 6 && mode[0] == '+') {
      std::string_view rule = std::string_view(mode).substr(4);
      int64_t a = TextToInt(FieldAt(rule, '=', 0));
      int64_t b = TextToInt(FieldAt(rule, '=', 1));
      mark = static_cast<int>(std::clamp<int64_t>(10 * a + b, INT32_MIN, INT32_MAX));
    }
    if (mode.size() != 1) mode = mode.substr(0, 1);
    if (mode == "+") plusSeen = true;
    if (mode == "*") starSeen = true;
    int index = InterpolationIndex(name);
    if (index > 0) {
      if (mode == "+") {
        key.InterpP[index] = mark;
      } else {
        key.InterpM[index] = oneCharMode ? 1 : 0;
      }
    }
  });
  int& plusMal = ParameterListState().PlusMalMode;
  plusMal = (plusSeen ? 1 : 0) + (starSeen ? 2 : 0);
  host.Diagnostic("Tools 600 PlusMal=" + std::to_string(plusMal));
}

void ParseInterpolationList(TParameterAnim& movie, THost& host) {
  if (TParameter* key = movie.GetActualParameter()) ParseInterpolationList(*key, host);
}

std::string InterpolationListAdd(std::string_view list, std::string_view name, char mode) {
  return Prepend(list, "(" + std::string(name) + "," + std::string(1, mode) + ")");
}

std::string InterpolationListRemove(std::string_view list, std::string_view name) {
  return RemoveNamed(SplitFields(list, ':'), name, &InterpolationEntryName);
}

std::string InterpolationCheckBox(std::string_view list, std::string_view name, char mode,
                                  bool ticked, bool otherTicked) {
  if (!ticked) return InterpolationListRemove(list, name);
  if (otherTicked) return InterpolationListAdd(InterpolationListRemove(list, name), name, mode);
  return InterpolationListAdd(list, name, mode);
}

void ParseTextOutputList(TParameter& key) {
  key.ParamText.fill(0);
  for (const std::string& entry : SplitEnclosedEntries(key.TextOutputList)) {
    if (!IsEnclosed(entry)) continue;
    int index = TextOutputIndex(Trim(FieldAt(StripParens(entry), ',', 3)));
    if (index > 0) key.ParamText[index] = 1;
  }
}

void ParseTextOutputList(TParameterAnim& movie) {
  if (TParameter* key = movie.GetActualParameter()) ParseTextOutputList(*key);
}

int ParsePosition(std::string_view text, int minimum, int maximum) {
  int value;
  if (text.find('%') != std::string_view::npos) {
    std::string digits;
    for (char c : text) {
      if (c != '%') digits.push_back(c);
    }
    float fraction = static_cast<float>(TextToInt(digits)) / 100.0f;
    value = RealToInt(static_cast<double>(fraction) * maximum);
  } else {
    value = TextToInt(text);
  }
  if (value > maximum) value = maximum;
  if (value < minimum) value = minimum;
  return value;
}

std::string TextOutputListAdd(std::string_view list, std::string_view name) {
  std::string n(name);
  return Prepend(list, "(0,0," + n + "=," + n + ")");
}

std::string TextOutputListRemove(std::string_view list, std::string_view name) {
  return RemoveNamed(SplitEnclosedEntries(list), name, &TextOutputEntryName);
}

}  // namespace ork
