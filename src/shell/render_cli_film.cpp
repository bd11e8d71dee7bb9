#include "shell/render_cli_film.h"

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <new>
#include <system_error>

#include "engine/worker_pool.h"
#include "film/film_command.h"
#include "film/film_settings.h"
#include "film/video_writer.h"
#include "model/host.h"
#include "model/movie.h"
#include "model/paths.h"
#include "model/process_state.h"
#include "picture/bmp_font_registry.h"
#include "shell/cli_args.h"
#include "shell/render_cli.h"
#include "shell/render_cli_checks.h"
#include "shell/render_cli_engine.h"
#include "shell/render_cli_film_range.h"
#include "shell/render_cli_host.h"
#include "shell/render_cli_progress.h"
#include "shell/settings.h"
#include "shell/settings_startup.h"
#include "shell/workdir.h"

namespace ork {

namespace fs = std::filesystem;

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

// The first SIGINT asks the film to stop; a second one ends the program.
extern "C" void OnInterrupt(int) {
  if (gInterrupted) {
    std::signal(SIGINT, SIG_DFL);
    std::raise(SIGINT);
    return;
  }
  gInterrupted = 1;
}

class TInterruptGuard {
 public:
  TInterruptGuard() {
    gInterrupted = 0;
    struct sigaction sa {};
    sa.sa_handler = OnInterrupt;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, &old_);
  }
  ~TInterruptGuard() { sigaction(SIGINT, &old_, nullptr); }

 private:
  struct sigaction old_ {};
};

// Messages and questions as the renderer writes them; the per-row progress
// of the computation and the desktop's progress label (with its advice to
// hold Escape) give way to the film's progress line, and the diagnostic
// lines (several per frame) are shown only when verbose; a file that
// cannot be written stops the film with a message.
class TFilmCliHost final : public THost, public TFilmView {
 public:
  TFilmCliHost(std::ostream& err, const TFilmCliOptions& o)
      : err_(err), inner_(err, o.Yes, true, true), quiet_(o.Quiet), verbose_(o.Verbose),
        terminal_(&err == &std::cerr && ::isatty(2)),
        pacer_(o.ProgressEvery >= 0 ? o.ProgressEvery : terminal_ ? 0.25 : 5) {}
  ~TFilmCliHost() override { EndLine(); }

  void Information(const std::string& text) override {
    EndLine();
    inner_.Information(text);
  }
  bool Question(const std::string& text) override {
    EndLine();
    return inner_.Question(text);
  }
  void Diagnostic(const std::string& line) override {
    if (!verbose_) return;
    EndLine();
    inner_.Diagnostic(line);
  }
  int PollCancel() override { return gInterrupted ? -1 : 0; }

  void FrameDone(const TFilmProgress& progress) override {
    if (quiet_ || !pacer_.Due(progress)) return;
    if (terminal_) {
      err_ << '\r' << FilmProgressLine(progress) << "\x1b[K" << std::flush;
      lineOpen_ = true;
    } else {
      err_ << FilmProgressLine(progress) << '\n' << std::flush;
    }
  }
  void End() override { EndLine(); }

  void EndLine() {
    if (lineOpen_) err_ << '\n';
    lineOpen_ = false;
  }

 private:
  std::ostream& err_;
  TRenderHost inner_;
  bool quiet_, verbose_, terminal_;
  TProgressPacer pacer_;
  bool lineOpen_ = false;
};

std::string Absolute(const std::string& path) {
  std::error_code ec;
  const fs::path p = fs::absolute(path, ec);
  return ec ? path : p.lexically_normal().string();
}

std::unique_ptr<TParameterAnim> LoadMovie(const std::string& path, THost& host) {
  const fs::path file(path);
  return TParameterAnim::Load(file.parent_path().string() + "/", file.filename().string(), host);
}

bool CompositionFromName(const std::string& name, int& mode) {
  static const struct {
    const char* name;
    int mode;
  } kNames[] = {{"single", 1},      {"double", 2},   {"fourfold", 4}, {"double12", 22},
                {"fourfold12", 44}, {"insertA", -1}, {"insertB", 0},  {"add", -12}};
  for (const auto& n : kNames) {
    if (name == n.name) {
      mode = n.mode;
      return true;
    }
  }
  return false;
}

// The starting values the shell's commands give the inserts, and its size
// rules for the compositions of both movies; Movie 2 is then lowered to
// Movie 1's size where larger, as the desktop program does before it
// computes Movie 2, so that the same movies give the same film. False with
// a reason.
bool PrepareComposition(int mode, const TParameterAnim& m1, TParameterAnim& m2,
                        std::string& error) {
  TCompositionState& c = Composition();
  c.CompositionMode = mode;
  c.KeepLeftPicture = false;
  c.ShownImage = 1;
  const bool larger = m2.OutputWidth > m1.OutputWidth || m2.OutputHeight > m1.OutputHeight;
  const bool smaller = m2.OutputWidth < m1.OutputWidth || m2.OutputHeight < m1.OutputHeight;
  auto sizes = [&] {
    return " (Movie 1 " + std::to_string(m1.OutputWidth) + " x " +
           std::to_string(m1.OutputHeight) + ", Movie 2 " + std::to_string(m2.OutputWidth) +
           " x " + std::to_string(m2.OutputHeight) + ")";
  };
  switch (mode) {
    case 22:
      if (larger) error = "double12 needs Movie 2 no larger than Movie 1" + sizes();
      break;
    case 44:
      if (larger || smaller) error = "fourfold12 needs two movies of the same size" + sizes();
      break;
    case -1:
      c.InsertPosX = 0;
      c.InsertPosY = m1.OutputHeight / 2;
      c.InsertOpacity = 255;
      break;
    case 0:
      if (smaller) error = "insertB needs Movie 2 at least as large as Movie 1" + sizes();
      c.InsertPosX = m1.OutputWidth / 2;
      c.InsertPosY = 0;
      c.InsertOpacity = 255;
      break;
    case -12:
      c.InsertPosX = 0;
      c.InsertPosY = 0;
      c.InsertOpacity = 128;
      break;
    default:
      break;
  }
  if (mode < 1 || mode > 10) {
    m2.OutputWidth = std::min(m2.OutputWidth, m1.OutputWidth);
    m2.OutputHeight = std::min(m2.OutputHeight, m1.OutputHeight);
  }
  return error.empty();
}

// Names every file of the film at the end: the film movies, the frame
// pictures of each format (first and last of the run), the AVI and videos.
void AnnounceFilmFiles(const TFilmCommandResult& result, const TFilmSettings& chosen,
                       std::ostream& err) {
  const TFilmRunResult& run = result.Run;
  // Only what this run saved: a range job saves no film movie, and a film
  // movie that could not be saved has been reported.
  for (const std::string& path : result.SavedMovies)
    err << "orkelund-render: wrote " << Absolute(path) << '\n';
  if (run.FramesWritten > 0) {
    const std::string first = Absolute(NativePath("Output\\" + run.FirstFrame));
    const std::string last = Absolute(NativePath("Output\\" + run.LastFrame));
    const struct {
      bool on;
      const char* ext;
    } kinds[] = {{chosen.Jpg, ".jpg"}, {chosen.Png, ".png"}, {chosen.Bmp, ".bmp"}};
    for (const auto& k : kinds) {
      if (!k.on) continue;
      err << "orkelund-render: wrote " << run.FramesWritten << " frame"
          << (run.FramesWritten == 1 ? " " : "s ") << first << k.ext;
      if (run.FramesWritten > 1) err << " ... " << last << k.ext;
      err << '\n';
    }
  }
  for (const auto* files : {&run.AviFiles, &run.VideoFiles})
    for (const std::string& file : *files)
      err << "orkelund-render: wrote " << Absolute(file) << '\n';
}

}  // namespace

bool IsFilmInvocation(const std::vector<std::string>& args) {
  for (const std::string& a : args)
    if (a == "--film") return true;
  return false;
}

std::string FilmHelpText() {
  return
      "Usage: orkelund-render --film [--preview] --movie FILE [--movie2 FILE]\n"
      "         [--composition single|double|fourfold|double12|fourfold12|insertA|insertB|add]\n"
      "         [--video FILE.mp4|FILE.webm]... [--workdir DIR] [--yes|--no] [--quiet]\n"
      "         [--verbose] [--threads N] [--progress-every SECONDS] [--deep]\n"
      "         [--frames A-B | --plan [--jobs N] | --assemble]\n"
      "\n"
      "Produces the film of a movie, as the film command does, without a window.\n"
      "\n"
      "  --film          produce a film.\n"
      "  --preview       a preview film ([AnimPreview] settings, small pictures,\n"
      "                  name suffix -Preview); otherwise a normal film ([Anim]).\n"
      "  --movie FILE    Movie 1 (relative to the current directory).\n"
      "  --movie2 FILE   Movie 2 for the compositions of both movies; default: a copy\n"
      "                  of Movie 1.\n"
      "  --composition   single (default), double, fourfold (colour variants of\n"
      "                  Movie 1); double12, fourfold12 (Movie 1 and Movie 2), insertA,\n"
      "                  insertB, add (Movie 2 inserted into / blended over Movie 1).\n"
      "  --video FILE    also write the film as FILE (relative to the current\n"
      "                  directory): .mp4 is H.264, .webm is VP9, both yuv420p at the\n"
      "                  film's frame rate (odd picture sizes padded by one pixel).\n"
      "                  May be given several times. \"MP4=1\" in [Anim] or\n"
      "                  [AnimPreview] writes Output/<first frame>.mp4 as well.\n"
      "  --workdir DIR   working directory (default: the current directory); its\n"
      "                  INI/Settings.ini holds the film settings ([AnimMode], [Anim],\n"
      "                  [AnimPreview]) and is repaired when incomplete. The film\n"
      "                  movie (-Animation.ini), the frame pictures and the AVI file\n"
      "                  are written to DIR/Output/.\n"
      "  --yes, --no     answer the questions yes (default) or no.\n"
      "  --quiet         no progress line; messages and errors are still written.\n"
      "  --progress-every SECONDS\n"
      "                  a progress line at most every SECONDS (default: 5, on a\n"
      "                  terminal the line is updated in place 4 times a second).\n"
      "  --verbose       the diagnostic lines too, and how the frames are computed.\n"
      "  --threads N     compute with N threads (default: one per processor core,\n"
      "                  or the environment variable ORK_THREADS).\n"
      "  --deep          every keyframe computed deep (as DeepZoom=1): the film's\n"
      "                  coordinates are interpolated in high precision and every\n"
      "                  frame is computed on a high-precision reference orbit.\n"
      "  --version       the program's version.\n"
      "\n" + FilmRangeHelpText() + "\n"
      "The progress line (frame n/N, percent, frames per second, elapsed and\n"
      "remaining time) goes to standard error. Ctrl-C\n"
      "(SIGINT) stops the film like Escape: the frames written so far stay and the\n"
      "AVI and video files are completed; a second Ctrl-C ends the program at once.\n"
      "At the end every file written is named on standard error.\n"
      "Exit status: 0 film produced, 130 stopped early, 2 a usage error (unknown\n"
      "option, missing or bad value, a movie file that does not exist), 1 any other\n"
      "failure.\n";
}

bool ParseFilmArgs(const std::vector<std::string>& args, TFilmCliOptions& options,
                   std::string& error) {
  options = TFilmCliOptions{};
  TArgScanner scan(args);
  std::string value;
  while (scan.Next()) {
    const std::string& name = scan.Name();
    auto takeValue = [&]() -> bool {
      if (!scan.TakeValue(value, error)) return false;
      if (value.empty()) error = "option " + name + " needs a value";
      return !value.empty();
    };
    auto noValue = [&] { return scan.NoValue(error); };
    auto setFlag = [&](bool& target, bool v) {
      if (!noValue()) return false;
      target = v;
      return true;
    };
    auto setText = [&](std::string& target) {
      if (!takeValue()) return false;
      target = value;
      return true;
    };
    bool ok = true;
    bool film = false;
    if (name == "--film") ok = setFlag(film, true);
    else if (name == "--help" || name == "-h") ok = setFlag(options.Help, true);
    else if (name == "--version") ok = setFlag(options.Version, true);
    else if (name == "--preview") ok = setFlag(options.Preview, true);
    else if (name == "--yes") ok = setFlag(options.Yes, true);
    else if (name == "--no") ok = setFlag(options.Yes, false);
    else if (name == "--quiet" || name == "-q") ok = setFlag(options.Quiet, true);
    else if (name == "--verbose") ok = setFlag(options.Verbose, true);
    else if (name == "--deep") ok = setFlag(options.Deep, true);
    else if (name == "--workdir") ok = setText(options.WorkDir);
    else if (name == "--movie") ok = setText(options.Movie);
    else if (name == "--movie2") ok = setText(options.Movie2);
    else if (name == "--video") {
      ok = takeValue();
      if (ok && (VideoFormatOfPath(value) == TVideoFormat::None || !HasFileBase(value))) {
        error = "--video needs a file name ending in .mp4 or .webm (got '" + value + "')";
        ok = false;
      }
      if (ok) options.Videos.push_back(value);
    }
    else if (name == "--threads") ok = takeValue() && ParseThreadCount(value, options.Threads, error);
    else if (name == "--progress-every") {
      ok = takeValue();
      char* end = nullptr;
      const double seconds = ok ? std::strtod(value.c_str(), &end) : 0;
      if (ok && (*end != '\0' || !(seconds >= 0 && seconds <= 3600))) {
        error = "--progress-every needs seconds from 0 to 3600 (got '" + value + "')";
        ok = false;
      }
      options.ProgressEvery = seconds;
    }
    else if (name == "--frames") {
      ok = takeValue() && ParseFrameRange(value, options.Frames, error);
      options.HasFrames = true;
    } else if (name == "--plan") ok = setFlag(options.Plan, true);
    else if (name == "--jobs") ok = takeValue() && ParseJobCount(value, options.Jobs, error);
    else if (name == "--assemble") ok = setFlag(options.Assemble, true);
    else if (name == "--composition") {
      ok = takeValue();
      if (ok && !CompositionFromName(value, options.CompositionMode)) {
        error = "--composition must be single, double, fourfold, double12, fourfold12, "
                "insertA, insertB or add (got '" + value + "')";
        ok = false;
      }
    } else {
      error = "unknown argument '" + scan.Arg() + "' with --film";
      ok = false;
    }
    if (!ok) return false;
  }
  if (!options.Help && !options.Version && options.Movie.empty()) {
    error = "--movie FILE is required";
    return false;
  }
  return CheckFilmRangeArgs(args, options, error);
}

int RunFilmRender(const TFilmCliOptions& options, std::ostream& out, std::ostream& err) {
  if (options.Help) {
    out << FilmHelpText();
    return kRenderOk;
  }
  if (options.Version) {
    out << RenderVersionText();
    return kRenderOk;
  }
  const std::string path1 = Absolute(options.Movie);
  const std::string path2 = options.Movie2.empty() ? std::string() : Absolute(options.Movie2);
  // The working directory first: a movie named inside it (INI/Default.ini
  // in a fresh folder) exists once it is seeded.
  const TWorkDirReport work = PrepareWorkDir(options.WorkDir, ShippedDataDir());
  if (!work.Ok()) {
    for (const std::string& e : work.Errors) err << "orkelund-render: " << e << '\n';
    return kRenderFailed;
  }
  if (int s = CheckMovieFile(options.Movie, path1, err)) return s;
  if (!path2.empty())
    if (int s = CheckMovieFile(options.Movie2, path2, err)) return s;

  TFilmCliHost host(err, options);
  StartUpSettings(host);
  // As the desktop program: texts and grid numbers are printed with them.
  const TBMPFontsLoaded fonts;

  std::unique_ptr<TParameterAnim> movie1 = LoadMovie(path1, host);
  std::unique_ptr<TParameterAnim> movie2 = path2.empty() ? movie1->Copy() : LoadMovie(path2, host);
  for (const auto* m : {movie1.get(), movie2.get()}) {
    if (m->Count < 1) {
      err << "orkelund-render: the movie '" << (m == movie1.get() ? options.Movie : options.Movie2)
          << "' holds no keyframe\n";
      return kRenderFailed;
    }
  }
  if (options.Deep) {
    SwitchDeep(*movie1);
    SwitchDeep(*movie2);
  }
  std::string error;
  if (!PrepareComposition(options.CompositionMode, *movie1, *movie2, error)) {
    err << "orkelund-render: " << error << '\n';
    return kRenderFailed;
  }

  UseThreadOption(options.Threads);
  if (options.Verbose) {
    host.EndLine();
    err << "orkelund-render: " << EngineDescription(movie1->Parameter[1]) << '\n';
    const std::string deep = DeepDescription(movie1->Parameter[1]);
    if (!deep.empty()) err << "orkelund-render: " << deep << '\n';
  }

  TFilmRequest request;
  request.Movie1 = movie1.get();
  request.Movie2 = movie2.get();
  request.Settings = &SettingsIni();
  for (const std::string& v : options.Videos) request.VideoFiles.push_back(Absolute(v));
  const std::unique_ptr<TFilmSettingsDialog> dialog = FilmCliDialog(options);
  if (options.Plan || options.Assemble)
    return RunFilmPlanOrAssemble(options, request, *dialog, host, out, err);
  if (options.HasFrames) {
    request.Frames = options.Frames;
    request.SaveFilmMovie = false;
    request.VideoFiles.clear();  // written by the assembly
  }
  TFilmCommandResult result;
  try {
    TInterruptGuard guard;
    result = RunFilmCommand(request, host, *dialog, host);
  } catch (const std::bad_alloc& error) {
    host.EndLine();
    ReportNoMemory(err, error);
    return kRenderFailed;
  }
  host.EndLine();

  using TEnd = TFilmCommandResult::TEnd;
  if (result.End != TEnd::Produced) {
    err << "orkelund-render: no film produced (the preparation was abandoned)\n";
    return kRenderFailed;
  }
  const TFilmRunResult& run = result.Run;
  int frames = result.Frames1;
  if (options.HasFrames) {
    const int filmFrames = std::min(result.Frames1, result.Frames2);
    if (options.Frames.First > filmFrames) {
      err << "orkelund-render: --frames " << FrameRangeText(options.Frames)
          << " lies beyond the film's " << filmFrames << " frames\n";
      return kRenderFailed;
    }
    const int last = options.Frames.Last > 0 ? std::min(options.Frames.Last, filmFrames) : filmFrames;
    frames = last - options.Frames.First + 1;
  }
  const TFilmSettings chosen = ReadFilmSettings(SettingsIni());
  if (!chosen.AnyOutput() && options.Videos.empty()) {
    err << "orkelund-render: " << run.FramesShown << " of " << frames
        << " frames produced; no output format is switched on in ["
        << (chosen.Preview ? "AnimPreview" : "Anim") << "] of INI/Settings.ini\n";
  } else {
    err << "orkelund-render: " << run.FramesWritten << " of " << frames
        << " frames written to " << NativePath("Output\\") << '\n';
  }
  AnnounceFilmFiles(result, chosen, err);
  // The film's message has named the file and the reason.
  if (run.WriteFailed) return kRenderFailed;
  if (run.Cancelled) {
    err << "orkelund-render: the film was stopped early\n";
    return kFilmInterrupted;
  }
  return kRenderOk;
}

int FilmRenderMain(const std::vector<std::string>& args) {
  TFilmCliOptions options;
  std::string error;
  if (!ParseFilmArgs(args, options, error)) {
    std::cerr << "orkelund-render: " << error << "\n"
              << "Try 'orkelund-render --film --help'.\n";
    return kRenderUsage;
  }
  return RunFilmRender(options, std::cout, std::cerr);
}

}  // namespace ork
