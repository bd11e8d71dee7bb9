// The headless renderer orkelund-render: renders keyframes of a movie file
// into picture files without any window.
//
//   orkelund-render [--workdir DIR] --movie FILE [--key N] [--out FILE]...
//                   [--composition single|double|fourfold] [--print-movie]
//                   [--yes|--no] [--quiet] [--verbose] [--threads N] [--deep]
//
// The loader's questions are answered from --yes/--no; its messages go to
// the error stream, progress rows too unless --quiet, the diagnostic lines
// only with --verbose. The three bitmap fonts are loaded as the desktop
// program loads them, so the pictures print the same texts.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace ork {

// What one --out paints: the single picture (ShowCalculated), or Movie 1's
// double or fourfold picture of its colour variants.
enum class TRenderComposition { Single, Double, Fourfold };

struct TRenderOptions {
  std::string WorkDir = ".";
  std::string Movie;              // movie file, native path
  int Key = 0;                    // keyframe to make current; 0: the movie's Actual
  std::vector<std::string> Outs;  // picture files, native paths, in order
  TRenderComposition Composition = TRenderComposition::Single;
  bool PrintMovie = false;  // write the loaded, repaired movie to the output stream
  bool Yes = true;          // answer of the loader's questions
  bool Quiet = false;       // no progress rows
  bool Verbose = false;     // the diagnostic lines, and how the picture is computed
  int Threads = 0;          // computing threads; 0: the engine's own choice
  bool Deep = false;        // every keyframe computed deep
  bool Help = false;
  bool Version = false;
};

// Exit statuses.
inline constexpr int kRenderOk = 0;
inline constexpr int kRenderFailed = 1;  // any failure of the work itself
// The command line is wrong: an unknown option, a missing or bad value, a
// --movie file that does not exist.
inline constexpr int kRenderUsage = 2;
inline constexpr int kRenderMovieMissing = kRenderUsage;

// Parses the arguments (without the program name). False with a message
// in error for an unknown option, a missing or bad value, an --out name
// without a base or with an unknown extension, or a missing --movie
// (unless --help or --version).
bool ParseRenderArgs(const std::vector<std::string>& args, TRenderOptions& options,
                     std::string& error);

std::string RenderHelpText();

// "orkelund-render " + the program's version, with a line end.
std::string RenderVersionText();

// Runs the renderer: prepares the working directory and the settings,
// loads the movie, prints it and writes every --out picture ("-": a PNG to
// out). Returns one of the exit statuses; every failure is explained on err.
int RunRender(const TRenderOptions& options, std::ostream& out, std::ostream& err);

// main() of orkelund-render: parse, run, report.
int RenderMain(int argc, char** argv);

}  // namespace ork
