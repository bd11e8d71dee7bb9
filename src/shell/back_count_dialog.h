// The back-step dialog of the history: how many computed pictures to go
// back. A small modal window at the main window's position.
#pragma once

namespace ork {

// Shows the dialog with `count` in its field. "Bild Berechnen" stores the
// field's integer value (0 for text that is not a number) into `count` and
// returns it; Cancel and the close box return 0 and leave `count`. The main
// window stays enabled, but events of other windows are consumed without
// effect while the dialog waits.
int AskBackCount(int& count);

}  // namespace ork
