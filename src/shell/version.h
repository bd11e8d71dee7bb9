// The program's version, as the build names it (one place: the project's
// version in CMakeLists.txt, which also names the Debian package).
#pragma once

namespace ork {

// "0.1", for example.
const char* ProgramVersion();

}  // namespace ork
