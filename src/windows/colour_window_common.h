// What the four colour windows share: which colour-list entry they edit,
// the repaint request after a change, the scaling of the factor sliders,
// the sample pictures (100 x 100 pixels, numbered with the bitmap font) and
// the row of range fields of the coding and colour factor windows.
#pragma once

#include <memory>
#include <string>

#include "engine/pixmap.h"
#include "engine/render.h"
#include "gui/gui.h"
#include "model/movie.h"
#include "model/parameter.h"

namespace ork {

inline constexpr int kSampleSide = 100;  // sample pictures, pixels per side

// The colour-list entry every colour window edits: 3 while the fourfold
// Movie 1 picture is shown (CompositionMode 4), else 0.
int EditedColourEntry();

// The movie's current keyframe (the record itself) with its colour lists
// parsed and the edited entry made current (SelectColorVariant); null when
// the movie or its keyframe is missing.
TParameter* EditedKeyframe(TParameterAnim* movie);

// The shell command that repaints the current composition without
// recomputing it, by CompositionMode; 0 when there is none.
int RepaintCommand(int compositionMode);
// Posts RepaintCommand(CompositionMode) when there is one.
void PostColourRepaint();

// Slider of a real value v over the range [from, to]: a position s stands
// for s / Maxfakt. A range of width 0 (or not a number) scales as width 1,
// so the factor stays finite.
struct TSliderScale {
  double Maxfakt = 1.0;
  int minimum = 0;
  int maximum = 0;
  int position = 0;
};
TSliderScale ScaleSlider(double from, double to, double value);

// A factor as the windows show it: FormatNumber with 1 decimal above 1000,
// 3 from 1 on, else 5 (the decimals the colour lists are written with).
std::string FactorText(double value);

// Top-left corner of sample panel `index` (0-based): from (x0, y0), `step`
// pixels apart, a new row `step` lower when the next panel would pass the
// client width.
TRect SamplePanelRect(int index, int x0, int y0, int step, int clientWidth);

// A sample window at the parent window's position + (32, 32) with a
// client area of width x height and a status line.
THandle CreateSampleWindow(THandle parent, const std::string& title, int width, int height);
// Sample panels panels[1 .. count], numbered by their titles, laid out as
// SamplePanelRect says.
void CreateSamplePanels(THandle window, THandle* panels, int count, int x0, int y0, int step,
                        int clientWidth);
// The number 1 .. count of a sample panel, 0 for any other gadget.
int SamplePanelNumber(const THandle* panels, int count, THandle gadget);

// FensterCol after a colour-shift change: samples not computed yet or just
// computed (0 or below) need only recolouring (1); samples kept for an F1
// change (3) are computed again (0).
void ShiftChanged(TParameterAnim& movie);

// Prints `number` at (0, 0) of a sample in the font that a picture five
// times the sample's height would print with.
void DrawSampleNumber(TPixmap& sample, int number);

// A copy of `key` sized as a sample (the keyframe itself keeps its size
// and plane width).
TParameter SampleKeyframe(const TParameter& key);

// Computes the sample keyframe into `render` (initialised for it). The
// window's status line shows the progress; no event is taken from the
// queue, so nothing the user does meanwhile is lost.
void ComputeSample(TParameter& sample, TRender& render, THandle window);

// The top row of the coding and colour factor windows: old-value label,
// "from" and "to" fields with their labels, the "actual" button and the
// slider below them over the client width.
struct TRangeRow {
  THandle Label = 0;
  THandle LabVon = 0;
  THandle TextBoxVon = 0;
  THandle LabBis = 0;
  THandle TextBoxBis = 0;
  THandle Cmd_actual = 0;
  THandle Slider = 0;
};
TRangeRow CreateRangeRow(THandle window, int clientWidth);

// Takes the number of a range field into the shared range value when the
// event stores it (the field lost the focus or Return was pressed in it).
// True when the event was one of the two fields'.
bool StoreRangeField(const TRangeRow& row, const TEvent& event);
// Reads both range fields into the shared range values.
void ReadRangeFields(const TRangeRow& row);
// Shows the shared range values in the fields and sets the slider.
void ShowRange(const TRangeRow& row, const TSliderScale& scale);

}  // namespace ork
