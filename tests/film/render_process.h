// orkelund-render run as its own process by the film's end-to-end tests,
// and the files they give it.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace ork::test {

inline const std::string kRenderer = std::string(ORK_BINARY_DIR) + "/bin/orkelund-render";

struct TProcess {
  int status = -1;  // exit status, or 128 + signal
  std::string err;
};

// Runs the renderer; onLine sees every complete line of its standard error
// and may return true once to have `signal` sent to it. fileSize limits the
// size of every file it writes (a full disk; SIGXFSZ ignored). Standard
// output goes to `out` when given (a few kilobytes at most), else nowhere.
inline TProcess RunRenderer(const std::vector<std::string>& args,
                            const std::function<bool(const std::string&)>& onLine = {},
                            int signal = SIGINT, rlim_t fileSize = RLIM_INFINITY,
                            std::string* out = nullptr) {
  TProcess p;
  int pipeFd[2], outFd[2];
  if (::pipe2(pipeFd, O_CLOEXEC) != 0 || ::pipe2(outFd, O_CLOEXEC) != 0) return p;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{fileSize, fileSize};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::dup2(pipeFd[1], 2);
    ::dup2(outFd[1], 1);
    if (!out) ::dup2(::open("/dev/null", O_WRONLY), 1);
    std::vector<char*> argv{const_cast<char*>(kRenderer.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(kRenderer.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(pipeFd[1]);
  ::close(outFd[1]);
  bool signalled = false;
  std::string line;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipeFd[0], buffer, sizeof buffer)) > 0;) {
    for (ssize_t i = 0; i < n; ++i) {
      p.err += buffer[i];
      if (buffer[i] != '\n') {
        line += buffer[i];
        continue;
      }
      if (!signalled && onLine && onLine(line)) {
        ::kill(pid, signal);
        signalled = true;
      }
      line.clear();
    }
  }
  ::close(pipeFd[0]);
  for (ssize_t n; (n = ::read(outFd[0], buffer, sizeof buffer)) > 0;)
    if (out) out->append(buffer, static_cast<size_t>(n));
  ::close(outFd[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  p.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return p;
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The complete settings file with the film sections given.
inline std::string SettingsText(const std::string& anim, const std::string& preview) {
  return "[Window]\r\nMaximize=1\r\nToolbar=1\r\n\r\n[User]\r\nLanguage=EN\r\n\r\n[Load]\r\n"
         "Start-ini=Default.ini\r\nStartVorschau=1\r\nPositionX=9999\r\nPositionY=9999\r\n\r\n"
         "[AnimMode]\r\nPreview=0\r\n\r\n[Anim]\r\n" + anim + "\r\n[AnimPreview]\r\n" + preview +
         "\r\n[SaveImage]\r\nJPG=1\r\nPNG=1\r\nBMP=1\r\n";
}

// Two keys zooming in; `seconds` of film between them.
inline std::string MovieText(const std::string& name, int width, int height, double seconds,
                             int iterations) {
  const std::string key =
      "NoOfFormula=1\r\nMidPointX=-0.5\r\nMax_Iterat=" + std::to_string(iterations) +
      "\r\nDoCalculate=1\r\nInterpolationList=(HeightY,+):(MidPointX,+)\r\n";
  return "[OUTPUT]\r\nWidth=" + std::to_string(width) + "\r\nHeight=" + std::to_string(height) +
         "\r\nFileName=" + name + "\r\n[KEYS]\r\nCount=2\r\nActual=1\r\n[KEY1]\r\nHeightY=2.5\r\n"
         "SecondsFor+=" + std::to_string(seconds) + "\r\n" + key +
         "[KEY2]\r\nHeightY=0.01\r\nMidPointX=-0.745\r\n" + key;
}

// The names of dir's files ending in ext, sorted.
inline std::vector<std::string> Files(const std::filesystem::path& dir, const std::string& ext) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    if (e.path().extension() == ext) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace ork::test
