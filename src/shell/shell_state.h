// The shell's working state, owned by the event loop: the two movies, the
// keyframes last taken from them for computing, the render objects, the
// history counters, the tool-window slots and the mouse-tool state.
// Shell() is the one instance; ResetShellState() (also run by
// ResetProcessState()) brings it back to its start values so tests start
// clean.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "engine/render.h"
#include "gui/event.h"
#include "model/movie.h"
#include "model/parameter.h"

namespace ork {

// A tool window as the event loop sees it. The window classes (data,
// format, colour, preview, Julia, dynamics picture, points, settings
// windows) derive from it; their own Open and Fill take class arguments.
class TToolWindow {
 public:
  virtual ~TToolWindow() = default;
  // The window's handle: close requests with this source close it.
  virtual THandle Handle() const = 0;
  // Called by the loop for every event while the window is open, before
  // the loop handles the event itself.
  virtual void OnEvent(const TEvent& event) = 0;
  // Brings the window to the front (preview, Julia, dynamics windows).
  virtual void Maxi() {}
  // Shows its movie's current keyframe again after the shell changed which
  // keyframe is current (data windows).
  virtual void ShowActualKey() {}
  // Called by the loop after it handled an event (a command, a mouse tool,
  // another window's action): the window shows what changed meanwhile in
  // its movie, or the movie that took its place.
  virtual void Sync() {}
  // Destroys the window's gadgets and the window. Called once, by
  // CloseSlot, before the object is deleted.
  virtual void Close() = 0;
};

// The slots in the order in which the loop offers them each event.
enum class TSlot : int {
  Points,
  PictureFormat,
  Settings,
  DataM1,
  DataM1Part2,
  DataM2,
  DataM2Part2,
  ColourTables,
  ColourShift,
  ColourFactor,
  Coding,
  PreviewM1_1,
  PreviewM1_2,
  PreviewM1_3,
  PreviewM1_4,
  PreviewM2_1,
  PreviewM2_2,
  PreviewM2_3,
  PreviewM2_4,
  DynamicsPicture,
  Julia1,
  Julia2,
  Julia3,
  Julia4,
  Count
};
inline constexpr int kSlotCount = static_cast<int>(TSlot::Count);

// The marker by which the colour windows know that no range is set: a
// single-precision constant widened to double.
inline constexpr double kNoColourRange = static_cast<double>(0.1234567f);

// Mouse-tool state (all pixels of the picture area unless noted).
struct TToolState {
  int ZoomKeyHeld = 0;
  int CenterKeyHeld = 0;
  int JuliaKeyHeld = 0;
  int ToolArmed = 0;
  int MouseX = 0, MouseY = 0;
  int BoxX0 = 0, BoxY0 = 0;
  double BoxX1 = 0, BoxY1 = 0;
  int BoxState = 0;  // 0 no box, 1 dragging, 2 finished
  int ClickSide = 0; // 0 none, 1 left picture (Movie 1), 2 right (Movie 2)
};

class TParameterAnim;

// How a tool window reaches the movie it edits: by its place among the
// shell's two movies, looked up on every use. A movie replaced by a load,
// an exchange, a history step or a keyframe command is never reached
// through a pointer to the released one: the window then edits the movie
// that took that place.
class TMovieRef {
 public:
  TMovieRef() = default;
  // 1 Movie 1, 2 Movie 2; any other number refers to no movie.
  explicit TMovieRef(int movieNo) : movieNo_(movieNo == 1 || movieNo == 2 ? movieNo : 0) {}
  // The place `movie` has now; an empty reference for any other movie (a
  // history movie) and for null.
  static TMovieRef Of(const TParameterAnim* movie);

  // The shell's movie of that place, or null.
  TParameterAnim* Get() const;
  TParameterAnim* operator->() const { return Get(); }
  explicit operator bool() const { return Get() != nullptr; }
  int MovieNo() const { return movieNo_; }

 private:
  int movieNo_ = 0;
};

struct TShellState {
  std::unique_ptr<TParameterAnim> Movie1, Movie2;
  // The keyframe last taken from each movie for computing; points into
  // the movie (null when none). Must be re-taken whenever the movie is
  // replaced or its keyframes are added or removed.
  TParameter* CurrentKeyM1 = nullptr;
  TParameter* CurrentKeyM2 = nullptr;
  std::unique_ptr<TRender> RenderM1, RenderM2;
  std::unique_ptr<TRender> RenderColour = std::make_unique<TRender>();
  int TempCounter = 0;
  int BackIndex = 0;
  int BackSteps = 0;
  int BackRepeat = 0;
  // The history movie the back preview (command 99) shows; kept until the
  // next back preview.
  std::unique_ptr<TParameterAnim> BackMovie;
  int PreviewWidth = 200;
  int JuliaPreviewHeight = 200;
  int JuliaNext = 0;
  bool StartPreviewSetting = true;
  bool StartPreviewPending = true;
  bool ToolbarSetting = true;
  bool ToolbarExists = false;
  bool BothFormats = false;
  int LastDynamicsLength = 400;
  int ColourTarget = 0;  // 0 Movie 1, 1 Movie 2: which movie the colour windows edit
  // The movie (1 or 2) whose picked point the dynamics windows show: the
  // orbit is computed, listed and labelled for that movie.
  int DynamicsMovie = 1;
  std::string BeginnerName;
  // The movie file name last chosen in the movie file chooser (with ".ini").
  std::string ChosenMovieName;
  // Colour windows: the two shared range values (kNoColourRange: none).
  double ColourRangeLow = kNoColourRange;
  double ColourRangeHigh = kNoColourRange;
  // Display mode of the colour table window, kept between its openings
  // (1 samples, 2 gradient).
  int ColourTableMode = 1;
  std::array<std::unique_ptr<TToolWindow>, kSlotCount> Slots;
  TToolState Tools;
  bool Ending = false;  // set when the user confirmed the end of the program
};

TShellState& Shell();
void ResetShellState();

// The slot's window, or null.
TToolWindow* SlotWindow(TSlot slot);
// Puts an opened window into a slot (closing the one there first).
void FillSlot(TSlot slot, std::unique_ptr<TToolWindow> window);
// Closes the slot's window (Close, then delete) and empties the slot.
void CloseSlot(TSlot slot);
void CloseAllSlots();

// Movie 1's / Movie 2's current keyframe with the movie's output size
// copied into it, or null when the movie or keyframe is missing.
TParameter* TakeCurrentKey(TParameterAnim* movie);

}  // namespace ork
