#include "shell/render_cli_checks.h"

#include <filesystem>
#include <ostream>
#include <system_error>

#include "model/file_io.h"
#include "model/ini_store.h"
#include "model/movie.h"
#include "picture/picture_files_save.h"
#include "shell/render_cli.h"

namespace ork {

namespace fs = std::filesystem;

int CheckMovieFile(const std::string& given, const std::string& path, std::ostream& err) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    err << "orkelund-render: movie file '" << given << "' "
        << (fs::exists(path, ec) ? "is not a file" : "does not exist") << '\n';
    return kRenderUsage;
  }
  // The loader would fall back to a Default.ini beside an unreadable file
  // (and write one there), and make up two default keyframes for a file
  // without any: a batch run must fail instead.
  std::string bytes;
  bool truncated = false;
  if (!ReadFileBytes(path, TINI::kMaxFileBytes, bytes, truncated)) {
    err << "orkelund-render: cannot read the movie file '" << given << "'\n";
    return kRenderFailed;
  }
  const std::unique_ptr<TINI> ini = TINI::FromBytes("", "", bytes);
  for (const auto& group : ini->Groups)
    if (IsKeyframeSection(group->Name)) return kRenderOk;
  err << "orkelund-render: '" << given
      << "' is not a movie file: it has no keyframe section ([KEY1], [KEY2], ...)\n";
  return kRenderFailed;
}

bool HasFileBase(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  return !name.empty() && dot != 0;
}

bool CheckPictureName(const std::string& path, std::string& error) {
  if (path == "-") return true;
  if (!HasFileBase(path)) {
    error = "--out needs a file name with a name before its extension (got '" + path + "')";
    return false;
  }
  std::string base, extension;
  SplitExtension(path, base, extension);
  std::string ext;
  for (char c : extension) ext += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (ext.empty() || ext == "png" || ext == "jpg" || ext == "jpeg" || ext == "bmp") return true;
  error = "--out '" + path + "': unknown picture format '." + extension +
          "' (.png, .jpg, .jpeg and .bmp are written; without an extension the formats "
          "of [SaveImage])";
  return false;
}

}  // namespace ork
