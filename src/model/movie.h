// One movie: the output header (picture size, output name, credits) and the
// keyframes Parameter[1..Count] with the current key number Actual. Read
// and written as an INI text with the sections [OUTPUT], [KEYS] and one
// "KEY..." section per keyframe. Loading is forgiving: missing values get
// defaults, keyframe counts are repaired (asking the user through THost),
// and every repair is reported in one message, after which the shell's
// save-as command for Movie 1 is posted.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/parameter.h"

namespace ork {

class THost;
class TINI;

// Defaults of the credit texts.
inline constexpr const char* kProductWeb = "www.orkelund.example";
inline constexpr const char* kContactEmail = "info@orkelund.example";
inline constexpr const char* kDefaultUser = "Orkelund-User";
// The shell command "Movie 1 (Hauptbild) Speichern unter...".
inline constexpr int kCommandSaveAsMovie1 = 7;
// Output sizes are kept to 8..kMaxOutputSide pixels per side.
inline constexpr int kMaxOutputSide = 16384;
// More keyframes than an hour of film at 25 frames per second is not a
// movie but a broken file: loading stops there, and no keyframe is added
// beyond it.
inline constexpr int kMaxKeyframes = 100000;

// True for the name of a keyframe section: one that starts with "KEY" and
// is not "KEYS" (keyframes are numbered by their order in the file).
bool IsKeyframeSection(const std::string& name);

class TParameterAnim {
 public:
  TParameterAnim() : Parameter(1) {}

  // Path/File set, 768 x 576, Scale 1, "NoName", credits; no keyframes.
  // Writes the diagnostic "TParameterAnim.Create '" + path + file + "'".
  static std::unique_ptr<TParameterAnim> Create(const std::string& path, const std::string& file,
                                                THost& host);
  // Never null: a missing file falls back to Default.ini (the movie keeps
  // the requested file name). After loading 1 <= Actual <= Count, or
  // Count = Actual = 0 when every keyframe section was declined.
  static std::unique_ptr<TParameterAnim> Load(const std::string& path, const std::string& file,
                                              THost& host);
  // The same from a store already read (the fuzzer and tests).
  static std::unique_ptr<TParameterAnim> FromIni(const TINI& ini, const std::string& path,
                                                 const std::string& file, THost& host);

  // Writes the movie; non-empty arguments first replace Path / File.
  // 1 on success, 0 on failure (old file untouched).
  int Save(const std::string& path, const std::string& file, THost& host);
  // Writes the movie with n copies of the current keyframe inserted after
  // it (Count + n, Actual + 1; LastKeyM1 = Actual + 1). The movie in memory
  // is not changed apart from Path / File. n below 0 counts as 0.
  int SaveInsert(int n, const std::string& path, const std::string& file, THost& host);
  // Writes the movie without the current keyframe; 0 without writing when
  // Count < 2. Sets LastKeyM1 to the new Actual when Actual > 1.
  int SaveDeleteActual(const std::string& path, const std::string& file, THost& host);

  // The store Save writes (keyframes 1..Count).
  std::unique_ptr<TINI> ToIni(THost& host) const;

  // Keyframe Actual, or null when there is none. Clears brxfollow of the
  // last keyframe. The pointer stays valid until keyframes are added.
  TParameter* GetActualParameter();
  // brx = bry * (OutputWidth / OutputHeight) and the output size for every
  // keyframe.
  void WidthHeightEinstellen();
  // An independent copy (ActualJulia and FensterCol as after construction).
  std::unique_ptr<TParameterAnim> Copy() const;
  // Appends a copy of the keyframe as number Count + 1; false (nothing
  // added) when the movie already holds kMaxKeyframes.
  bool AddParameter(const TParameter& key);

  std::string Path;
  std::string File;
  int OutputWidth = 0;
  int OutputHeight = 0;
  double Scale = 0;
  std::string FileName;
  std::string Run;  // "OK" or the mark of what loading had to make up; not stored
  std::string Web;
  std::string Email;
  std::string Author;
  std::string User;
  int Count = 0;
  int Actual = 0;       // 1-based
  int ActualJulia = 2;  // run-time only
  int FensterCol = 0;   // run-time only
  std::vector<TParameter> Parameter;  // index 0 holds no keyframe
};

}  // namespace ork
