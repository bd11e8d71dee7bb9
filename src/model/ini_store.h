// The INI text store of movie files, Settings.ini and the film settings:
// an ordered tree of sections (TINIGroup) holding Name=Value lines
// (TINIVar). Names are compared exactly (case-sensitive, no trimming);
// duplicates are kept and lookups find the first. Values are ISO-8859-1
// byte strings; callers convert numbers (model/number_format.h).
//
// Reading: a line ends at LF, at a zero byte or at the end of the file; CR
// bytes are dropped wherever they occur; each line is trimmed of codes
// 0..32. "[" opens a section named by the text between the first and the
// last character of the line; other lines split at the first "=" (name and
// value trimmed, empty names ignored); lines before the first section are
// ignored. Writing: "[name]", name=value lines, one empty line per group,
// CR LF line ends.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ork {

class THost;

class TINIVar {
 public:
  TINIVar(std::string name, std::string value)
      : Name(std::move(name)), Value(std::move(value)) {}
  static std::unique_ptr<TINIVar> Create(const std::string& name, const std::string& value) {
    return std::make_unique<TINIVar>(name, value);
  }

  std::string Name;
  std::string Value;
  int Selected = 0;  // 0 or 1, set only by TINIGroup::Show
};

class TINIGroup {
 public:
  explicit TINIGroup(std::string name) : Name(std::move(name)) {}
  static std::unique_ptr<TINIGroup> Create(const std::string& name) {
    return std::make_unique<TINIGroup>(name);
  }

  // Appends a variable (no check for an existing one). The returned pointer
  // stays valid as long as the group lives and the variable is not removed.
  TINIVar* Add(const std::string& name, const std::string& value);
  // The first variable of that exact name, or null.
  TINIVar* Find(std::string_view name) const;
  // Stable ascending sort by ParameterSortNo; keys numbered 0 come first.
  void Sort();
  // 1 when the sort number of a is greater than that of b, else 0.
  static int CompareFunction(const TINIVar& a, const TINIVar& b);
  // The fixed number 1..34 of a keyframe key, 0 for any other name. Also
  // the parameter index of the data window rows and the mark arrays.
  static int ParameterSortNo(const TINIVar& variable);
  static int ParameterSortNo(std::string_view name);
  // The key name of parameter number no (1..34), "" otherwise; for 19 the
  // file key "SelectPict".
  static std::string_view ParameterKeyName(int no);
  // Hit test of the diagnostic listing: lines 15 pixels apart from y 0;
  // clears every Selected, sets it on the variables whose line contains y
  // and returns the last one hit, or null. x is not used. The drawing
  // itself belongs to the GUI.
  TINIVar* Show(int x, int y);

  std::string Name;
  std::vector<std::unique_ptr<TINIVar>> ParameterList;
};

class TINI {
 public:
  TINI() = default;
  TINI(std::string path, std::string file) : Path(std::move(path)), File(std::move(file)) {}

  // A new empty store; writes the diagnostic "INI: Create '" + path + file + "'".
  static std::unique_ptr<TINI> Create(const std::string& path, const std::string& file,
                                      THost& host);
  // Reads path + file (program paths, see model/paths.h). When it cannot be
  // opened: null for "Settings.ini" (diagnostic only); otherwise the user
  // is told, file becomes "Default.ini" and that is read, and when that is
  // missing too a replacement holding "[OUTPUT]" is written and read. When
  // even that fails the store comes back empty (never null). Files are
  // read up to kMaxFileBytes; the rest is ignored with a diagnostic.
  static std::unique_ptr<TINI> Load(const std::string& path, std::string& file, THost& host);
  // Parses an in-memory file image with the reading rules above; host (may
  // be null) gets the diagnostic when a bound was reached.
  static std::unique_ptr<TINI> FromBytes(const std::string& path, const std::string& file,
                                         std::string_view bytes, THost* host = nullptr);

  // Appends a new group (no check for an existing one); the pointer stays
  // valid while the store lives.
  TINIGroup* Add(const std::string& name);
  // The first group of that exact name, or null.
  TINIGroup* Find(std::string_view name) const;
  // Writes Path + File; non-empty arguments first replace Path / File.
  // A missing directory is offered for creation (one level only). The new
  // text goes to a temporary file beside the old one, which is renamed over
  // the old file only when every byte was written: on any failure the old
  // file is untouched and 0 is returned; 1 on success.
  int Save(const std::string& path, const std::string& file, THost& host);
  // The file image Save writes. Line-break and zero bytes inside names and
  // values are written as blanks so that no value can split its line.
  std::string ToBytes() const;

  // Bounds on what one file can make the store hold; lines beyond them are
  // ignored with a diagnostic. Real files stay far below.
  static constexpr size_t kMaxFileBytes = size_t{64} << 20;
  static constexpr size_t kMaxGroups = size_t{1} << 20;
  static constexpr size_t kMaxVariables = size_t{1} << 22;

  std::string Path;  // directory prefix ending with a separator, e.g. "INI\"
  std::string File;
  std::vector<std::unique_ptr<TINIGroup>> Groups;
};

}  // namespace ork
