#include "shell/version.h"

#ifndef ORK_VERSION
#error "ORK_VERSION is set by the build (the project's version)"
#endif

namespace ork {

const char* ProgramVersion() { return ORK_VERSION; }

}  // namespace ork
