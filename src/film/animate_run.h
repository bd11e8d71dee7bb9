// The film production loop: every frame of a prepared film movie (or of
// two, for the compositions that show Movie 1 and Movie 2) is computed when
// its compute flag says so, coloured and composed as the current
// composition shows it, shown, and written as picture files and into the
// AVI stream the film settings ask for.
//
// The loop runs modally on the caller's thread. The user is reached only
// through THost (questions, diagnostic lines, PollCancel twice per frame
// and once per picture row inside the computation) and TFilmView (the
// picture area and its progress label). The frame files and the AVI are
// encoded and written on a background thread (TFilmFrameQueue), in frame
// order; AnimateRun returns when every frame handed over is written. The
// first file that cannot be written stops the film with a message.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/render.h"
#include "film/avi_writer.h"
#include "model/host.h"
#include "model/movie.h"

namespace ork {

class TINI;

// Where a film run stands after a frame, for views that write their own
// progress line.
struct TFilmProgress {
  int Frame = 0;                 // the frame just done (film numbering)
  int First = 0, Last = 0;       // the frames of the run
  double ElapsedSeconds = 0;     // since the run began
  double RemainingSeconds = -1;  // estimated (TFilmTimeEstimate); negative: none yet
};

// The picture area as the film sees it. The GUI draws the picture and a
// label across the top; the command line prints the progress line.
class TFilmView {
 public:
  virtual ~TFilmView() = default;
  // The film starts: create the progress label (text M-RUN + M-ESC),
  // clear the area.
  virtual void Begin(const std::string& progressText) { (void)progressText; }
  // A composed frame: draw the render object's shown picture (the one
  // ShownImage selects, placed as DrawPixmapCenter places it).
  virtual void ShowFrame(TRender& render) { (void)render; }
  // The progress line of the frame just shown.
  virtual void Progress(const std::string& text) { (void)text; }
  // A frame has been handed over for writing.
  virtual void FrameDone(const TFilmProgress& progress) { (void)progress; }
  // The film has ended: remove the label.
  virtual void End() {}
};

// CompositionMode values of the compositions that take Movie 2 as well
// (0 or below, or above 20: inserts, colour addition, the double and
// fourfold pictures of both movies, the new-C double picture).
bool IsTwoMovieComposition(int compositionMode);

// The composition a film repeats for every frame, from CompositionMode at
// its start. The compositions move CompositionMode on while they run (222
// after the double pictures of both movies, 3 for a repeated new-C
// picture, -111 / 101 while an insert's overlays are drawn); these map back
// to the composition requested (22, 21, -1, 0). -1000 (a tool window's
// picture) and unknown values give the single picture (1).
int FilmCompositionMode(int compositionMode);

// What a film run did.
struct TFilmRunResult {
  int FramesShown = 0;    // frames composed and shown
  int FramesWritten = 0;  // frames whose every file (pictures, AVI, videos) was written
  int FramesComputed = 0; // fractal computations run (Movie 1 and Movie 2)
  bool Cancelled = false; // stopped by the user before the last frame
  bool WriteFailed = false;             // a write failed and stopped the film
  std::string WriteError;               // then: "<path>: <reason>"
  std::vector<std::string> AviFiles;    // the AVI file (a native path), when one was kept
  std::vector<std::string> VideoFiles;  // the completed MP4 / WebM files
  std::string FirstFrame;  // FileNameKey of the first frame handed over
  std::string LastFrame;   // FileNameKey of the last frame written completely
};

// Produces film1 (frames Actual..Count, or ..lastFrame when that is
// positive and smaller), with film2 for the two-movie compositions (pass
// the same object as film1 otherwise). The composition is the one
// CompositionMode names when the film starts; the film ends at the shorter
// of the two films. A film that starts after frame 1 writes its frames
// exactly as the whole film would: the frames before are replayed
// (ReplayFilmFrames) and a first frame that only repeats a picture gets
// the picture of the last frame before that was computed. settings holds
// [AnimMode], [Anim] and [AnimPreview]. aviFileLimit replaces the AVI's
// 1 GiB size limit (see TAviStream; tests use small ones). film1's current
// key, InsertPosX and InsertPosY are restored at the end; KeepLeftPicture,
// ShownImage and CompositionMode stay as the last composition left them. A
// film of 0 frames writes nothing.
// videoFiles: further video files (.mp4 / .webm, native paths) that
// receive every written frame besides what the settings ask for.
TFilmRunResult AnimateRun(TParameterAnim& film1, TParameterAnim& film2, const TINI& settings,
                          THost& host, TFilmView& view, uint64_t aviFileLimit = kAviFileLimit,
                          const std::vector<std::string>& videoFiles = {}, int lastFrame = 0);

}  // namespace ork
