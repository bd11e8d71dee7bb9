// The movie file chooser: a small modal window listing the movie files of
// "INI\" (names without extension) above a text field with the proposal.
#pragma once

#include <string>

namespace ork {

// Shows the chooser titled `title`, proposing `name` without its
// extension. True with name = the text field's text + ".ini" on OK; false
// (name unchanged) on Cancel or the close box. The main window is disabled
// meanwhile; events of other windows are consumed without effect.
bool RequestIniFile(const std::string& title, std::string& name);

}  // namespace ork
