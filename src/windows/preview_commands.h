// The preview and Julia window commands: 42-49 fill preview window 1-4 of
// Movie 1 / Movie 2, 50 and 51 pick the preview window by the current key,
// 40 closes every preview, Julia and dynamics picture window, 41 brings
// them to the front, 52 and 54-57 set the preview size, 59-63 the Julia
// height, 64 fills the next Julia window of Movie 1.
#pragma once

#include <string>

namespace ork {

class TParameterAnim;

void RegisterPreviewCommands();
// The preview and Julia commands and the point-dynamics commands
// (windows/dynamics_commands.h) together: the windows' one registration.
void RegisterPreviewAndDynamicsWindows();

// Opens preview slot `number` (1-4) of Movie 1 (kind 0) or Movie 2 (kind 1)
// when empty and fills it with the movie, PreviewWidth and the title
// number + " Vorschau M1/M2"; the start preview (StartPreviewPending) of
// window 1 is 50 pixels wide, later ones PreviewWidth. Then posts 41. A
// missing Movie 1 / Movie 2 is told for window 1.
void PreviewCommand(int kind, int number);

// Julia slot `number` (1-4) opened for kind 0 (Movie 1) or 1 (Movie 2)
// with a width x height picture when empty (reopened when laid out for
// another size), then filled with `movie` and `title`.
void ShowJuliaWindow(int kind, int number, int width, int height, TParameterAnim& movie,
                     const std::string& title);
// Command 64: JuliaNext += 1 (5 wraps to 1); Movie 1 in that Julia window
// at JuliaPreviewHeight rows and the movie's aspect.
void JuliaWindowM1();

// Command 40 and 41.
void CloseAllPreviews();
void RaiseAllPreviews();

}  // namespace ork
