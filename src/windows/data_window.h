// The keyframe data windows: every key of one movie's current keyframe as a
// labelled text field, check boxes for the interpolation and text-output
// marks, navigation between keyframes and buttons that post the shell's
// commands for the keyframe. Four variants share one implementation:
// TWindowParameter (Movie 1), TWindowParameterTeil2 (Movie 1, rows 3..18
// hidden for small screens), TWindowParameterBild2 (Movie 2) and
// TWindowParameterTeil2Bild2.
//
// The window edits the movie in memory and never owns it. It reaches the
// movie through its place (Movie 1 or Movie 2), never through a pointer
// that a reload, an exchange or a history step would leave dangling, and
// after every event the loop handled it shows again what changed in the
// keyframe meanwhile (a zoom, a computation's write-back, a movie that
// took the place of the one shown).
#pragma once

#include <array>
#include <memory>
#include <string>

#include "gui/gui.h"
#include "model/movie.h"
#include "shell/shell_state.h"
#include "windows/data_window_rows.h"

namespace ork {

class TDataWindow : public TToolWindow {
 public:
  static constexpr int ParameterAnzahl = kDataRows;
  using TRowGadgets = std::array<THandle, ParameterAnzahl + 1>;  // element 0 unused

  THandle Handle() const override { return Window; }
  void OnEvent(const TEvent& event) override;
  void Close() override;
  // An edit not stored yet goes to the keyframe shown so far; then the
  // movie's current keyframe is shown.
  void ShowActualKey() override;
  // Shows the movie's current keyframe again when it, its number or the
  // movie changed since the window last showed or stored it. A field with
  // an edit not stored yet keeps the typed text.
  void Sync() override;

  // Shows the movie's current keyframe (or "Empty" when it has none).
  void Fill(TParameterAnim& movie);
  void FillOne(int row, const std::string& key, const std::string& value);
  // Stores the edited text of one row into the keyframe the window shows
  // (which need not be the movie's current one any more).
  void TakeOne(int row);
  // The text field of the row showing that list, or 0.
  THandle GetGadgetTextOutputList() const;
  THandle GetGadgetInterpolationList() const;
  // Apply the row's check box to the list, store it, show it in `field`.
  void CreateInterpolationListP(THandle field, int row);
  void CreateInterpolationListM(THandle field, int row);
  void CreateTextOutputList(THandle field, int row);

  bool IsMovie2() const { return movie2_; }
  bool IsPart2() const { return part2_; }
  // The movie the window acts on: the shell's movie of the place the
  // window was filled for, or null.
  TParameterAnim* LiveMovie() const;
  // Creates the window and every gadget (data_window_layout.cpp); run once
  // by Open.
  void Create(THandle mainWindow);

  THandle Window = 0;
  TMovieRef UsedAnim;  // the movie shown, by its place (not owned)
  THandle LabGroup = 0;
  THandle Cmd_Tausch = 0, Cmd_Format = 0, Cmd_Exit = 0, Cmd_Insert = 0, Cmd_DeleteK = 0;
  THandle Cmd_Anfang = 0, Cmd_Zurueck = 0, Cmd_Vor = 0, Cmd_Ende = 0;
  THandle Cmd_EinfuegA = 0, Cmd_Berechnen = 0, Cmd_Vorschau = 0, Cmd_Zweibil = 0;
  THandle Cmd_RunVideo = 0, Cmd_UmZu1 = 0, Cmd_UmZu2 = 0, Cmd_UmZu4 = 0;
  THandle Cmd_Aktualisieren = 0;
  // The keyframe's deep switch, on the "Navigation:" line of the full
  // variants (the part-2 variants hide the view's rows anyway).
  THandle CK_Deep = 0;
  TRowGadgets Lab{}, TextBox{}, CK_ParamText{}, CK_InterpP{}, CK_InterpM{};

 protected:
  TDataWindow(bool movie2, bool part2, TSlot slot, TStoreRules rules);

 private:
  // Returns true when the window closed itself (this is then deleted).
  bool Handle(const TEvent& event);
  bool Button(THandle source);
  void DisplayButton(int compositionMode);
  void ApplyMarkBox(THandle field, int row, char mode);
  int RowOf(const TRowGadgets& gadgets, THandle source) const;
  // The keyframe the window shows, or null.
  TParameter* CurrentKey() const;
  // Sets a row's field and remembers the text as shown.
  void ShowField(THandle field, const std::string& text);
  // True when the row's field holds a text the user typed and that is not
  // stored yet.
  bool Edited(int row) const;
  // Sets the row's check boxes to the marks of the current keyframe.
  void ShowMarks(int row);
  // Remembers the keyframe's values as the window now shows them.
  void TakeSnapshot();

  bool movie2_;
  bool part2_;
  TSlot slot_;
  TStoreRules rules_;
  std::array<std::string, ParameterAnzahl + 1> rowKey_{};
  // What each field showed when filled or last stored: a differing text is
  // an edit not stored yet.
  std::array<std::string, ParameterAnzahl + 1> shownText_{};
  int shownKey_ = 0;  // the key number filled, 0 for none
  // The keyframe's values when the window last showed or stored them, and
  // the movie's keyframe count and object then: what Sync compares.
  std::array<std::string, ParameterAnzahl + 1> snapshot_{};
  int snapshotCount_ = -1;
  const TParameterAnim* snapshotMovie_ = nullptr;  // compared only, never used
  // While set, FillOne leaves a field with an edit not stored yet as it is.
  bool keepEdits_ = false;
};

class TWindowParameter : public TDataWindow {
 public:
  static std::unique_ptr<TWindowParameter> Open(THandle mainWindow);
  TWindowParameter() : TDataWindow(false, false, TSlot::DataM1, {true, true}) {}
};

class TWindowParameterTeil2 : public TDataWindow {
 public:
  static std::unique_ptr<TWindowParameterTeil2> Open(THandle mainWindow);
  TWindowParameterTeil2() : TDataWindow(false, true, TSlot::DataM1Part2, {false, false}) {}
};

class TWindowParameterBild2 : public TDataWindow {
 public:
  static std::unique_ptr<TWindowParameterBild2> Open(THandle mainWindow);
  TWindowParameterBild2() : TDataWindow(true, false, TSlot::DataM2, {false, false}) {}
};

class TWindowParameterTeil2Bild2 : public TDataWindow {
 public:
  static std::unique_ptr<TWindowParameterTeil2Bild2> Open(THandle mainWindow);
  TWindowParameterTeil2Bild2() : TDataWindow(true, true, TSlot::DataM2Part2, {true, true}) {}
};

}  // namespace ork
