#include "shell/render_cli.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <new>
#include <system_error>

#include "engine/render.h"
#include "engine/worker_pool.h"
#include "model/file_io.h"
#include "model/ini_store.h"
#include "model/movie.h"
#include "model/paths.h"
#include "model/process_state.h"
#include "picture/bmp_font_registry.h"
#include "picture/picture_files.h"
#include "shell/cli_args.h"
#include "shell/render_cli_checks.h"
#include "shell/render_cli_film.h"
#include "engine/deep/deep_calculate.h"
#include "shell/render_cli_engine.h"
#include "shell/render_cli_host.h"
#include "shell/render_cli_paint.h"
#include "shell/settings_startup.h"
#include "shell/version.h"
#include "shell/workdir.h"

namespace ork {

namespace fs = std::filesystem;

namespace {

// A positive decimal integer without sign or other characters.
bool ParseKey(const std::string& text, int& key) {
  if (text.empty() || text.size() > 9) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  key = value;
  return value > 0;
}

std::string Absolute(const std::string& path) {
  std::error_code ec;
  const fs::path p = fs::absolute(path, ec);
  return ec ? path : p.lexically_normal().string();
}

// The picture as a PNG on `out`, through a temporary file in TEMP\ (the
// PNG writer writes files only).
bool WritePngTo(const TPixmap& picture, std::ostream& out, std::string& error) {
  const std::string temp = NativePath("TEMP\\stdout-" + std::to_string(::getpid()) + ".png");
  TWriteContext context;
  if (!SavePng(picture, temp, 5, &context)) {
    error = "cannot make the PNG for standard output: " + context.reason;
    return false;
  }
  std::string bytes;
  bool truncated = false;
  const bool read = ReadFileBytes(temp, size_t{1} << 32, bytes, truncated);
  std::remove(temp.c_str());
  errno = 0;
  if (read) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (!read || !out) {
    const int reason = errno;
    error = "cannot write the PNG to standard output" +
            (reason ? ": " + SystemErrorText(reason) : std::string());
    return false;
  }
  return true;
}

}  // namespace

std::string RenderVersionText() { return std::string("orkelund-render ") + ProgramVersion() + "\n"; }

std::string RenderHelpText() {
  return
      "Usage: orkelund-render [--workdir DIR] --movie FILE [--key N] [--out FILE]...\n"
      "                       [--composition single|double|fourfold] [--print-movie]\n"
      "                       [--yes|--no] [--quiet] [--verbose] [--threads N] [--deep]\n"
      "       orkelund-render --film ...   (films: see --film --help)\n"
      "\n"
      "Renders keyframes of a movie file into picture files, without a window.\n"
      "\n"
      "  --workdir DIR   working directory (default: the current directory). Its\n"
      "                  INI/, Output/, TEMP/ and BMPFont/ are created when missing\n"
      "                  and the shipped start movie, fonts and toolbar strip are\n"
      "                  copied in when absent; existing files are never replaced.\n"
      "                  INI/Settings.ini is read (and written with defaults when\n"
      "                  missing or incomplete); its [SaveImage] section chooses the\n"
      "                  formats of an --out name without a known extension.\n"
      "  --movie FILE    the movie file to load (relative to the current directory).\n"
      "                  A file that does not exist is a usage error (exit status 2),\n"
      "                  a file without a keyframe section ([KEY1], ...) is refused.\n"
      "  --key N         make keyframe N (1 ... Count) current; default: the movie's\n"
      "                  Actual. A number outside the movie is an error.\n"
      "  --out FILE      compute the current keyframe (once for all --out), paint it\n"
      "                  and write it to FILE: .jpg/.jpeg writes JPEG (as .jpg), .png\n"
      "                  PNG, .bmp a 24-bit BMP; no extension writes FILE with every\n"
      "                  format that [SaveImage] turns on; any other extension is an\n"
      "                  error. \"-\" writes a PNG to standard output. May be given\n"
      "                  several times.\n"
      "  --composition single|double|fourfold\n"
      "                  single (default): the picture with colour variant 0, blur\n"
      "                  filter, overlays and printed texts; double and fourfold:\n"
      "                  the movie's double or fourfold picture of its colour\n"
      "                  variants (two or four times the size).\n"
      "  --print-movie   write the loaded (and repaired) movie to standard output in\n"
      "                  the movie file format.\n"
      "  --yes, --no     answer the loader's questions yes (default) or no.\n"
      "  --quiet         no progress rows; messages and errors are still written.\n"
      "  --verbose       also the program's diagnostic lines, and how the picture\n"
      "                  is computed (threads, vector lanes) and how long it took.\n"
      "  --threads N     compute with N threads (default: one per processor core,\n"
      "                  or the environment variable ORK_THREADS); 1 computes on one\n"
      "                  thread. The picture is the same either way.\n"
      "  --deep          compute every keyframe deep (as its key DeepZoom=1 does):\n"
      "                  one high-precision reference orbit and every pixel as a\n"
      "                  difference from it, so that pictures far below the\n"
      "                  precision of a double (HeightY 1e-15 and less) stay sharp.\n"
      "                  Formulas 1000, 1001 and 1002; --verbose names the bits.\n"
      "  --help          this text.\n"
      "  --version       the program's version.\n"
      "\n"
      "Messages of the loader, errors, progress and at the end the path of every\n"
      "file written go to standard error.\n"
      "Exit status: 0 success, 2 a usage error (unknown option, missing or bad value,\n"
      "a movie file that does not exist), 1 any other failure.\n"
      "\n" + ShippedDataHelp();
}

bool ParseRenderArgs(const std::vector<std::string>& args, TRenderOptions& options,
                     std::string& error) {
  options = TRenderOptions{};
  TArgScanner scan(args);
  std::string value;
  while (scan.Next()) {
    const std::string& name = scan.Name();
    auto takeValue = [&] { return scan.TakeValue(value, error); };
    auto noValue = [&] { return scan.NoValue(error); };

    if (name == "--help" || name == "-h") {
      if (!noValue()) return false;
      options.Help = true;
    } else if (name == "--version") {
      if (!noValue()) return false;
      options.Version = true;
    } else if (name == "--workdir") {
      if (!takeValue()) return false;
      if (value.empty()) {
        error = "--workdir needs a directory";
        return false;
      }
      options.WorkDir = value;
    } else if (name == "--movie") {
      if (!takeValue()) return false;
      if (value.empty()) {
        error = "--movie needs a file name";
        return false;
      }
      options.Movie = value;
    } else if (name == "--key") {
      if (!takeValue()) return false;
      if (!ParseKey(value, options.Key)) {
        error = "--key needs a keyframe number 1, 2, ... (got '" + value + "')";
        return false;
      }
    } else if (name == "--out") {
      if (!takeValue()) return false;
      if (value.empty()) {
        error = "--out needs a file name";
        return false;
      }
      if (!CheckPictureName(value, error)) return false;
      options.Outs.push_back(value);
    } else if (name == "--composition") {
      if (!takeValue()) return false;
      if (value == "single") {
        options.Composition = TRenderComposition::Single;
      } else if (value == "double") {
        options.Composition = TRenderComposition::Double;
      } else if (value == "fourfold") {
        options.Composition = TRenderComposition::Fourfold;
      } else {
        error = "--composition must be single, double or fourfold (got '" + value + "')";
        return false;
      }
    } else if (name == "--print-movie") {
      if (!noValue()) return false;
      options.PrintMovie = true;
    } else if (name == "--yes") {
      if (!noValue()) return false;
      options.Yes = true;
    } else if (name == "--no") {
      if (!noValue()) return false;
      options.Yes = false;
    } else if (name == "--quiet" || name == "-q") {
      if (!noValue()) return false;
      options.Quiet = true;
    } else if (name == "--verbose") {
      if (!noValue()) return false;
      options.Verbose = true;
    } else if (name == "--threads") {
      if (!takeValue() || !ParseThreadCount(value, options.Threads, error)) return false;
    } else if (name == "--deep") {
      if (!noValue()) return false;
      options.Deep = true;
    } else {
      error = "unknown argument '" + scan.Arg() + "'";
      return false;
    }
  }
  const bool pngToOut = std::find(options.Outs.begin(), options.Outs.end(), "-") != options.Outs.end();
  if (options.PrintMovie && pngToOut) {
    error = "--print-movie and --out - both write to standard output";
    return false;
  }
  if (!options.Help && !options.Version && options.Movie.empty()) {
    error = "--movie FILE is required";
    return false;
  }
  return true;
}

int RunRender(const TRenderOptions& options, std::ostream& out, std::ostream& err) {
  if (options.Help) {
    out << RenderHelpText();
    return kRenderOk;
  }
  if (options.Version) {
    out << RenderVersionText();
    return kRenderOk;
  }
  // Paths given on the command line are the user's, relative to the current
  // directory; the working directory only anchors the program's own files.
  const std::string moviePath = Absolute(options.Movie);
  std::vector<std::string> outs;
  for (const std::string& o : options.Outs) outs.push_back(o == "-" ? o : Absolute(o));

  // The working directory first: a movie named inside it (INI/Default.ini
  // in a fresh folder) exists once it is seeded.
  const TWorkDirReport work = PrepareWorkDir(options.WorkDir, ShippedDataDir());
  if (!work.Ok()) {
    for (const std::string& e : work.Errors) err << "orkelund-render: " << e << '\n';
    return kRenderFailed;
  }
  if (const int status = CheckMovieFile(options.Movie, moviePath, err)) return status;
  TRenderHost host(err, options.Yes, options.Quiet, options.Verbose);
  StartUpSettings(host);
  // As the desktop program: texts and grid numbers are printed with them.
  const TBMPFontsLoaded fonts;

  const fs::path movieFile(moviePath);
  std::unique_ptr<TParameterAnim> movie = TParameterAnim::Load(
      movieFile.parent_path().string() + "/", movieFile.filename().string(), host);
  if (movie->Count < 1) {
    err << "orkelund-render: the movie '" << options.Movie << "' holds no keyframe\n";
    return kRenderFailed;
  }
  if (options.Deep) SwitchDeep(*movie);
  if (options.Key != 0) {
    if (options.Key > movie->Count) {
      err << "orkelund-render: --key " << options.Key << " is outside the movie (keyframes 1 ... "
          << movie->Count << ")\n";
      return kRenderFailed;
    }
    movie->Actual = options.Key;
  }
  ShownKeys().LastKeyM1 = movie->Actual;

  if (options.PrintMovie) {
    // The bytes saving would write.
    const std::string bytes = movie->ToIni(host)->ToBytes();
    errno = 0;  // what a failed write leaves here is its reason
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      const int error = errno;
      err << "orkelund-render: cannot write the movie to standard output"
          << (error ? ": " + SystemErrorText(error) : std::string()) << '\n';
      return kRenderFailed;
    }
  }
  if (outs.empty()) return kRenderOk;

  TParameter* key = movie->GetActualParameter();
  key->OutputWidth = movie->OutputWidth;
  key->OutputHeight = movie->OutputHeight;
  UseThreadOption(options.Threads);
  if (options.Verbose) {
    err << "orkelund-render: " << EngineDescription(*key) << '\n';
    const std::string deep = DeepDescription(*key);
    if (!deep.empty()) err << "orkelund-render: " << deep << '\n';
  }
  int status = kRenderOk;
  try {
    TRender render;
    render.Init(*key);
    // Painted once and not kept: what the painting does not read need not
    // be written (nor its fresh memory faulted in).
    render.unread = UnreadByPainting(*key, options.Composition);
    const auto start = std::chrono::steady_clock::now();
    Calculate(*key, &host, render);
    host.EndProgress();
    if (options.Verbose) {
      const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
      err << "orkelund-render: " << ComputationReport(took.count()) << '\n';
      if (deep::DeepComputes(*key)) err << "orkelund-render: " << DeepReport() << '\n';
    }
    std::vector<std::string> written;
    for (const std::string& path : outs) {
      std::string error;
      if (path == "-") {
        const TPixmap* picture = PaintPicture(*key, render, options.Composition, host);
        if (!picture) error = "the picture could not be painted";
        if (!picture || !WritePngTo(*picture, out, error)) {
          err << "orkelund-render: " << error << '\n';
          status = kRenderFailed;
        } else {
          written.push_back("standard output (PNG)");
        }
        continue;
      }
      if (!PaintAndSave(*key, render, options.Composition, path, host, written, error)) {
        err << "orkelund-render: " << error << '\n';
        status = kRenderFailed;
      }
    }
    for (const std::string& file : written) err << "orkelund-render: wrote " << file << '\n';
  } catch (const std::bad_alloc& error) {
    host.EndProgress();
    ReportNoMemory(err, error);
    return kRenderFailed;
  }
  return status;
}

int RenderMain(int argc, char** argv) {
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  // --film: the film command, with its own options (shell/render_cli_film.h).
  if (IsFilmInvocation(args)) return FilmRenderMain(args);
  TRenderOptions options;
  std::string error;
  if (!ParseRenderArgs(args, options, error)) {
    std::cerr << "orkelund-render: " << error << "\n"
              << "Try 'orkelund-render --help'.\n";
    return kRenderUsage;
  }
  return RunRender(options, std::cout, std::cerr);
}

}  // namespace ork
