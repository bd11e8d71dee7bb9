// The history commands (97-101, 103) and the keyframe commands (18, 19,
// 20) of the movie-file group: both load a history file "TEMP\temp<n>.ini"
// as Movie 1, Movie 2 or the separate back-preview movie.
#include "shell/commands_movie.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/render.h"
#include "film/texts.h"
#include "gui/gui.h"
#include "model/file_io.h"
#include "model/movie.h"
#include "model/paths.h"
#include "model/process_state.h"
#include "picture/composition.h"
#include "shell/back_count_dialog.h"
#include "shell/event_loop.h"
#include "shell/main_window.h"
#include "shell/movie_texts.h"
#include "shell/shell_host.h"

namespace ork {

namespace {

namespace t = movie_texts;

// History file n exists when this run wrote it (1..TempCounter) and it is
// still there; a file of an earlier run or a made-up default movie would
// replace the user's movie with something unrelated.
bool HistoryAvailable(int n) {
  std::error_code ec;
  if (n >= 1 && n <= Shell().TempCounter &&
      std::filesystem::is_regular_file(NativePath("TEMP\\" + HistoryFileName(n)), ec))
    return true;
  ShellHost().Information(Tr(t::kHistoryMissing1) + HistoryFileName(n) +
                          Tr(t::kHistoryMissing2));
  return false;
}

// How a reloaded Movie 1 is shown: computed in the main window when its
// picture is at most `maxComputedHeight` pixels high, else as a preview.
struct TReloadRule {
  int maxComputedHeight = 500;
  bool computedSetsMode = true;     // CompositionMode = 1 after computing
  bool computedSetsLastKey = true;  // LastKeyM1 = Actual after computing
  bool previewSetsMode = false;     // CompositionMode = -1000 for the preview
  int previewWidth = 0;             // 0: PreviewWidth
};

// Movie `movieNo` replaced by the history file (its keyframe and render
// object with it) while the menus are disabled: the new current keyframe,
// a render object initialised from it, the movie's status line. Returns
// the keyframe (null when the movie has none).
TParameter* ReplaceFromHistory(int movieNo, const std::string& file) {
  TShellState& s = Shell();
  std::unique_ptr<TParameterAnim>& movie = movieNo == 1 ? s.Movie1 : s.Movie2;
  TParameter*& key = movieNo == 1 ? s.CurrentKeyM1 : s.CurrentKeyM2;
  std::unique_ptr<TRender>& render = movieNo == 1 ? s.RenderM1 : s.RenderM2;
  EnableMenuGroup(TMenuGroup::All, false);
  std::unique_ptr<TParameterAnim> loaded = LoadMovieFile(movieNo, "TEMP\\", file);
  TParameter* next = TakeCurrentKey(loaded.get());
  // The buffers before the movie is replaced: a picture too large to be had
  // leaves the movie, its keyframe and its picture as they were.
  if (!next || !render) render = std::make_unique<TRender>();
  if (next) render->Init(*next);
  key = next;
  movie = std::move(loaded);
  SetStatus(SingleStatusText(movieNo, movie->Actual, key ? key->julia : 0, movie->FileName));
  FocusPictureArea();
  return key;
}

void ReloadMovie1(const std::string& file, const TReloadRule& rule) {
  TShellState& s = Shell();
  TShellHost& host = ShellHost();
  TParameter* key = ReplaceFromHistory(1, file);
  if (key && key->OutputHeight > rule.maxComputedHeight) {
    if (rule.previewSetsMode) Composition().CompositionMode = -1000;
    OpenPreview(TSlot::PreviewM1_1, 0, 1, *s.Movie1,
                rule.previewWidth > 0 ? rule.previewWidth : s.PreviewWidth,
                "1 " + Tr(t::kPreviewM1));
  } else if (key) {
    TRender* render = s.RenderM1.get();
    // Q during the computation shows what is computed so far.
    Calculate(*key, &host, *render, [key, render, &host] {
      ShowCalculated(key, render, host);
      PaintPictureArea();
    });
    // The progress text of the computation gives way to the picture's line.
    SetStatus(SingleStatusText(1, s.Movie1->Actual, key->julia, s.Movie1->FileName));
    if (rule.computedSetsLastKey) ShownKeys().LastKeyM1 = s.Movie1->Actual;
    if (rule.computedSetsMode) Composition().CompositionMode = 1;
    Gui().SetFocus(MainWindow().Window);
    PostShellCommand(105);
  }
  EnableMenuGroup(TMenuGroup::All, true);
  PostShellCommand(16);
}

void ReloadMovie2(const std::string& file, bool preview) {
  TShellState& s = Shell();
  ReplaceFromHistory(2, file);
  if (preview) {
    Composition().CompositionMode = -1000;
    OpenPreview(TSlot::PreviewM2_1, 1, 1, *s.Movie2, s.PreviewWidth, "1 " + Tr(t::kPreviewM2));
  }
  EnableMenuGroup(TMenuGroup::All, true);
  PostShellCommand(16);
}

// The back preview: the history file as a movie of its own.
void ShowBackPreview() {
  TShellState& s = Shell();
  if (!HistoryAvailable(s.BackIndex)) return;
  const std::string file = HistoryFileName(s.BackIndex);
  // The old movie lives until the preview holds the new one.
  std::unique_ptr<TParameterAnim> old = std::move(s.BackMovie);
  s.BackMovie = LoadMovieFile(1, "TEMP\\", file);
  Composition().CompositionMode = -1000;
  FocusPictureArea();
  OpenPreview(TSlot::PreviewM1_1, 2, 4, *s.BackMovie, s.PreviewWidth, file);
}

// Writes the changed movie as the next history file. A file that could
// not be written is said and uses up no number, so that the reload never
// meets a missing or stale file.
template <typename TWrite>
bool WriteNextHistoryFile(TParameterAnim& movie, TWrite write) {
  TShellState& s = Shell();
  const std::string path = movie.Path, file = movie.File;
  const std::string next = HistoryFileName(s.TempCounter + 1);
  const bool ok = write(next) == 1;
  movie.Path = path;
  movie.File = file;
  if (!ok) {
    ShellHost().Information(Tr(film_texts::kSaveFailed) + "\nTEMP\\" + next + LastSaveReason());
    return false;
  }
  s.TempCounter += 1;
  return true;
}

}  // namespace

void BackCommand(int command) {
  TShellState& s = Shell();
  switch (command) {
    case 100:
      s.BackIndex = std::max(s.TempCounter - 1, 1);
      PostShellCommand(99);
      break;
    case 101:
      s.BackRepeat = 0;
      s.BackSteps = s.TempCounter - s.BackIndex;
      if (AskBackCount(s.BackSteps) != 0) {
        s.BackIndex = std::max(s.TempCounter - s.BackSteps, 1);
        PostShellCommand(99);
      }
      break;
    case 99: ShowBackPreview(); break;
    case 103:
      s.BackRepeat += 1;
      s.BackIndex = std::max(s.TempCounter - s.BackRepeat, 1);
      PostShellCommand(97);
      break;
    case 97:
      if (HistoryAvailable(s.BackIndex)) ReloadMovie1(HistoryFileName(s.BackIndex), {});
      break;
    case 98:
      if (HistoryAvailable(s.BackIndex)) ReloadMovie2(HistoryFileName(s.BackIndex), true);
      break;
    default: break;
  }
}

void DuplicateKey(int movieNo) {
  TShellState& s = Shell();
  TParameterAnim* movie = movieNo == 1 ? s.Movie1.get() : s.Movie2.get();
  if (!movie) return;
  // The insert marks the new key as Movie 1's shown key; for Movie 2 that
  // would belong to the other movie.
  const int lastKeyM1 = ShownKeys().LastKeyM1;
  const bool written = WriteNextHistoryFile(*movie, [movie](const std::string& file) {
    return movie->SaveInsert(1, "TEMP\\", file, ShellHost());
  });
  if (movieNo == 2) ShownKeys().LastKeyM1 = lastKeyM1;
  if (!written) return;
  if (movieNo == 1) {
    TReloadRule rule;
    rule.maxComputedHeight = 200;
    rule.computedSetsMode = false;
    ReloadMovie1(HistoryFileName(s.TempCounter), rule);
  } else {
    ReloadMovie2(HistoryFileName(s.TempCounter), false);
  }
}

void DeleteKey() {
  TShellState& s = Shell();
  if (!s.Movie1) return;
  TParameterAnim& movie = *s.Movie1;
  if (!ShellHost().Question("KEY" + std::to_string(movie.Actual) + Tr(t::kDeleteReally))) return;
  if (movie.Count < 2) {
    ShellHost().Information(Tr(t::kOnlyKey));
    return;
  }
  const bool written = WriteNextHistoryFile(movie, [&movie](const std::string& file) {
    return movie.SaveDeleteActual("TEMP\\", file, ShellHost());
  });
  if (!written) return;
  TReloadRule rule;
  rule.maxComputedHeight = 100;
  rule.computedSetsLastKey = false;
  rule.previewSetsMode = true;
  rule.previewWidth = 50;
  ReloadMovie1(HistoryFileName(s.TempCounter), rule);
}

}  // namespace ork
