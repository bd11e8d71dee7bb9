#include "engine/environment.h"

#include <errno.h>

#include <cctype>
#include <cstdio>

#include "engine/lane_kernels.h"

namespace ork {

namespace {

constexpr int kMostThreads = 1024;

std::string Quoted(const char* name, const char* text) {
  return std::string(name) + "='" + text + "'";
}

}  // namespace

int ThreadsSetting(const char* text, std::string& problem) {
  problem.clear();
  if (text == nullptr || *text == '\0') return 0;
  long long value = 0;
  bool ok = true;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') {
      ok = false;
      break;
    }
    value = value * 10 + (*c - '0');
    if (value > kMostThreads) ok = false;  // stops the sum before it could overflow
    if (!ok) break;
  }
  if (!ok || value < 1) {
    problem = Quoted("ORK_THREADS", text) + " is not a thread count from 1 to " +
              std::to_string(kMostThreads) + "; it is ignored";
    return 0;
  }
  return static_cast<int>(value);
}

int SimdSetting(const char* text, std::string& problem) {
  problem.clear();
  if (text == nullptr || *text == '\0') return -1;
  std::string name;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c != '-') name += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
  }
  if (name == "scalar") return static_cast<int>(TSimd::kScalar);
  if (name == "sse2") return static_cast<int>(TSimd::kSse2);
  if (name == "avx2") return static_cast<int>(TSimd::kAvx2);
  if (name == "avx512") return static_cast<int>(TSimd::kAvx512);
  problem = Quoted("ORK_SIMD", text) +
            " is not one of scalar, sse2, avx2, avx512; it is ignored";
  return -1;
}

void WarnAboutEnvironment(const std::string& problem) {
  std::fprintf(stderr, "%s: warning: %s\n", program_invocation_short_name, problem.c_str());
}

}  // namespace ork
