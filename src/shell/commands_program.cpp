// Pictures, film, files, help and the end: 120 saves the shown picture, 122
// and 121 produce a film, 4 shows the beginner picture, 6 chooses a new
// start movie, 125 and 126 open the help addresses, 11 ends the program.
#include "shell/commands.h"

#include "engine/render.h"
#include "film/animate_prepare.h"
#include "gui/gui.h"
#include "model/movie.h"
#include "model/paths.h"
#include "model/process_state.h"
#include "picture/grid_state.h"
#include "picture/picture_files.h"
#include "picture/picture_files_save.h"
#include "shell/event_loop.h"
#include "shell/ini_chooser.h"
#include "shell/main_window.h"
#include "shell/menu_texts.h"
#include "shell/settings.h"
#include "shell/shell_host.h"
#include "shell/shell_state.h"
#include "shell/texts.h"

namespace ork {

namespace {

namespace mt = menu_texts;

TFilmRunner& FilmRunner() {
  static TFilmRunner runner;
  return runner;
}

void SavePicture() {
  TShellState& s = Shell();
  if (!s.Movie1 || !s.RenderM1) return;
  TParameter* key = s.Movie1->GetActualParameter();
  const TSaveImageResult result =
      SaveImage(*s.RenderM1, key ? key->FileNameKey : std::string(), SaveImageFormats(),
                ShellHost());
  // A file that could not be written is said, not passed over.
  if (!result.failed.empty()) {
    std::string text = Tr(mt::kSaveFailed);
    for (const std::string& f : result.failed) text += "\n" + f;
    ShellHost().Information(text);
  }
  FocusPictureArea();
}

// Two-movie compositions take a film of Movie 2 as well.
bool TwoMovieComposition() {
  const int mode = Composition().CompositionMode;
  return mode < 1 || mode > 20;
}

void ProduceFilm() {
  TShellState& s = Shell();
  CloseAllSlots();
  s.JuliaNext = 0;
  EnableMenuGroup(TMenuGroup::All, false);
  if (FilmRunner()) {
    FilmRunner()();
  } else if (s.Movie1) {
    GridState().GridAutoMode = 0;
    auto film1 = AnimatePrepare(1, *s.Movie1, SettingsIni(), ShellHost());
    if (film1->Count != 1 && TwoMovieComposition() && s.Movie2)
      AnimatePrepare(2, *s.Movie2, SettingsIni(), ShellHost());
  }
  EnableMenuGroup(TMenuGroup::All, true);
  FocusPictureArea();
}

void AskFilm() {
  const TShellState& s = Shell();
  if (Composition().CompositionMode == -1000 || !s.CurrentKeyM1) {
    if (ShellHost().Question(Tr(mt::kComputeFirst))) PostShellCommand(83);
    return;
  }
  PostShellCommand(121);
}

void BeginnerPicture() {
  TShellState& s = Shell();
  if (!s.Movie1) return;
  if (!s.RenderM1) {
    s.CurrentKeyM1 = TakeCurrentKey(s.Movie1.get());
    s.RenderM1 = std::make_unique<TRender>();
  }
  const std::string word = Tr(shell_texts::kBeginnerWord);
  if (s.BeginnerName != word) {
    const TParameter* key = s.Movie1->GetActualParameter();
    s.BeginnerName = key ? key->FileNameKey : std::string();
  }
  if (s.BeginnerName.empty()) {
    ShellHost().Information(Tr(mt::kBeginnerMissing));
    return;
  }
  Composition().ShownImage = 1;
  TPixmapPtr picture = LoadPng(NativePath("Output\\" + s.BeginnerName + ".PNG"));
  if (!picture) picture = LoadPng(NativePath("Output\\" + s.BeginnerName + ".png"));
  if (!picture) ShellHost().Information(Tr(mt::kBeginnerMissing));
  s.RenderM1->Image = picture;
  RequestRepaint();
}

void NewStartFile() {
  TShellState& s = Shell();
  if (!s.Movie1) {
    ShellHost().Information(Tr(mt::kLoadFileFirst));
    return;
  }
  std::string name = s.ChosenMovieName;
  if (RequestIniFile(Tr(mt::kSelectStartFile), name)) {
    s.ChosenMovieName = name;
    TINI& ini = SettingsIni();
    TINIGroup* load = ini.Find("Load");
    if (!load) load = ini.Add("Load");
    if (TINIVar* v = load->Find("Start-ini"))
      v->Value = name;
    else
      load->Add("Start-ini", name);
    ini.Save("", "", ShellHost());
  }
  RequestRepaint();
  FocusPictureArea();
}

void OpenHelp(int command) {
  TGui& gui = Gui();
  const THandle item = gui.FindMenuItem(MainWindow().Window, command);
  if (!item) return;
  const std::string url = "http://" + gui.MenuText(item);
  if (!gui.OpenUrl(url)) ShellHost().Information(Tr(shell_texts::kNoBrowser) + url);
}

}  // namespace

void SetFilmRunner(TFilmRunner runner) { FilmRunner() = std::move(runner); }

bool RunProgramCommand(int command) {
  switch (command) {
    case 120: SavePicture(); return true;
    case 122: AskFilm(); return true;
    case 121: ProduceFilm(); return true;
    case 4: BeginnerPicture(); return true;
    case 6: NewStartFile(); return true;
    case 125:
    case 126: OpenHelp(command); return true;
    case 11:
      if (ConfirmEnd()) Shell().Ending = true;
      return true;
    default: return false;
  }
}

}  // namespace ork
