#include "film/film_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "model/paths.h"

namespace ork {

bool TFilmLock::Acquire(const std::string& name, std::string& error) {
  Release();
  const std::string path = NativePath("Output\\" + name + ".lock");
  // A holder removes the file before it unlocks: a lock won on a file that
  // lost its name meanwhile is worth nothing, and the next try takes the
  // new file.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int why = errno;
      char holder[32] = {};
      const ssize_t n = ::pread(fd, holder, sizeof holder - 1, 0);
      ::close(fd);
      if (why != EWOULDBLOCK) return true;  // a file system without locks
      error = path + ": the film " + name + " is being produced by another run";
      if (n > 0) error += std::string(" (process ") + holder + ")";
      error += "; try again when it has ended";
      return false;
    }
    struct stat locked, named;
    if (::fstat(fd, &locked) == 0 && ::stat(path.c_str(), &named) == 0 &&
        locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
      // The process id only serves the message of a run that is refused.
      const std::string pid = std::to_string(::getpid());
      const bool noted = ::ftruncate(fd, 0) == 0 &&
                         ::pwrite(fd, pid.data(), pid.size(), 0) == static_cast<ssize_t>(pid.size());
      (void)noted;
      fd_ = fd;
      path_ = path;
      return true;
    }
    ::close(fd);
  }
  return true;
}

void TFilmLock::Release() {
  if (fd_ < 0) return;
  ::unlink(path_.c_str());
  ::close(fd_);
  fd_ = -1;
  path_.clear();
}

}  // namespace ork
