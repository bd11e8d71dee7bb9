// Texts of the film-settings panels and the film settings dialog.
#pragma once

#include "model/language.h"

namespace ork::film_panel_texts {

inline constexpr TText2 kNormal{"Normal", "Normal"};
inline constexpr TText2 kPreviewPanel{"Vorschau", "Vorschau"};
inline constexpr TText2 kFps{"Bilder pro Sekunde (1-25)", "Images per second (1-25)"};
inline constexpr TText2 kWidth{"Bild Breite", "Image width"};
inline constexpr TText2 kDialogTitle{"Film Einstellungen", "Movie settings"};
inline constexpr TText2 kPreviewBox{"Vorschau", "Preview"};
inline constexpr TText2 kStart{"Start", "Start"};
inline constexpr TText2 kCancel{"Abbruch", "Cancel"};

}  // namespace ork::film_panel_texts
