// What the renderer says about the computing engine: the --threads option
// of both its modes, and the --verbose lines on threads and vector units.
#pragma once

#include <string>

#include "model/movie.h"
#include "model/parameter.h"

namespace ork {

// Parses --threads' value, a count from 1 to 1024. False with a message in
// error otherwise.
bool ParseThreadCount(const std::string& text, int& threads, std::string& error);

// Applies --threads (0: not given) and reads the environment's computing
// settings now, so that a warning about them comes before any other line.
void UseThreadOption(int threads);

// How the keyframe's picture will be computed, e.g. "2 threads, AVX-512
// lanes (8 pixels per vector) for formula 1000".
std::string EngineDescription(const TParameter& keyframe);

// --deep: switches every keyframe of the movie to deep computation.
void SwitchDeep(TParameterAnim& movie);

// The --verbose line on deep computation: "deep picture, N bits of
// precision" for a deep keyframe (with a note for formulas that cannot be
// computed deep), the double limit's warning for a keyframe past it
// without the switch; empty otherwise.
std::string DeepDescription(const TParameter& keyframe);

// How the last deep picture was computed: its iterations, the share the
// approximation table took at once, the reference orbit's length and time.
std::string DeepReport();

// What the last computation of a picture took and how its parallel rows
// fared (guesses of the cycle history checked and mended).
std::string ComputationReport(double seconds);

}  // namespace ork
