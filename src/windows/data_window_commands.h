// The shell commands that open the keyframe data windows and the picture
// format window: 16 (data window of Movie 1), 1013 (its part 2), 17 (data
// window of Movie 2), 1017 (its part 2), 13, 14, 15 (picture format of
// Movie 1, of Movie 2, of both). Each rewrites the status line, closes the
// window of its slot and opens and fills a new one.
#pragma once

namespace ork {

// Binds the seven command numbers (shell/commands.h SetCommandHandler).
void RegisterDataWindows();

}  // namespace ork
