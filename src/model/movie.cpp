#include "model/movie.h"

#include <algorithm>
#include <cmath>

#include "model/host.h"
#include "model/ini_store.h"
#include "model/latin1.h"
#include "model/list_syntax.h"
#include "model/long_coordinates.h"
#include "model/number_format.h"
#include "model/process_state.h"
#include "model/texts.h"

namespace ork {

bool IsKeyframeSection(const std::string& name) {
  return name.size() >= 3 && name.compare(0, 3, "KEY") == 0 && name != "KEYS";
}

namespace {

// The repair details are shown in one message box.
constexpr size_t kMaxRepairText = 16384;

const double kDefaultMidPointX = static_cast<double>(-0.55f);
const double kDefaultAccurate = static_cast<double>(0.0001f);
const double kDefaultFactorPerPict = static_cast<double>(1.01f);

void AppendRepair(std::string& r, const std::string& piece) {
  if (r.size() < kMaxRepairText) r += piece;
}

// Reads the keys of one section, recording each missing key in the repair
// text.
class TKeyReader {
 public:
  TKeyReader(const TINIGroup& group, std::string& repair) : group_(group), repair_(repair) {}

  const std::string* Get(const char* key, const char* missingText = nullptr) {
    const TINIVar* v = group_.Find(key);
    if (v) return &v->Value;
    AppendRepair(repair_, ", ");
    AppendRepair(repair_, missingText ? missingText : key);
    return nullptr;
  }
  int Int(const char* key, int def, const char* missingText = nullptr) {
    const std::string* v = Get(key, missingText);
    return v ? TextToInt(*v) : def;
  }
  double Real(const char* key, double def) {
    const std::string* v = Get(key);
    return v ? TextToReal(*v) : def;
  }
  std::string Text(const char* key, const char* def) {
    const std::string* v = Get(key);
    return v ? *v : std::string(def);
  }

 private:
  const TINIGroup& group_;
  std::string& repair_;
};

void SetOutputDefaults(TParameterAnim& m) {
  m.OutputWidth = 300;
  m.OutputHeight = 300;
  m.Scale = 1;
  m.FileName = "MovieXYZ";
  m.Web = kProductWeb;
  m.Email = kContactEmail;
  m.Author = "Brenholt";
  m.User = kDefaultUser;
}

void ReadOutput(TParameterAnim& m, const TINIGroup& g, std::string& r) {
  TKeyReader in(g, r);
  m.OutputWidth = in.Int("Width", 300);
  m.OutputHeight = in.Int("Height", 300);
  m.Scale = in.Real("Scale", 1);
  m.FileName = in.Text("FileName", "MovieXYZ");
  m.Web = in.Text("Web", kProductWeb);
  m.Email = in.Text("Email", kContactEmail);
  m.Author = in.Text("Author", "Brenholt");
  m.User = in.Text("User", kDefaultUser);
}

void CopyMovieFields(const TParameterAnim& m, TParameter& p) {
  p.OutputWidth = m.OutputWidth;
  p.OutputHeight = m.OutputHeight;
  p.User = m.User;
}

// The optional keys of deep pictures: missing means off and "no more
// digits than the double". A long text wins over its double, which becomes
// its rounding; a text that is no number (or absurdly long) is dropped and
// reported like a missing key, and the double stays.
void ReadDeepKeys(const TINIGroup& g, TParameter& p, std::string& k) {
  if (const TINIVar* v = g.Find("DeepZoom")) p.Deep = std::clamp(TextToInt(v->Value), 0, 1);
  for (const TLongCoordinate& c : kLongCoordinates) {
    const TINIVar* v = g.Find(c.Key);
    if (!v) continue;
    if (!IsLongNumberText(v->Value)) {
      AppendRepair(k, std::string(", ") + c.Key);
      continue;
    }
    p.*c.Text = v->Value;
    p.*c.Value = LongTextRounded(v->Value, c.Height);
    if (c.Value == &TParameter::vsx) p.vsp = p.vsx;
    if (c.Value == &TParameter::vsy) p.vst = p.vsy;
    if (c.Height) p.brx = p.bry * p.OutputWidth / p.OutputHeight;
  }
}

void ReadKeyframe(const TParameterAnim& m, const TINIGroup& g, int i, TParameter& p,
                  std::string& k) {
  TKeyReader in(g, k);
  p.GameNo = in.Int("NoOfFormula", 1000,
                    "NoOfFormula (1000 or 1001,1002,1003,149,152,201,202,203,204,205,206,207,208)");
  p.FileNameKey = in.Text("PictNameOrNotice", "");
  CopyMovieFields(m, p);
  p.Degree = in.Real("Degree", 0);
  p.Accurate = in.Real("Accurate", kDefaultAccurate);
  p.bry = in.Real("HeightY", 4);
  p.brx = p.bry * p.OutputWidth / p.OutputHeight;
  if (const std::string* v = in.Get("MidPointX")) {
    p.vsx = p.vsp = TextToReal(*v);
  } else {
    p.vsx = kDefaultMidPointX;
  }
  if (const std::string* v = in.Get("MidPointY")) {
    p.vsy = p.vst = TextToReal(*v);
  } else {
    p.vsy = 0;
  }
  p.Param1 = in.Real("Param1", 0);
  p.Param2 = in.Real("Param2", 0);
  p.Param3to10 = in.Text("Param3to10", "");
  p.par = in.Real("ParamA", 0);
  p.CCx = in.Real("CxPoint", 0);
  p.CCy = in.Real("CyPoint", 0);
  p.maxabs = in.Real("Max_(X+Y)", 1.0e9);
  p.ianzmax = in.Int("Max_Iterat", 100);
  p.zyctest = in.Int("CycleTest", 1);
  p.factL = in.Text("ColFact", "100.0");
  p.farbtabL = in.Text("ColTabNo", "4");
  p.ColShiftL = in.Text("ColShift", "1000");
  p.SelectPictureL = in.Text("SelectPict", "1");
  SelectColorVariant(p, 0);
  // Anything but 0 and 1 is meaningless to the engine: above 1 is a Julia
  // picture, below 0 a parameter-plane picture.
  p.julia = std::clamp(in.Int("JuliaSet", 0), 0, 1);
  p.TextOutputList = in.Text("TextOutputList", "");
  p.InterpolationList = in.Text("InterpolationList", "");
  p.Filter = in.Text("Filter", "");
  p.Grid = in.Text("LinesAndGrid", "");
  ResetLineStyles(p);
  p.LinesColor = in.Text("LinesColor", "");
  p.LinesThick = in.Text("LinesThickness", "");
  ParseLineStyles(p);
  p.GridSizes = in.Text("GridSizes", "");
  ParseGridSizes(p.GridSizes);
  p.KeyNr = i;
  p.FixedImageSeconds = in.Real("FixedImageSeconds", 0);
  p.Seconds = in.Real("SecondsFor+", 10);
  p.DoCalculate = in.Int("DoCalculate", 1);
  p.FactorPerPict = in.Real("FactorPerPictFor*", kDefaultFactorPerPict);
  ReadDeepKeys(g, p, k);
}

TParameter DefaultKeyframe(const TParameterAnim& m, int n) {
  TParameter p;
  CopyMovieFields(m, p);
  p.GameNo = 1000;
  p.FileNameKey =
      n == 1 ? Latin1("NoOfFormula hier möglich:1000 Or 1001,1002,149,151,152,201,202,203,2031,2032,206")
             : std::string("PictOfKEY2");
  p.Degree = n == 1 ? 0 : 90;
  p.InterpolationList = n == 1 ? "(HeightY,+):(Degree,+)" : "";
  p.bry = n == 1 ? 4 : 1;
  p.brx = p.bry * p.OutputWidth / p.OutputHeight;
  p.Seconds = 3;
  p.KeyNr = n;
  p.vsx = p.vsp = kDefaultMidPointX;
  p.vsy = p.vst = 0;
  p.julia = 0;
  p.FactorPerPict = 0;
  p.Accurate = kDefaultAccurate;
  p.maxabs = 1.0e9;
  p.ianzmax = 100;
  p.zyctest = 1;
  p.DoCalculate = 1;
  p.SelectPictureL = "1";
  p.farbtabL = "4";
  p.ColShiftL = "1000";
  p.factL = "100.0";
  SelectColorVariant(p, 0);
  ResetLineStyles(p);
  return p;
}

std::string Real(double x) { return RealText17(x); }
std::string Int(int x) { return std::to_string(x); }

void WriteKeyframe(TINI& ini, int section, const TParameter& p, int keyNr) {
  TINIGroup* g = ini.Add("KEY" + Int(section));
  g->Add("NoOfFormula", Int(p.GameNo));
  g->Add("PictNameOrNotice", p.FileNameKey);
  g->Add("WidthX", Real(p.brx));
  g->Add("HeightY", Real(p.bry));
  g->Add("MidPointX", Real(p.vsx));
  g->Add("MidPointY", Real(p.vsy));
  g->Add("Degree", Real(p.Degree));
  g->Add("JuliaSet", Int(p.julia));
  g->Add("CxPoint", Real(p.CCx));
  g->Add("CyPoint", Real(p.CCy));
  g->Add("Param1", Real(p.Param1));
  g->Add("Param2", Real(p.Param2));
  g->Add("Param3to10", p.Param3to10);
  g->Add("ParamA", Real(p.par));
  g->Add("Accurate", Real(p.Accurate));
  g->Add("Max_Iterat", Int(p.ianzmax));
  g->Add("Max_(X+Y)", Real(p.maxabs));
  g->Add("CycleTest", Int(p.zyctest));
  g->Add("SelectPict", p.SelectPictureL);
  g->Add("ColTabNo", p.farbtabL);
  g->Add("ColShift", p.ColShiftL);
  g->Add("ColFact", p.factL);
  g->Add("TextOutputList", p.TextOutputList);
  g->Add("Filter", p.Filter);
  g->Add("LinesAndGrid", p.Grid);
  g->Add("LinesColor", p.LinesColor);
  g->Add("LinesThickness", p.LinesThick);
  g->Add("GridSizes", p.GridSizes);
  g->Add("FixedImageSeconds", Real(p.FixedImageSeconds));
  g->Add("DoCalculate", Int(p.DoCalculate));
  g->Add("SecondsFor+", Real(p.Seconds));
  g->Add("FactorPerPictFor*", Real(p.FactorPerPict));
  g->Add("KeyNr", Int(keyNr));
  g->Add("InterpolationList", p.InterpolationList);
  // After the fixed keys, only when set: older readers skip them and still
  // find every key they know at its place.
  if (p.Deep != 0) g->Add("DeepZoom", Int(p.Deep));
  for (const TLongCoordinate& c : kLongCoordinates)
    if (LongTextCurrent(p.*c.Text, p.*c.Value, c.Height)) g->Add(c.Key, p.*c.Text);
}

}  // namespace

std::unique_ptr<TParameterAnim> TParameterAnim::Create(const std::string& path,
                                                       const std::string& file, THost& host) {
  host.Diagnostic("TParameterAnim.Create '" + path + file + "'");
  auto m = std::make_unique<TParameterAnim>();
  m->Path = path;
  m->File = file;
  m->OutputWidth = 768;
  m->OutputHeight = 576;
  m->Scale = 1.0;
  m->FileName = "NoName";
  m->Web = std::string("http://") + kProductWeb;
  m->Email = kContactEmail;
  m->Author = "Brenholt";
  m->User = kDefaultUser;
  return m;
}

std::unique_ptr<TParameterAnim> TParameterAnim::Load(const std::string& path,
                                                     const std::string& file, THost& host) {
  host.Diagnostic("TypDef Anfang Load()");
  std::string iniFile = file;
  std::unique_ptr<TINI> ini = TINI::Load(path, iniFile, host);
  if (!ini) ini = std::make_unique<TINI>(path, iniFile);  // "Settings.ini" asked as a movie
  return FromIni(*ini, path, file, host);
}

std::unique_ptr<TParameterAnim> TParameterAnim::FromIni(const TINI& ini, const std::string& path,
                                                        const std::string& file, THost& host) {
  std::unique_ptr<TParameterAnim> m = Create(path, file, host);
  m->Run = "OK";
  std::string r;

  if (const TINIGroup* out = ini.Find("OUTPUT")) {
    ReadOutput(*m, *out, r);
  } else {
    SetOutputDefaults(*m);
    r = ", [OUTPUT]-all";
    m->Run = "[OUTPUT]-all";
  }
  m->OutputWidth = std::clamp(m->OutputWidth, 8, kMaxOutputSide);
  m->OutputHeight = std::clamp(m->OutputHeight, 8, kMaxOutputSide);
  if (m->Scale == 0 || std::isnan(m->Scale)) m->Scale = 1;

  if (const TINIGroup* keys = ini.Find("KEYS")) {
    TKeyReader in(*keys, r);
    m->Count = in.Int("Count", 2);
    m->Actual = in.Int("Actual", 1);
  } else {
    m->Count = 2;
    m->Actual = 1;
    AppendRepair(r, ", [KEYS]-all");
    m->Run = "[KEYS]-all";
  }
  if (m->Count < 0) m->Count = 0;

  // The array is sized by the sections present, not by the number in the
  // file: a count of 2147483647 must not allocate that many records, and a
  // count above the sections present shrinks to them below anyway.
  int present = 0;
  for (const auto& g : ini.Groups) {
    if (IsKeyframeSection(g->Name) && present < kMaxKeyframes) ++present;
  }
  m->Parameter.assign(static_cast<size_t>(std::min(m->Count, present)) + 1, TParameter{});

  bool ignoreFurther = false;
  bool overBound = false;
  int seen = 0;
  for (const auto& g : ini.Groups) {
    if (!IsKeyframeSection(g->Name)) continue;
    if (seen == kMaxKeyframes) {
      // Whatever Count says, the array holds no more than the bound.
      overBound = true;
      break;
    }
    int i = ++seen;
    host.Diagnostic("TypDef Load()  Gruppe [" + g->Name + "] Nr = " + Int(i));
    std::string k;
    if (i > m->Count) {
      if (ignoreFurther) continue;
      if (!host.Question(Tr(model_texts::kMore))) {
        host.Information(Tr(model_texts::kIgnored1) + Int(i) + Tr(model_texts::kIgnored2));
        ignoreFurther = true;
        continue;
      }
      m->Count = i;
      if (m->Parameter.size() < static_cast<size_t>(i) + 1) m->Parameter.resize(static_cast<size_t>(i) + 1);
      k = ", Count auf Count=" + Int(i) + Latin1(" vergrößert.");
    }
    TParameter& p = m->Parameter[static_cast<size_t>(i)];
    p = TParameter{};
    ReadKeyframe(*m, *g, i, p, k);
    if (!k.empty()) AppendRepair(r, " [KEY" + Int(i) + "]: " + k);
  }

  if (seen == 0) {
    m->Count = 2;
    m->Actual = 1;
    m->Parameter.assign(3, TParameter{});
    m->Parameter[1] = DefaultKeyframe(*m, 1);
    m->Parameter[2] = DefaultKeyframe(*m, 2);
    AppendRepair(r, " [KEY1]-all, [KEY2]-all . Bitte unbedingt sofort speichern.");
    m->Run = "[KEY1],[KEY2]";
  } else if (seen < m->Count && !overBound) {
    host.Information(Tr(model_texts::kFewer1) + Int(seen) + Tr(model_texts::kFewer2));
    m->Count = seen;
  }
  m->Count = std::min(m->Count, kMaxKeyframes);
  m->Parameter.resize(static_cast<size_t>(m->Count) + 1);

  if (!r.empty()) {
    if (r.size() >= kMaxRepairText) r += " ...";
    host.Information(Tr(model_texts::kRepaired) + r);
    host.PostCommand(kCommandSaveAsMovie1);
  }
  if (overBound) {
    host.Diagnostic("TypDef Load()  more than " + Int(kMaxKeyframes) +
                    " keyframes, the rest is ignored");
    host.Information(Tr(model_texts::kTooManyKeys1) + Int(kMaxKeyframes) +
                     Tr(model_texts::kTooManyKeys2));
  }
  // The rest of the system reads keyframe Actual without a check.
  m->Actual = m->Count == 0 ? 0 : std::clamp(m->Actual, 1, m->Count);
  return m;
}

namespace {
std::unique_ptr<TINI> HeaderIni(const TParameterAnim& m, THost& host) {
  const std::string& Path = m.Path;
  const std::string& File = m.File;
  std::unique_ptr<TINI> ini = TINI::Create(Path, File, host);
  TINIGroup* out = ini->Add("OUTPUT");
  out->Add("Width", Int(m.OutputWidth));
  out->Add("Height", Int(m.OutputHeight));
  out->Add("Scale", Real(m.Scale));
  out->Add("FileName", m.FileName);
  out->Add("Web", m.Web);
  out->Add("Email", m.Email);
  out->Add("Author", m.Author);
  out->Add("User", m.User);
  TINIGroup* keys = ini->Add("KEYS");
  keys->Add("Count", Int(m.Count));
  keys->Add("Actual", Int(m.Actual));
  return ini;
}

int StoredCount(const TParameterAnim& m) {
  return std::clamp(m.Count, 0, static_cast<int>(m.Parameter.size()) - 1);
}
void SetKeys(TINI& ini, int count, int actual) {
  TINIGroup* keys = ini.Find("KEYS");
  keys->Find("Count")->Value = Int(count);
  keys->Find("Actual")->Value = Int(actual);
}
}  // namespace

std::unique_ptr<TINI> TParameterAnim::ToIni(THost& host) const {
  std::unique_ptr<TINI> ini = HeaderIni(*this, host);
  int count = StoredCount(*this);
  SetKeys(*ini, count, Actual);
  for (int i = 1; i <= count; ++i) WriteKeyframe(*ini, i, Parameter[i], Parameter[i].KeyNr);
  return ini;
}

int TParameterAnim::Save(const std::string& path, const std::string& file, THost& host) {
  if (!path.empty()) Path = path;
  if (!file.empty()) File = file;
  return ToIni(host)->Save("", "", host);
}

int TParameterAnim::SaveInsert(int n, const std::string& path, const std::string& file,
                               THost& host) {
  if (!path.empty()) Path = path;
  if (!file.empty()) File = file;
  int count = StoredCount(*this);
  if (count == 0) return 0;
  n = std::clamp(n, 0, std::max(0, kMaxKeyframes - count));
  int a = std::clamp(Actual, 1, count);
  std::unique_ptr<TINI> ini = HeaderIni(*this, host);
  SetKeys(*ini, count + n, a + 1);
  ShownKeys().LastKeyM1 = a + 1;
  int section = 0;
  for (int j = 1; j <= a; ++j) WriteKeyframe(*ini, ++section, Parameter[j], j);
  for (int j = 0; j < n; ++j) WriteKeyframe(*ini, ++section, Parameter[a], a);
  for (int j = a + 1; j <= count; ++j) WriteKeyframe(*ini, ++section, Parameter[j], j);
  return ini->Save("", "", host);
}

int TParameterAnim::SaveDeleteActual(const std::string& path, const std::string& file,
                                     THost& host) {
  if (!path.empty()) Path = path;
  if (!file.empty()) File = file;
  int count = StoredCount(*this);
  if (count < 2) return 0;
  int a = std::clamp(Actual, 1, count);
  std::unique_ptr<TINI> ini = HeaderIni(*this, host);
  int actual = a;
  if (a > 1) {
    actual = a - 1;
    ShownKeys().LastKeyM1 = actual;
  }
  SetKeys(*ini, count - 1, actual);
  int section = 0;
  for (int j = 1; j <= count; ++j) {
    if (j != a) WriteKeyframe(*ini, ++section, Parameter[j], j);
  }
  return ini->Save("", "", host);
}

TParameter* TParameterAnim::GetActualParameter() {
  if (Count <= 0 || Actual < 1 || Actual > Count ||
      static_cast<size_t>(Actual) >= Parameter.size()) {
    return nullptr;
  }
  TParameter& p = Parameter[static_cast<size_t>(Actual)];
  if (Actual == Count) p.brxfollow = 0;
  return &p;
}

void TParameterAnim::WidthHeightEinstellen() {
  int count = StoredCount(*this);
  for (int i = 1; i <= count; ++i) {
    TParameter& p = Parameter[static_cast<size_t>(i)];
    if (OutputHeight != 0) p.brx = p.bry * (static_cast<double>(OutputWidth) / OutputHeight);
    p.OutputWidth = OutputWidth;
    p.OutputHeight = OutputHeight;
  }
}

std::unique_ptr<TParameterAnim> TParameterAnim::Copy() const {
  auto m = std::make_unique<TParameterAnim>();
  m->Path = Path;
  m->File = File;
  m->OutputWidth = OutputWidth;
  m->OutputHeight = OutputHeight;
  m->Scale = Scale;
  m->FileName = FileName;
  m->Run = Run;
  m->Web = Web;
  m->Email = Email;
  m->Author = Author;
  m->User = User;
  m->Count = Count;
  m->Actual = Actual;
  int count = StoredCount(*this);
  m->Parameter.assign(static_cast<size_t>(count) + 1, TParameter{});
  for (int i = 1; i <= count; ++i) m->Parameter[static_cast<size_t>(i)] = Parameter[static_cast<size_t>(i)].Copy();
  return m;
}

bool TParameterAnim::AddParameter(const TParameter& key) {
  if (Count >= kMaxKeyframes) return false;
  TParameter copy = key.Copy();  // key may live in this movie's own array
  Count = std::max(Count, 0) + 1;
  Parameter.resize(static_cast<size_t>(Count) + 1);
  Parameter[static_cast<size_t>(Count)] = std::move(copy);
  return true;
}

}  // namespace ork
