// The two film-settings panels shared by the settings window and the film
// settings dialog: "Normal" (frames per second and the four output flags of
// [Anim]) and "Vorschau" (the same for [AnimPreview] plus the picture
// width), and the store access both windows need.
#pragma once

#include <string>
#include <string_view>

#include "film/film_command.h"
#include "gui/gui.h"

namespace ork {

class TINI;

struct TFilmPanel {
  THandle Panel = 0;
  THandle Fps = 0;                          // text field "FPS"
  THandle Jpg = 0, Png = 0, Bmp = 0, Avi = 0;  // check boxes
  THandle Mp4 = 0;                          // check box beside AVI
  THandle Width = 0;                        // preview panel only: "Width"
};

// Builds one panel at (10, y) of `parent`. The preview panel is 147 pixels
// high and has the width row; the normal one is 114 high. fpsWidth is the
// width of the frames-per-second field (the two windows differ).
TFilmPanel BuildFilmPanel(THandle parent, int y, bool preview, int fpsWidth);

// Fills the panel from [section] of the store (a missing key shows as an
// empty field or an unticked box).
void FillFilmPanel(const TFilmPanel& panel, const TINI& store, std::string_view section);
// Writes the panel's fields as typed and its boxes as "1" / "0"; "MP4"
// only when ticked or already in the store.
void StoreFilmPanel(const TFilmPanel& panel, TINI& store, const std::string& section);

// The same through the film dialog's values (a box shows a non-zero value
// ticked); `width` is the preview panel's width text.
void FillFilmPanel(const TFilmPanel& panel, const TFilmDialogValues::TKind& kind,
                   const std::string& width = "");
TFilmDialogValues::TKind ReadFilmPanel(const TFilmPanel& panel);

// Sets [section] key = value, replacing the value in place; a missing
// section or key is appended.
void SetStoreValue(TINI& store, const std::string& section, const std::string& key,
                   const std::string& value);
// The text of [section] key, empty when missing.
std::string StoreText(const TINI& store, std::string_view section, std::string_view key);
// True when the integer conversion of [section] key is 1.
bool StoreTicked(const TINI& store, std::string_view section, std::string_view key);

// Ticks / reads a check box as the store keeps it.
inline std::string BoxValue(THandle box) { return Gui().GetState(box) ? "1" : "0"; }

}  // namespace ork
