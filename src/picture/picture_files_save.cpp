#include "picture/picture_files_save.h"

#include <filesystem>
#include <system_error>

#include "model/paths.h"
#include "model/process_state.h"
#include "picture/picture_files.h"

namespace ork {

namespace {

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The proposed file for the dialog: absolute, resolved against the working
// directory; an empty proposal offers the working directory itself.
std::string AbsoluteProposal(const std::string& proposedPath) {
  std::string native = NativePath(proposedPath.empty() ? std::string(".") : proposedPath);
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(native, ec);
  if (ec) return native;
  std::string text = absolute.lexically_normal().string();
  if (proposedPath.empty() && (text.empty() || text.back() != '/')) text += '/';
  return text;
}

bool Write(TImageFormat format, const TPixmap& picture, const std::string& path,
           TWriteContext& context) {
  switch (format) {
    case TImageFormat::Jpeg: return SaveJpeg(picture, path, 90, &context);
    case TImageFormat::Png: return SavePng(picture, path, 5, &context);
    case TImageFormat::Bmp: return SaveBmp24(picture, path, &context);
  }
  return false;
}

}  // namespace

void SplitExtension(const std::string& path, std::string& base, std::string& extension) {
  size_t dot = path.rfind('.');
  if (dot == std::string::npos || path.find_first_of("/\\", dot) != std::string::npos) {
    base = path;
    extension.clear();
    return;
  }
  base = path.substr(0, dot);
  extension = path.substr(dot + 1);
}

std::vector<TImageTarget> SaveImageTargets(const std::string& answer,
                                           const TSaveImageFormats& formats) {
  std::string base, extension;
  SplitExtension(answer, base, extension);
  const std::string ext = UpperAscii(extension);
  if (ext == "JPG" || ext == "JPEG") return {{TImageFormat::Jpeg, base + ".jpg"}};
  if (ext == "PNG") return {{TImageFormat::Png, base + ".png"}};
  if (ext == "BMP") return {{TImageFormat::Bmp, base + ".bmp"}};
  std::vector<TImageTarget> targets;
  if (formats.JPG) targets.push_back({TImageFormat::Jpeg, base + ".jpg"});
  if (formats.PNG) targets.push_back({TImageFormat::Png, base + ".png"});
  if (formats.BMP) targets.push_back({TImageFormat::Bmp, base + ".bmp"});
  return targets;
}

TSaveImageResult SavePictureAs(const TPixmap* picture, const std::string& proposedPath,
                               const TSaveImageFormats& formats, THost& host) {
  TSaveImageResult result;
  if (!picture || picture->Empty()) {
    result.nothingToSave = true;
    return result;
  }
  const std::string answer = host.ChooseSaveFile(kSaveImageTitle, AbsoluteProposal(proposedPath), "");
  if (answer.empty()) {
    result.cancelled = true;
    return result;
  }
  for (const TImageTarget& target : SaveImageTargets(answer, formats)) {
    const std::string native = NativePath(target.path);
    TWriteContext context;
    if (Write(target.format, *picture, native, context))
      result.written.push_back(native);
    else
      result.failed.push_back(native + ": " + context.reason);
  }
  return result;
}

const TPixmap* SavedPicture(const TRender& render) {
  const int shown = Composition().ShownImage;
  const TPixmapPtr* picture = shown < 2 ? &render.Image
                              : shown == 2 ? &render.ImageD
                              : shown == 4 ? &render.ImageV
                                           : nullptr;
  return picture ? picture->get() : nullptr;
}

TSaveImageResult SaveImage(const TRender& render, const std::string& proposedPath,
                           const TSaveImageFormats& formats, THost& host) {
  return SavePictureAs(SavedPicture(render), proposedPath, formats, host);
}

}  // namespace ork
