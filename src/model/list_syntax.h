// The small lists packed into single keyframe texts: colour variants,
// overlay list with colours and thicknesses, grid settings, interpolation
// marks and the text output list. Parsing never fails: whatever cannot be
// read becomes a default or is skipped. ":" separates entries, "," fields;
// an entry whose first byte is "(" and last ")" is enclosed.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/host.h"
#include "model/parameter.h"

namespace ork {

class TParameterAnim;

// Process-wide grid settings of the keyframe parsed last (read by the
// coordinate grid).
struct TGridSettings {
  double dX = 0;    // grid spacing in x, plane units; 0 not set, -1/-2 automatic in films
  double dY = 0;
  int decX = -2;    // decimals of the labels; -2 not set
  int decY = -2;
  int size = 2;     // label digit size 1..3
  int labelsX = 1;  // 1: print the numbers of the lines of constant x
  int labelsY = 1;
  double shiftX = 50;  // position of the numbers along their line, percent
  double shiftY = 50;
};

// The process-wide values owned by the list syntaxes; reset by
// ResetProcessState().
struct TParameterListState {
  TGridSettings GridSettings;
  int PlusMalMode = 0;  // 0 no marks, 1 only "+", 2 only "*", 3 both
};
TParameterListState& ParameterListState();
inline TGridSettings& GridSettings() { return ParameterListState().GridSettings; }
inline int& PlusMalMode() { return ParameterListState().PlusMalMode; }

// --- colour lists "SelectPict", "ColTabNo", "ColShift", "ColFact" ---

// Entries 0..3 of an integer colour list; empty entries 1..3 take entry 0;
// element 4 is 0. "3:5" gives 3, 5, 3, 3, 0.
std::array<int, TParameter::kVariants> ParseVariantInts(std::string_view text);

// Parses the four colour lists into the per-variant arrays and makes
// variant k (0..3, clamped) current: SelectPicture, farbtab, ColShift,
// fact1..fact4, colz, colzh, colzv. Reads CompositionMode (4 and 44 make
// empty factor fields of variants 1..3 take those of variant 0). Does
// nothing for a null keyframe.
void SelectColorVariant(TParameter* key, int k);
inline void SelectColorVariant(TParameter& key, int k) { SelectColorVariant(&key, k); }

// Rewrites factL, SelectPictureL, farbtabL, ColShiftL from the per-variant
// arrays (collapsing equal variants; reads ShownImage). The factor texts
// Cfact1..Cfact4 are normalised on the way.
void RebuildColorLists(TParameter& key);

// Rewrites the four lists with the sub-pictures turned one place
// (new variant order 1, 3, 0, 2); a list whose four variants are equal is
// written as its single value.
void RotateColorLists(TParameter& key);

// --- overlays "LinesAndGrid", "LinesColor", "LinesThickness" ---

// Overlay kind index 0..7 of a trimmed token ("G", "M", "A", "CA", "CB",
// "C", "N", "NA"), -1 for any other.
int LineKindIndex(std::string_view token);

// Default colours and thicknesses of all ten overlay kinds.
void ResetLineStyles(TParameter& key);

// Kinds 0..6 to their defaults, then the entries of LinesColor and
// LinesThick from index 0 on (blank entries skipped, beyond ten ignored).
void ParseLineStyles(TParameter& key);

// Normalises an overlay list in place: known tokens, first occurrence only,
// kinds whose allowed value (thickness) is 0 dropped. flags[i] = 1 for the
// kinds left in the list. Afterwards thicknesses 0 of kinds 0..7 are 1
// again. An empty text stays empty.
void NormalizeLineList(std::string& text, std::array<int, TParameter::kLineKinds>& allowed,
                       std::array<int, TParameter::kLineKinds>& flags);

// --- grid "GridSizes" ---

// GridSettings = defaults, then the non-empty fields 1..9 of text.
void ParseGridSizes(std::string_view text);

// --- interpolation "InterpolationList" ---

// Parameter numbers of the sixteen interpolable names ("Param3" is 13),
// 0 for any other name.
int InterpolationIndex(std::string_view name);

// Rebuilds InterpP / InterpM of the keyframe from its InterpolationList and
// sets PlusMalMode; writes the diagnostic "Tools 600 PlusMal=" + mode.
void ParseInterpolationList(TParameter& key, THost& host = QuietHost());
// The same for the movie's current keyframe; nothing for an empty movie.
void ParseInterpolationList(TParameterAnim& movie, THost& host = QuietHost());

// Check-box editing of the data window for the row of parameter name:
// InterpolationListAdd prepends "(" + name + "," + mode + ")";
// InterpolationListRemove keeps the entries whose name differs (enclosed
// entries are named by their trimmed first field, others by the trimmed
// entry; blank entries are dropped; kept entries are copied unchanged).
std::string InterpolationListAdd(std::string_view list, std::string_view name, char mode);
std::string InterpolationListRemove(std::string_view list, std::string_view name);
// One check box of a row changed: mode '+' or '*', ticked its new state,
// otherTicked whether the other box of the row is ticked (ticking one
// unticks the other, whose entries are removed first; the caller clears
// that box).
std::string InterpolationCheckBox(std::string_view list, std::string_view name, char mode,
                                  bool ticked, bool otherTicked);

// --- text output "TextOutputList" ---

// Parameter numbers of the names that can be marked in ParamText, 0 else.
int TextOutputIndex(std::string_view name);

// ParamText of the keyframe from its TextOutputList (enclosed entries only).
void ParseTextOutputList(TParameter& key);
// The same for the movie's current keyframe; nothing for an empty movie.
void ParseTextOutputList(TParameterAnim& movie);

// Pixel position of a text output field: "n" pixels or "n%" of maximum,
// clamped to minimum..maximum.
int ParsePosition(std::string_view text, int minimum, int maximum);

// Check-box editing: Add prepends "(0,0," + name + "=," + name + ")";
// Remove keeps the entries whose name (trimmed field 3 of an enclosed
// entry, else the trimmed entry) differs.
std::string TextOutputListAdd(std::string_view list, std::string_view name);
std::string TextOutputListRemove(std::string_view list, std::string_view name);

}  // namespace ork
