// Saving the shown picture under a name the user chooses: the save-file
// dialog, the choice of formats by the answer's extension, and the writes.
#pragma once

#include <string>
#include <vector>

#include "engine/pixmap.h"
#include "engine/render.h"
#include "model/host.h"

namespace ork {

// The [SaveImage] switches of the program settings: the formats written
// when the answer has no known extension.
struct TSaveImageFormats {
  bool JPG = true;
  bool PNG = true;
  bool BMP = true;
};

enum class TImageFormat { Jpeg, Png, Bmp };

struct TImageTarget {
  TImageFormat format;
  std::string path;  // as the answer spells it, with a lower-case extension
};

// Splits a path at the last "." that no "/" or "\" follows: base is the
// text before that dot, extension the text after it. Without such a dot
// the extension is empty and the base is the whole path.
void SplitExtension(const std::string& path, std::string& base, std::string& extension);

// The files one dialog answer produces. "JPG"/"JPEG" (any case) give
// base.jpg, "PNG" base.png, "BMP" base.bmp; any other extension, or none,
// gives base.jpg, base.png and base.bmp as `formats` switches them on, in
// this order (none at all when every switch is off).
std::vector<TImageTarget> SaveImageTargets(const std::string& answer,
                                           const TSaveImageFormats& formats);

struct TSaveImageResult {
  bool nothingToSave = false;       // no picture: no dialog was shown
  bool cancelled = false;           // the dialog was cancelled
  std::vector<std::string> written;  // native paths of the files written
  std::vector<std::string> failed;   // "<native path>: <reason>" of each file not written
  bool Ok() const { return failed.empty(); }
};

// The dialog's title; the same text in both languages.
inline constexpr char kSaveImageTitle[] = "Bild speichern als ...";

// Asks for a file name through host.ChooseSaveFile, offering the absolute
// form of `proposedPath` (a program path, resolved against the working
// directory), then writes `picture` to every target of the answer (JPEG
// quality 90, PNG level 5). A failed format does not stop the others; the
// result lists what was written and what failed, for the caller to report.
// A null or empty picture writes nothing and shows no dialog.
TSaveImageResult SavePictureAs(const TPixmap* picture, const std::string& proposedPath,
                               const TSaveImageFormats& formats, THost& host);

// The render object's picture that Composition().ShownImage selects (Image
// below 2, ImageD at 2, ImageV at 4), or null (other values, or that
// picture missing).
const TPixmap* SavedPicture(const TRender& render);

// The save command: SavePictureAs with the shown picture, so that what is
// written is exactly what is shown. `proposedPath` is the picture name of
// Movie 1's current keyframe (FileNameKey).
TSaveImageResult SaveImage(const TRender& render, const std::string& proposedPath,
                           const TSaveImageFormats& formats, THost& host);

}  // namespace ork
