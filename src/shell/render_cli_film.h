// orkelund-render --film: the film command without a window.
//
//   orkelund-render --film [--preview] --movie FILE [--movie2 FILE]
//       [--composition single|double|fourfold|double12|fourfold12|insertA|insertB|add]
//       [--video FILE.mp4|FILE.webm]... [--workdir DIR] [--yes|--no] [--quiet]
//       [--verbose] [--threads N] [--progress-every SECONDS] [--deep]
//       [--frames A-B | --plan [--jobs N] | --assemble]
//
// --frames, --plan and --assemble produce one film in parts, on as many
// processes or machines as a job scheduler offers (render_cli_film_range.h).
//
// The film settings are those of DIR/INI/Settings.ini (repaired when
// needed); --preview answers the dialog's "Vorschau" check box. The film
// movie and every frame are written to DIR/Output/. The progress line with
// the remaining time goes to the error stream (updated in place on a
// terminal, a line every few seconds otherwise, see render_cli_progress.h); SIGINT stops the film like
// Escape: the frames written so far stay and the AVI and video files are
// completed. At the end every file written is named.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "film/film_range.h"

namespace ork {

struct TFilmCliOptions {
  std::string WorkDir = ".";
  std::string Movie;   // Movie 1, native path relative to the current directory
  std::string Movie2;  // Movie 2; empty: a copy of Movie 1
  std::vector<std::string> Videos;  // --video files (.mp4 / .webm), as given
  int CompositionMode = 1;
  bool Preview = false;
  bool Yes = true;       // answer of the questions
  bool Quiet = false;    // no progress lines
  double ProgressEvery = -1;  // seconds between progress lines; negative: the default
  bool Verbose = false;  // the diagnostic lines too
  int Threads = 0;       // computing threads; 0: the engine's own choice
  bool Deep = false;     // every keyframe of both movies computed deep
  bool HasFrames = false;  // --frames: only Frames of the film
  TFrameRange Frames;
  bool Plan = false;       // --plan: print the frame count and Jobs ranges
  int Jobs = 1;
  bool Assemble = false;   // --assemble: the film files from the frame files
  bool Help = false;
  bool Version = false;
};

// Exit statuses besides those of the renderer (0 ok, 1 failed, 2 usage error).
inline constexpr int kFilmInterrupted = 130;  // stopped by SIGINT or a cancel

// True when the arguments ask for a film ("--film" among them).
bool IsFilmInvocation(const std::vector<std::string>& args);

// Parses the film arguments (without the program name). False with a
// message in error for an unknown option, a bad value, or no --movie.
bool ParseFilmArgs(const std::vector<std::string>& args, TFilmCliOptions& options,
                   std::string& error);

std::string FilmHelpText();

// Runs the film command; returns an exit status, every failure explained
// on err. A SIGINT handler is installed while the film runs (a second
// SIGINT ends the program at once).
int RunFilmRender(const TFilmCliOptions& options, std::ostream& out, std::ostream& err);

// Parse, run, report (std::cout, std::cerr).
int FilmRenderMain(const std::vector<std::string>& args);

}  // namespace ork
