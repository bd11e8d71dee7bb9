#include "model/ini_store.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "model/file_io.h"
#include "model/host.h"
#include "model/paths.h"
#include "model/text_util.h"
#include "model/texts.h"

namespace ork {

namespace {

// The keyframe keys in parameter number order; 19 has a second key.
constexpr std::string_view kKeys[35] = {
    "",           "NoOfFormula",       "PictNameOrNotice", "WidthX",         "HeightY",
    "MidPointX",  "MidPointY",         "Degree",           "JuliaSet",       "CxPoint",
    "CyPoint",    "Param1",            "Param2",           "Param3to10",     "ParamA",
    "Accurate",   "Max_Iterat",        "Max_(X+Y)",        "CycleTest",      "SelectPict",
    "ColTabNo",   "ColShift",          "ColFact",          "TextOutputList", "Filter",
    "LinesAndGrid", "LinesColor",      "LinesThickness",   "GridSizes",      "FixedImageSeconds",
    "DoCalculate", "SecondsFor+",      "FactorPerPictFor*", "KeyNr",         "InterpolationList"};

struct TParseCounts {
  size_t variables = 0;
  bool bounded = false;
};

void ParseLine(TINI& ini, TINIGroup*& current, std::string_view raw, TParseCounts& counts) {
  std::string line;
  line.reserve(raw.size());
  for (char c : raw) {
    if (c != '\r') line.push_back(c);
  }
  std::string t = Trim(line);
  if (t.empty()) return;
  if (t[0] == '[') {
    if (ini.Groups.size() >= TINI::kMaxGroups) {
      counts.bounded = true;
      current = nullptr;
      return;
    }
    current = ini.Add(t.size() >= 2 ? t.substr(1, t.size() - 2) : std::string());
    return;
  }
  if (!current) return;
  size_t eq = t.find('=');
  if (eq == std::string::npos) return;
  std::string name = Trim(std::string_view(t).substr(0, eq));
  if (name.empty()) return;
  if (counts.variables >= TINI::kMaxVariables) {
    counts.bounded = true;
    return;
  }
  ++counts.variables;
  current->Add(name, Trim(std::string_view(t).substr(eq + 1)));
}

std::string DirectoryOf(const std::string& programPath) {
  return programPath.empty() ? WorkDir() : NativePath(programPath);
}

}  // namespace

TINIVar* TINIGroup::Add(const std::string& name, const std::string& value) {
  ParameterList.push_back(TINIVar::Create(name, value));
  return ParameterList.back().get();
}

TINIVar* TINIGroup::Find(std::string_view name) const {
  for (const auto& v : ParameterList) {
    if (v->Name == name) return v.get();
  }
  return nullptr;
}

int TINIGroup::ParameterSortNo(std::string_view name) {
  if (name == "NumberOfColors") return 19;
  for (int i = 1; i <= 34; ++i) {
    if (kKeys[i] == name) return i;
  }
  return 0;
}

int TINIGroup::ParameterSortNo(const TINIVar& variable) { return ParameterSortNo(variable.Name); }

std::string_view TINIGroup::ParameterKeyName(int no) {
  return (no >= 1 && no <= 34) ? kKeys[no] : std::string_view();
}

int TINIGroup::CompareFunction(const TINIVar& a, const TINIVar& b) {
  return ParameterSortNo(a) > ParameterSortNo(b) ? 1 : 0;
}

void TINIGroup::Sort() {
  // a goes after b exactly when CompareFunction(a, b) is 1; stable_sort
  // wants "a before b", which is CompareFunction(b, a).
  std::stable_sort(ParameterList.begin(), ParameterList.end(),
                   [](const std::unique_ptr<TINIVar>& a, const std::unique_ptr<TINIVar>& b) {
                     return CompareFunction(*b, *a) == 1;
                   });
}

TINIVar* TINIGroup::Show(int x, int y) {
  (void)x;
  TINIVar* hit = nullptr;
  int top = 0;
  for (auto& v : ParameterList) {
    v->Selected = 0;
    if (y >= top && y < top + 15) {
      v->Selected = 1;
      hit = v.get();
    }
    top += 15;
  }
  return hit;
}

std::unique_ptr<TINI> TINI::Create(const std::string& path, const std::string& file,
                                   THost& host) {
  host.Diagnostic("INI: Create '" + path + file + "'");
  return std::make_unique<TINI>(path, file);
}

TINIGroup* TINI::Add(const std::string& name) {
  Groups.push_back(TINIGroup::Create(name));
  return Groups.back().get();
}

TINIGroup* TINI::Find(std::string_view name) const {
  for (const auto& g : Groups) {
    if (g->Name == name) return g.get();
  }
  return nullptr;
}

std::unique_ptr<TINI> TINI::FromBytes(const std::string& path, const std::string& file,
                                      std::string_view bytes, THost* host) {
  auto ini = std::make_unique<TINI>(path, file);
  TINIGroup* current = nullptr;
  TParseCounts counts;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = start;
    while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\0') ++end;
    ParseLine(*ini, current, bytes.substr(start, end - start), counts);
    start = end + 1;
  }
  if (counts.bounded && host) {
    host->Diagnostic("INI: '" + path + file + "' has too many lines, the rest is ignored");
  }
  return ini;
}

std::unique_ptr<TINI> TINI::Load(const std::string& path, std::string& file, THost& host) {
  std::string bytes;
  bool truncated = false;
  bool opened = ReadFileBytes(NativePath(path + file), kMaxFileBytes, bytes, truncated);
  if (!opened) {
    host.Diagnostic("INI: can't open '" + path + file + "' for loading !?");
    if (file == "Settings.ini") return nullptr;
    host.Information(Tr(model_texts::kFileMissing1) + file + Tr(model_texts::kFileMissing2));
    file = "Default.ini";
    opened = ReadFileBytes(NativePath(path + file), kMaxFileBytes, bytes, truncated);
    if (!opened) {
      host.Information(Tr(model_texts::kDefaultMissing));
      bool openFailed = false;
      ReplaceFileBytes(NativePath(path + file), "[OUTPUT]\r\n", openFailed);
      opened = ReadFileBytes(NativePath(path + file), kMaxFileBytes, bytes, truncated);
      if (!opened) {
        host.Diagnostic("INI: can't write '" + path + file + "' !?");
        return std::make_unique<TINI>(path, file);
      }
    }
  }
  if (truncated) {
    host.Diagnostic("INI: '" + path + file + "' is longer than " +
                    std::to_string(kMaxFileBytes) + " bytes, the rest is ignored");
  }
  return FromBytes(path, file, bytes, &host);
}

namespace {
void AppendOneLine(std::string& out, const std::string& text) {
  for (char c : text) out.push_back((c == '\r' || c == '\n' || c == '\0') ? ' ' : c);
}
}  // namespace

std::string TINI::ToBytes() const {
  std::string out;
  for (const auto& g : Groups) {
    out += '[';
    AppendOneLine(out, g->Name);
    out += "]\r\n";
    for (const auto& v : g->ParameterList) {
      AppendOneLine(out, v->Name);
      out += '=';
      AppendOneLine(out, v->Value);
      out += "\r\n";
    }
    out += "\r\n";
  }
  return out;
}

int TINI::Save(const std::string& path, const std::string& file, THost& host) {
  if (!path.empty()) Path = path;
  if (!file.empty()) File = file;
  SetLastSaveError("");
  std::error_code ec;
  std::string dir = DirectoryOf(Path);
  if (!std::filesystem::exists(dir, ec)) {
    host.Diagnostic("INI: can't find Path '" + Path + "' for saving !?");
    if (!host.Question(Tr(model_texts::kCreatePath1) + Path + Tr(model_texts::kCreatePath2))) {
      return 0;
    }
    host.Diagnostic("INI: create Path '" + Path + "'");
    if (!std::filesystem::create_directory(dir, ec) || ec) {
      SetLastSaveError(ec ? ec.message() : "the folder could not be created");
      host.Information(Tr(model_texts::kCreateFailed));
      return 0;
    }
  }
  bool openFailed = false;
  if (!ReplaceFileBytes(NativePath(Path + File), ToBytes(), openFailed)) {
    if (openFailed) {
      host.Diagnostic("INI: can't open '" + Path + File + "' for saving !?");
    } else {
      host.Diagnostic("INI: can't write '" + Path + File + "' for saving !?");
    }
    return 0;
  }
  return 1;
}

}  // namespace ork
