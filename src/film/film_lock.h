// One run at a time writes the film files (AVI, videos) of a film: a run
// locks "Output\" + the film's name + ".lock" while it lasts, and a second
// run of the same film refuses instead of writing beside the first. Range
// jobs, which write only frame files, run side by side without it.
//
// The lock is the system's (flock): it dies with its process, so a run that
// was killed never blocks the next one. The lock file holds the process id
// of its holder for the message and is removed when the run ends.
#pragma once

#include <string>

namespace ork {

class TFilmLock {
 public:
  TFilmLock() = default;
  ~TFilmLock() { Release(); }
  TFilmLock(const TFilmLock&) = delete;
  TFilmLock& operator=(const TFilmLock&) = delete;

  // Locks the film `name` (the film movie's FileName). False with a
  // message in error only when another run holds it; where no lock file
  // can be made (a missing or read-only Output folder) the run goes on
  // and meets that folder's problem when it writes.
  bool Acquire(const std::string& name, std::string& error);
  void Release();

 private:
  int fd_ = -1;
  std::string path_;
};

}  // namespace ork
