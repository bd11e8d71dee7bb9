// The last step of a film produced in ranges: the film's AVI and videos
// written from the PNG frame files the range jobs left in "Output\", in
// film order, as a film produced in one run writes them (the AVI with the
// same bytes).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "film/avi_writer.h"
#include "film/film_settings.h"
#include "model/host.h"
#include "model/movie.h"

namespace ork {

// The frame file a range job writes for the assembly: "Output\" + the
// frame's FileNameKey + ".png", as a native path.
std::string AssemblyFramePath(const TParameter& frame);

struct TAssemblyResult {
  bool Ok = false;                    // the film was written
  std::vector<std::string> Problems;  // one line per missing or damaged frame file
  // A failure of the film files themselves, "<path>: <reason>" (a folder
  // that cannot be written, a full disk, another run of the same film).
  std::string Error;
  std::vector<std::string> FilmFiles;  // the AVI and videos written, native paths
};

// Checks frames 1..frames of `film`: each frame file must exist, be a
// complete PNG and hold width x height pixels. When one does not, every
// such file is named in Problems and nothing is written. Otherwise the
// frames are read in order and written as the film settings' AVI and
// videos (settings.VideoFiles too), planned for film.Count frames as a
// whole run plans them; a frame that turns out damaged while it is read is
// named. Nothing takes a film's name unless the whole film was written:
// a refused or failed assembly leaves older films of the same names as
// they were. One assembly of a film runs at a time (TFilmLock); another
// one is refused with Error.
// Frame files and picture-file flags are left alone. Problems holds at
// most maxProblems lines and a count of the others.
TAssemblyResult AssembleFilm(const TParameterAnim& film, int frames, int width, int height,
                             const TFilmSettings& settings, THost& host,
                             uint64_t aviFileLimit = kAviFileLimit, size_t maxProblems = 20);

}  // namespace ork
