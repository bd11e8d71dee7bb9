// A fresh working folder for the film benchmarks, in memory where the
// machine has /dev/shm, with the process state reset and single pictures.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include "model/paths.h"
#include "model/process_state.h"
#include "picture/composition.h"

inline std::filesystem::path FreshFilmWorkDir(const std::string& tag) {
  namespace fs = std::filesystem;
  const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  const fs::path dir = base / ("ork_bench_" + tag + "_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "Output");
  ork::SetWorkDir(dir.string());
  ork::ResetProcessState();
  ork::Composition().CompositionMode = 1;
  return dir;
}
