// One film produced in parts by a job scheduler (GNU parallel, Slurm array
// jobs, ...), each part an orkelund-render process on its own:
//
//   orkelund-render --film --plan --jobs N ...   the film's frame count and
//       N ranges of about equal computing work, one "A-B" per line; saves
//       the film movie "-Animation.ini"
//   orkelund-render --film --frames A-B ...      frames A..B, each file the
//       same bytes as in a whole run; for the AVI and videos PNG frames
//   orkelund-render --film --assemble ...        the AVI and videos from the
//       PNG frames, once every frame is there; saves the film movie
//
// Range jobs write nothing but their own frame files, each under a
// temporary name first, so jobs may share one Output directory and a job
// that was interrupted is simply run again.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "film/film_command.h"
#include "model/host.h"
#include "shell/render_cli_film.h"

namespace ork {

// The options' lines of the film help text.
std::string FilmRangeHelpText();

// --jobs: a count from 1 to 100000.
bool ParseJobCount(const std::string& text, int& jobs, std::string& error);

// --frames, --plan and --assemble exclude each other; --jobs belongs to
// --plan. False with a reason in error.
bool CheckFilmRangeArgs(const std::vector<std::string>& args, const TFilmCliOptions& options,
                        std::string& error);

// The answer of the film settings dialog: the settings as they are, with
// --preview's choice; for a range job the AVI's frames as PNG files instead
// of the AVI, MP4 and --video files (the assembly writes those).
std::unique_ptr<TFilmSettingsDialog> FilmCliDialog(const TFilmCliOptions& options);

// --plan or --assemble for the prepared request; an exit status, the
// reasons of a failure on err.
int RunFilmPlanOrAssemble(const TFilmCliOptions& options, const TFilmRequest& request,
                          TFilmSettingsDialog& dialog, THost& host, std::ostream& out,
                          std::ostream& err);

}  // namespace ork
