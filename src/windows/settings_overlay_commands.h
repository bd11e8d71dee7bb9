// Registration of the settings window (command 5), the GUI film runner
// (command 121 with the film settings dialog) and the overlay, grid,
// line-style and filter commands.
#pragma once

namespace ork {

void RegisterSettingsFilmAndOverlays();

}  // namespace ork
