#include "shell/commands_movie.h"

#include <vector>

#include "film/texts.h"
#include "gui/gui.h"
#include "model/file_io.h"
#include "model/movie.h"
#include "model/process_state.h"
#include "shell/commands.h"
#include "shell/event_loop.h"
#include "shell/ini_chooser.h"
#include "shell/main_window.h"
#include "shell/menu_texts.h"
#include "shell/movie_texts.h"
#include "shell/shell_host.h"
#include "shell/texts.h"

namespace ork {

namespace {

namespace t = movie_texts;

TPreviewOpener& PreviewOpener() {
  static TPreviewOpener opener;
  return opener;
}

// The shell's host, except that the loader's request to save the repaired
// file asks for Movie 2's save: the file just loaded is Movie 2's.
class TMovie2LoadHost : public THost {
 public:
  explicit TMovie2LoadHost(THost& inner) : inner_(inner) {}
  void Information(const std::string& text) override { inner_.Information(text); }
  bool Question(const std::string& text) override { return inner_.Question(text); }
  void PostCommand(int command) override {
    inner_.PostCommand(command == kCommandSaveAsMovie1 ? 8 : command);
  }
  void StatusText(const std::string& text) override { inner_.StatusText(text); }
  int PollCancel() override { return inner_.PollCancel(); }
  bool DesktopWaits() const override { return inner_.DesktopWaits(); }
  std::string ChooseSaveFile(const std::string& title, const std::string& proposedPath,
                             const std::string& pattern) override {
    return inner_.ChooseSaveFile(title, proposedPath, pattern);
  }
  void Diagnostic(const std::string& line) override { inner_.Diagnostic(line); }

 private:
  THost& inner_;
};

std::string UpperCase(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// A chosen name must stay a file of the movie directory, and never the
// program's settings (a movie written over them would destroy them).
bool AcceptChosenName(const std::string& name) {
  if (UpperCase(name) == "SETTINGS.INI") {
    ShellHost().Information(Tr(t::kNoSettings));
    return false;
  }
  if (name.find_first_of("/\\:") != std::string::npos) {
    ShellHost().Information(Tr(t::kNoDirectory) + name);
    return false;
  }
  return true;
}

void ShowPictureArea(bool visible) { Gui().ShowGadget(MainWindow().Canvas, visible); }
void FocusMainWindow() { Gui().SetFocus(MainWindow().Window); }

// What saving changes in a movie, to put back when the file could not be
// written: a movie that still needs saving must keep saying so.
struct TSaveMarks {
  explicit TSaveMarks(const TParameterAnim& m) : run(m.Run), path(m.Path), file(m.File) {
    for (int i = 1; i <= m.Count; ++i) names.push_back(m.Parameter[i].FileNameKey);
  }
  void Restore(TParameterAnim& m) const {
    m.Run = run;
    m.Path = path;
    m.File = file;
    for (int i = 1; i <= m.Count && i <= static_cast<int>(names.size()); ++i)
      m.Parameter[i].FileNameKey = names[i - 1];
  }
  std::string run, path, file;
  std::vector<std::string> names;
};

void SaveChosen(int movieNo, TParameterAnim& movie, const std::string& name) {
  TShellState& s = Shell();
  const bool repaired = movie.Run != "OK";
  const TSaveMarks before(movie);
  if (repaired) ClearRepairMarks(movie);
  if (movie.Save("INI\\", name, ShellHost()) != 1) {
    before.Restore(movie);
    ShellHost().Information(Tr(film_texts::kSaveFailed) + "\nINI\\" + name + LastSaveReason());
    return;
  }
  // At start Movie 2 is a copy of the repaired start movie just saved.
  if (movieNo == 1 && repaired && s.StartPreviewPending && s.Movie2 && s.Movie2->Run != "OK")
    ClearRepairMarks(*s.Movie2);
}

// Writes a copy of the movie; the movie keeps its own path and name.
bool SaveCopy(TParameterAnim& movie, const std::string& path, const std::string& file) {
  const std::string oldPath = movie.Path, oldFile = movie.File;
  const bool ok = movie.Save(path, file, ShellHost()) == 1;
  movie.Path = oldPath;
  movie.File = oldFile;
  if (!ok)
    ShellHost().Information(Tr(film_texts::kSaveFailed) + "\n" + path + file + LastSaveReason());
  return ok;
}

}  // namespace

void SetPreviewOpener(TPreviewOpener opener) { PreviewOpener() = std::move(opener); }

void OpenPreview(TSlot slot, int kind, int number, TParameterAnim& movie, int width,
                 const std::string& title) {
  if (PreviewOpener()) PreviewOpener()(slot, kind, number, movie, width, title);
}

std::string HistoryFileName(int n) { return "temp" + std::to_string(n) + ".ini"; }

std::unique_ptr<TParameterAnim> LoadMovieFile(int movieNo, const std::string& path,
                                              const std::string& file) {
  if (movieNo != 2) return TParameterAnim::Load(path, file, ShellHost());
  TMovie2LoadHost host(ShellHost());
  return TParameterAnim::Load(path, file, host);
}

void ClearRepairMarks(TParameterAnim& movie) {
  if (movie.Run == "OK") return;
  movie.Run = "OK";
  for (int i = 1; i <= movie.Count; ++i)
    if (movie.Parameter[i].FileNameKey.rfind("Stop!", 0) == 0) movie.Parameter[i].FileNameKey = "OK";
}

void LoadMovieCommand(int movieNo) {
  TShellState& s = Shell();
  ShowPictureArea(false);
  const char* title = movieNo == 1 ? t::kLoadMovie1Title : t::kLoadMovie2Title;
  if (RequestIniFile(title, s.ChosenMovieName) && AcceptChosenName(s.ChosenMovieName)) {
    if (movieNo == 1) {
      s.CurrentKeyM1 = nullptr;
      s.RenderM1.reset();
      s.Movie1 = LoadMovieFile(1, "INI\\", s.ChosenMovieName);
      s.CurrentKeyM1 = TakeCurrentKey(s.Movie1.get());
      ShownKeys().LastKeyM1 = s.Movie1->Actual;
    } else {
      s.CurrentKeyM2 = nullptr;
      s.RenderM2.reset();
      s.Movie2 = LoadMovieFile(2, "INI\\", s.ChosenMovieName);
      s.CurrentKeyM2 = TakeCurrentKey(s.Movie2.get());
      ShownKeys().LastKeyM2 = s.Movie2->Actual;
    }
    FocusMainWindow();
    FocusPictureArea();
    RequestRepaint();
    if (movieNo == 2) {
      s.StartPreviewPending = true;
      Composition().CompositionMode = -1000;
      PostShellCommand(46);
    } else if (s.CurrentKeyM1 && s.CurrentKeyM1->FileNameKey == shell_texts::kBeginnerWord.en) {
      PostShellCommand(4);
    } else if (s.StartPreviewSetting) {
      s.StartPreviewPending = true;
      Composition().CompositionMode = -1000;
      PostShellCommand(42);
    } else {
      PostShellCommand(83);
    }
  }
  ShowPictureArea(true);
}

void SaveMovieCommand(int movieNo) {
  TShellState& s = Shell();
  TParameterAnim* movie = movieNo == 1 ? s.Movie1.get() : s.Movie2.get();
  if (!movie) {
    ShellHost().Information(Tr(menu_texts::kLoadFileFirst));
  } else {
    ShowPictureArea(false);
    const char* title = movieNo == 1 ? t::kSaveMovie1Title : t::kSaveMovie2Title;
    if (RequestIniFile(title, s.ChosenMovieName) && AcceptChosenName(s.ChosenMovieName))
      SaveChosen(movieNo, *movie, s.ChosenMovieName);
    ShowPictureArea(true);
  }
  FocusMainWindow();
}

void ExchangeMovies() {
  TShellState& s = Shell();
  if (!s.Movie1 || !s.Movie2) return;
  ShowPictureArea(false);
  // Both exchange files must be written, or a stale one would be loaded.
  const bool saved = SaveCopy(*s.Movie2, "TEMP\\", "Tausch2B2.ini") &&
                     SaveCopy(*s.Movie1, "TEMP\\", "Tausch1B1.ini");
  ShowPictureArea(true);
  if (saved) {
    // A repaired movie that was not saved yet keeps saying so.
    const std::string run1 = s.Movie1->Run, run2 = s.Movie2->Run;
    s.CurrentKeyM1 = nullptr;
    s.RenderM1.reset();
    s.Movie1 = LoadMovieFile(1, "TEMP\\", "Tausch2B2.ini");
    s.Movie1->Run = run2;
    s.CurrentKeyM2 = nullptr;
    s.RenderM2.reset();
    s.Movie2 = LoadMovieFile(2, "TEMP\\", "Tausch1B1.ini");
    s.Movie2->Run = run1;
    const int mode = Composition().CompositionMode;
    if (mode == 22 || mode == 222) PostShellCommand(89);
  }
  FocusMainWindow();
}

void TakeCFromMovie2() {
  TShellState& s = Shell();
  if (!s.Movie1 || !s.Movie2) return;
  const int n = s.Movie2->Actual;
  // Movie 1 must have that keyframe: its current key never leaves 1..Count.
  if (n < 1 || n > s.Movie1->Count || n > s.Movie2->Count) return;
  s.Movie1->Actual = n;
  ShownKeys().LastKeyM1 = n;
  s.Movie1->Parameter[n].CCx = s.Movie2->Parameter[n].CCx;
  s.Movie1->Parameter[n].CCy = s.Movie2->Parameter[n].CCy;
}

bool RunMovieFileCommand(int command) {
  switch (command) {
    case 2:
    case 3: LoadMovieCommand(command - 1); return true;
    case 7:
    case 8: SaveMovieCommand(command - 6); return true;
    case 9: ExchangeMovies(); return true;
    case 10: TakeCFromMovie2(); return true;
    case 18: DuplicateKey(1); return true;
    case 19: DuplicateKey(2); return true;
    case 20: DeleteKey(); return true;
    case 97:
    case 98:
    case 99:
    case 100:
    case 101:
    case 103: BackCommand(command); return true;
    default: return false;
  }
}

}  // namespace ork
