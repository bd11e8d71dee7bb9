// The commands that manage the two movies: loading (2, 3) and saving (7, 8)
// through the movie file chooser, exchanging them (9), taking Movie 2's C
// into Movie 1 (10), the history of computed movies "TEMP\temp<n>.ini" and
// the back commands (97-101, 103), and duplicating and deleting keyframes
// (18, 19, 20), which write the changed movie as the next history file and
// load it back. RunMovieFileCommand (shell/commands.h) dispatches them.
//
// A movie is only ever replaced, never edited in place by these commands;
// replacing Movie 1 (Movie 2) releases CurrentKeyM1 and RenderM1 (M2) with
// it. A history file is only loaded when it was written in this run and
// still exists; otherwise the user is told and nothing changes.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "shell/shell_state.h"

namespace ork {

class TParameterAnim;

// Opens the preview window of `slot` when the slot is empty (kind 0 Movie 1,
// 1 Movie 2, 2 history movie; number 1..4, 4 for the history preview) and
// fills it with `movie`, the picture width in pixels and `title`. The
// preview windows register it; without one no preview opens. `movie` stays
// owned by the shell (Movie1, Movie2 or BackMovie).
using TPreviewOpener = std::function<void(TSlot slot, int kind, int number,
                                          TParameterAnim& movie, int width,
                                          const std::string& title)>;
void SetPreviewOpener(TPreviewOpener opener);
void OpenPreview(TSlot slot, int kind, int number, TParameterAnim& movie, int width,
                 const std::string& title);

// "temp" + n + ".ini", the history file n below "TEMP\".
std::string HistoryFileName(int n);

// Loads a movie as Movie `movieNo` would be loaded. For Movie 2 the
// loader's request to save a repaired file under a new name asks for
// Movie 2's save (8) instead of Movie 1's (7).
std::unique_ptr<TParameterAnim> LoadMovieFile(int movieNo, const std::string& path,
                                              const std::string& file);

// A movie whose Run is not "OK" becomes "OK", and each of its keyframes
// whose FileNameKey begins with "Stop!" is named "OK".
void ClearRepairMarks(TParameterAnim& movie);

// The command groups (numbers as above).
void LoadMovieCommand(int movieNo);
void SaveMovieCommand(int movieNo);
void ExchangeMovies();
void TakeCFromMovie2();
void BackCommand(int command);  // 97, 98, 99, 100, 101, 103
void DuplicateKey(int movieNo);  // 18 (Movie 1), 19 (Movie 2)
void DeleteKey();                // 20

}  // namespace ork
