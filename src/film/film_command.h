// The film command: the film settings dialog, one film movie per movie the
// composition shows (AnimatePrepare, saved as "Output\" + name +
// "-Animation.ini"), then the production loop (AnimateRun).
//
// Entry point for the GUI's command 121 and for orkelund-render --film:
//
//   TFilmRequest request{&movie1, &movie2, &SettingsIni()};
//   TFilmCommandResult r = RunFilmCommand(request, host, dialog, view);
//
// The caller disables and re-enables its menus around the call and gives
// the picture area the focus (TFilmView::Begin is called just before the
// first frame).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "film/animate_run.h"
#include "film/avi_writer.h"
#include "film/film_range.h"
#include "model/host.h"
#include "model/movie.h"

namespace ork {

class TINI;

// The contents of the film settings dialog "Film Einstellungen" / "Movie
// settings": check boxes as flags, text fields as typed.
struct TFilmDialogValues {
  bool Preview = false;  // [AnimMode] "Preview"
  struct TKind {
    std::string Fps;   // "FPS"
    bool Jpg = false, Png = false, Bmp = false, Avi = false;
    bool Mp4 = false;  // "MP4"; a missing key is unticked
  };
  TKind Normal;        // [Anim]
  TKind PreviewKind;   // [AnimPreview]
  std::string Width;   // [AnimPreview] "Width"
};

// The dialog's gadgets filled from the settings store: a check box shows
// the integer value of its key (non-zero: ticked), a text field its text
// ("" for a missing key).
TFilmDialogValues ReadFilmDialogValues(const TINI& settings);
// What "Start" does: every check box stored as "1" or "0" and every text
// field's text as typed, into the store in memory (missing sections and
// keys are added); nothing is validated and no file is written. "MP4" is
// not among the settings file's defaults: its key is added only once the
// box is ticked.
void StoreFilmDialogValues(const TFilmDialogValues& values, TINI& settings);

// The film settings dialog. The GUI shows the window (246 x 345 pixels at
// the main window's position); Run returns true for "Start" (after
// StoreFilmDialogValues), false for "Abbruch" / "Cancel" or closing the
// window, which change nothing.
class TFilmSettingsDialog {
 public:
  virtual ~TFilmSettingsDialog() = default;
  virtual bool Run(TINI& settings) = 0;
};

// A dialog answered without a window: "Start" with the given preview
// choice and everything else as the settings hold it.
class TFilmSettingsPreset final : public TFilmSettingsDialog {
 public:
  explicit TFilmSettingsPreset(bool preview) : preview_(preview) {}
  bool Run(TINI& settings) override;

 private:
  bool preview_;
};

struct TFilmRequest {
  TParameterAnim* Movie1 = nullptr;  // required
  TParameterAnim* Movie2 = nullptr;  // required for two-movie compositions
  TINI* Settings = nullptr;          // the program settings (SettingsIni), required
  uint64_t AviFileLimit = kAviFileLimit;
  std::vector<std::string> VideoFiles{};  // further videos (.mp4 / .webm), native paths
  TFrameRange Frames{};       // the frames to produce; by default the whole film
  bool SaveFilmMovie = true;  // save "Output\" + name + "-Animation.ini"
};

struct TFilmCommandResult {
  // Why the command ended: Produced (AnimateRun ran, possibly cancelled or
  // with 0 frames), DialogCancelled, PreparationAbandoned (a film movie came
  // back with Count 1), MissingMovie (a required movie or the settings are
  // absent).
  enum class TEnd { Produced, DialogCancelled, PreparationAbandoned, MissingMovie };
  TEnd End = TEnd::MissingMovie;
  int Frames1 = 0, Frames2 = 0;  // frame counts of the prepared films
  // The film movies ("-Animation.ini", native paths) this command saved.
  std::vector<std::string> SavedMovies;
  TFilmRunResult Run;            // filled when End is Produced
};

// The film movies of a request, as RunFilmCommand prepares them before
// producing the film. End is Produced when they are ready; Film2 is null
// for the compositions of Movie 1 alone.
struct TPreparedFilms {
  TFilmCommandResult::TEnd End = TFilmCommandResult::TEnd::MissingMovie;
  std::unique_ptr<TParameterAnim> Film1, Film2;
  // The film movies ("-Animation.ini", native paths) saved by PrepareFilms;
  // fewer than films when a save failed or the request saves none.
  std::vector<std::string> SavedMovies;
  bool TwoMovies() const { return Film2 != nullptr; }
};
TPreparedFilms PrepareFilms(const TFilmRequest& request, THost& host,
                            TFilmSettingsDialog& dialog);

// The film command's steps: GridAutoMode 0, the dialog, AnimatePrepare for
// Movie 1 and (for two-movie compositions, CompositionMode) Movie 2, then
// AnimateRun (request.Frames of the film) and GridAutoMode 0 again.
// Questions and messages go through host, the frames to view. The source
// movies keep their current keys.
TFilmCommandResult RunFilmCommand(const TFilmRequest& request, THost& host,
                                  TFilmSettingsDialog& dialog, TFilmView& view);

}  // namespace ork
