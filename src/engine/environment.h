// The computing settings a user can give through the environment:
// ORK_THREADS (the number of computing threads) and ORK_SIMD (a cap on the
// vector unit). A value that is not understood is ignored with a warning
// on standard error that names it, once per process and variable.
#pragma once

#include <string>

namespace ork {

// ORK_THREADS's text as a count from 1 to 1024 (what --threads takes);
// 0 for none: unset or empty (problem stays empty), or not understood
// (problem says what was wrong, naming the value).
int ThreadsSetting(const char* text, std::string& problem);

// ORK_SIMD's text as an instruction-set cap: scalar, sse2, avx2 or avx512,
// in any case, with or without a hyphen before the number (so "AVX-512",
// as --verbose names it, is understood); -1 for no cap: unset or empty, or
// not understood (problem set as above). The number is a TSimd value.
int SimdSetting(const char* text, std::string& problem);

// Writes `problem` to standard error, prefixed with the program's name.
void WarnAboutEnvironment(const std::string& problem);

}  // namespace ork
