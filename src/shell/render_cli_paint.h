// The picture step of the headless renderer: paints a computed keyframe
// as the chosen composition and writes it under one --out name.
#pragma once

#include <string>
#include <vector>

#include "engine/pixmap.h"
#include "shell/render_cli.h"

namespace ork {

class TParameter;
class TRender;
class TRenderHost;

// The render object's per-pixel results (TRender::TUnread bits) that
// painting `key` as `composition` will not read: the single picture reads
// only what colour variant 0's coding reads; the others are not narrowed.
unsigned UnreadByPainting(const TParameter& key, TRenderComposition composition);

// Paints `render`'s buffers (computed for `key`) as the composition asks
// and returns the picture that ShownImage selects, or null when painting
// failed.
const TPixmap* PaintPicture(TParameter& key, TRender& render, TRenderComposition composition,
                            TRenderHost& host);

// Paints `render`'s buffers (computed for `key`) as the single picture
// (colour variant 0, blur filter, overlays, texts), or the double or
// fourfold picture of Movie 1's colour variants, then writes the picture
// that ShownImage selects to `path` by the extension rules of saving
// (unknown or no extension: the [SaveImage] formats). False with a message
// in error when painting failed, a file could not be written or nothing at
// all was written. The native paths of the files written are appended to
// `written`.
bool PaintAndSave(TParameter& key, TRender& render, TRenderComposition composition,
                  const std::string& path, TRenderHost& host, std::vector<std::string>& written,
                  std::string& error);

}  // namespace ork
