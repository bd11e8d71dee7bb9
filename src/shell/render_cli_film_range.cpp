#include "shell/render_cli_film_range.h"

#include <filesystem>
#include <ostream>
#include <system_error>

#include "film/animate_run.h"
#include "film/film_assemble.h"
#include "film/film_settings.h"
#include "model/paths.h"
#include "model/process_state.h"
#include "shell/render_cli.h"
#include "shell/settings.h"

namespace ork {

namespace {

// The preset answer, then the range job's outputs.
class TRangeJobDialog final : public TFilmSettingsDialog {
 public:
  explicit TRangeJobDialog(bool preview) : preset_(preview) {}
  bool Run(TINI& settings) override {
    if (!preset_.Run(settings)) return false;
    TFilmDialogValues v = ReadFilmDialogValues(settings);
    TFilmDialogValues::TKind& kind = v.Preview ? v.PreviewKind : v.Normal;
    if (kind.Avi || kind.Mp4) {
      kind.Avi = kind.Mp4 = false;
      kind.Png = true;
    }
    StoreFilmDialogValues(v, settings);
    return true;
  }

 private:
  TFilmSettingsPreset preset_;
};

std::string Absolute(const std::string& file) {
  std::error_code ec;
  const std::filesystem::path path = std::filesystem::absolute(file, ec);
  return ec ? file : path.lexically_normal().string();
}

// Names the film movies the preparation saved; false (with the reason on
// err) when a film that has frames could not be saved.
bool AnnounceFilmMovies(const TPreparedFilms& films, std::ostream& err) {
  for (const std::string& file : films.SavedMovies)
    err << "orkelund-render: wrote " << Absolute(file) << '\n';
  size_t expected = 0;
  for (const auto* film : {films.Film1.get(), films.Film2.get()})
    if (film && film->Count > 1) ++expected;
  if (films.SavedMovies.size() >= expected) return true;
  err << "orkelund-render: the film movie (-Animation.ini) could not be saved in "
      << NativePath("Output\\") << '\n';
  return false;
}

bool Given(const std::vector<std::string>& args, const std::string& name) {
  for (const std::string& a : args)
    if (a == name || a.rfind(name + "=", 0) == 0) return true;
  return false;
}

}  // namespace

std::string FilmRangeHelpText() {
  return
      "A film in parts, for job schedulers (GNU parallel, Slurm array jobs, ...):\n"
      "  --plan          print the film's frame count, then one frame range A-B per\n"
      "                  line; saves the film movie (-Animation.ini).\n"
      "  --jobs N        the number of ranges --plan makes (default 1), each with\n"
      "                  about the same number of frames to compute.\n"
      "  --frames A-B    produce frames A to B only (1-based; A- to the end): the\n"
      "                  frame files are those of a whole run, byte for byte; for\n"
      "                  the AVI, MP4 and --video files, PNG frames are written for\n"
      "                  --assemble instead. Writes nothing else, so jobs can share\n"
      "                  Output/.\n"
      "  --assemble      once every range is done: check that every PNG frame is\n"
      "                  there and complete (naming those that are not, writing\n"
      "                  nothing then), write the AVI, MP4 and --video files from\n"
      "                  them, save the film movie.\n";
}

bool ParseJobCount(const std::string& text, int& jobs, std::string& error) {
  int value = 0;
  bool ok = !text.empty() && text.size() <= 6;
  for (char c : text) {
    if (c < '0' || c > '9') ok = false;
    value = value * 10 + (c - '0');
  }
  if (!ok || value < 1 || value > 100000) {
    error = "--jobs needs a count from 1 to 100000 (got '" + text + "')";
    return false;
  }
  jobs = value;
  return true;
}

bool CheckFilmRangeArgs(const std::vector<std::string>& args, const TFilmCliOptions& options,
                        std::string& error) {
  if (options.HasFrames + options.Plan + options.Assemble > 1) {
    error = "--frames, --plan and --assemble exclude each other";
    return false;
  }
  if (Given(args, "--jobs") && !options.Plan) {
    error = "--jobs belongs to --plan";
    return false;
  }
  return true;
}

std::unique_ptr<TFilmSettingsDialog> FilmCliDialog(const TFilmCliOptions& options) {
  if (options.HasFrames) return std::make_unique<TRangeJobDialog>(options.Preview);
  return std::make_unique<TFilmSettingsPreset>(options.Preview);
}

int RunFilmPlanOrAssemble(const TFilmCliOptions& options, const TFilmRequest& request,
                          TFilmSettingsDialog& dialog, THost& host, std::ostream& out,
                          std::ostream& err) {
  TPreparedFilms films = PrepareFilms(request, host, dialog);
  if (films.End != TFilmCommandResult::TEnd::Produced) {
    err << "orkelund-render: no film (the preparation was abandoned)\n";
    return kRenderFailed;
  }
  TParameterAnim& film1 = *films.Film1;
  TParameterAnim& film2 = films.Film2 ? *films.Film2 : film1;
  const int frames = FilmFrameCount(film1, films.Film2.get());

  if (options.Plan) {
    // The range jobs and the assembly need the film movie the plan saves.
    if (!AnnounceFilmMovies(films, err)) return kRenderFailed;
    out << frames << '\n';
    for (const TFrameRange& r : PlanFrameRanges(film1, films.Film2.get(), frames, options.Jobs))
      out << FrameRangeText(r) << '\n';
    return kRenderOk;
  }

  TFilmSettings settings = ReadFilmSettings(*request.Settings);
  settings.VideoFiles = request.VideoFiles;
  if (!settings.Avi && !settings.Mp4 && settings.VideoFiles.empty()) {
    err << "orkelund-render: nothing to assemble: neither AVI nor MP4 is switched on in ["
        << (settings.Preview ? "AnimPreview" : "Anim") << "] of INI/Settings.ini, and no --video\n";
    return kRenderFailed;
  }
  const int mode = FilmCompositionMode(Composition().CompositionMode);
  int width = 0, height = 0;
  FilmPictureSize(film1, film2, mode, films.TwoMovies(), width, height);
  const TAssemblyResult result =
      AssembleFilm(film1, frames, width, height, settings, host, request.AviFileLimit);
  for (const std::string& problem : result.Problems) err << "orkelund-render: " << problem << '\n';
  if (!result.Ok) {
    if (!result.Problems.empty())
      err << "orkelund-render: the film was not assembled; run the ranges of those frames again\n";
    else
      err << "orkelund-render: the film was not assembled, older film files stay as they were: "
          << result.Error << '\n';
    return kRenderFailed;
  }
  err << "orkelund-render: " << frames << " frames assembled\n";
  const bool moviesSaved = AnnounceFilmMovies(films, err);
  for (const std::string& file : result.FilmFiles)
    err << "orkelund-render: wrote " << Absolute(file) << '\n';
  return moviesSaved ? kRenderOk : kRenderFailed;
}

}  // namespace ork
