// The numbered commands of the event loop. ExecuteCommand runs one: first a
// handler registered for the number (the tool windows and later command
// groups plug in here), then the built-in groups in turn; any other number
// does nothing. Commands never nest: a follow-up is posted.
#pragma once

#include <functional>

namespace ork {

using TCommandHandler = std::function<void(int command)>;

void ExecuteCommand(int command);

// Binds `command` to `handler` (an empty handler removes the binding).
// A registered handler takes precedence over the built-in one.
void SetCommandHandler(int command, TCommandHandler handler);
void ClearCommandHandlers();

// The built-in groups; each returns false for a number it does not know.
// Computing and showing: 83, 84, 105, 106, 107, 108, 109, 1, 29, 30, 80, 42
// (see there).
bool RunComputeCommand(int command);
// Pictures, film, files, help, end: 120, 122, 121, 4, 6, 125, 126, 11.
bool RunProgramCommand(int command);
// Movie files, history and keyframes: 2, 3, 7, 8, 9, 10, 18, 19, 20,
// 97-101, 103 (shell/commands_movie.h).
bool RunMovieFileCommand(int command);
// Two-movie compositions: 85-96 (shell/commands_composition.h).
bool RunCompositionCommand(int command);

// The film production that command 121 runs after closing the tool windows
// and disabling the menus. Without one registered the film movies are only
// prepared (AnimatePrepare, which saves them as "-Animation.ini").
using TFilmRunner = std::function<void()>;
void SetFilmRunner(TFilmRunner runner);

// TempCounter + 1 and `movie` saved as "TEMP\" + "temp" + n + ".ini" (the
// movie keeps its own path and file name).
class TParameterAnim;
void SaveHistoryFile(TParameterAnim& movie);

}  // namespace ork
