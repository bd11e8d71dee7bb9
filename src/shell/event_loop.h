// The main loop: the start sequence after the main window exists, then one
// turn per event (offer it to the open tool windows, then handle it by
// kind), until the user confirms the end. Commands run only here, one at a
// time; a command that needs a follow-up posts it.
#pragma once

#include "gui/event.h"

namespace ork {

// Queues a menu-command event with the main window as source.
void PostShellCommand(int command);

// The start sequence: settings, maximising, toolbar, language, the two
// movies, render objects, working values, menus and picture area, and the
// first command posted. The main window must exist (CreateMainWindow).
void StartSequence();
// Handles one event as the loop does. Returns false once the program ends
// (the main window is then destroyed). A command that fails to get memory
// (std::bad_alloc, TAllocationError with its size) is abandoned with a
// message box naming the size; the program goes on.
bool HandleEvent(const TEvent& event);
// The start sequence, then WaitEvent / HandleEvent until the end.
void MainLoop();

// Run before every key-down of the main window: when Movie 1's current key
// is no longer the one shown, asks whether to reset it; Cancel keeps the
// new key and repeats the last picture for it. Either way the open data
// windows then show the current keyframe.
void ShownKeyCheck();

// Asks "Close really ?"; true when the user confirmed.
bool ConfirmEnd();

}  // namespace ork
