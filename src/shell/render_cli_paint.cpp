#include "shell/render_cli_paint.h"

#include "color/coding.h"
#include "engine/render.h"
#include "model/list_syntax.h"
#include "model/process_state.h"
#include "picture/composition.h"
#include "picture/picture_files_save.h"
#include "shell/render_cli_host.h"
#include "shell/settings.h"

namespace ork {

unsigned UnreadByPainting(const TParameter& key, TRenderComposition composition) {
  if (composition != TRenderComposition::Single) return 0;
  TParameter variant = key;  // as ShowCalculated selects it
  SelectColorVariant(variant, 0);
  return CodingLeavesUnread(ReducedCoding(variant.SelectPicture));
}

const TPixmap* PaintPicture(TParameter& key, TRender& render, TRenderComposition composition,
                            TRenderHost& host) {
  int painted = 0;
  switch (composition) {
    case TRenderComposition::Single:
      // As the main picture command: the single composition is the current
      // one, so its overlays and texts are drawn.
      Composition().CompositionMode = 1;
      painted = ShowCalculated(&key, &render, host);
      break;
    case TRenderComposition::Double:
      painted = ShowDoubleM1(&key, &render, host);
      break;
    case TRenderComposition::Fourfold:
      painted = ShowFourfoldM1(&key, &render, host);
      break;
  }
  return painted ? SavedPicture(render) : nullptr;
}

bool PaintAndSave(TParameter& key, TRender& render, TRenderComposition composition,
                  const std::string& path, TRenderHost& host, std::vector<std::string>& written,
                  std::string& error) {
  if (!PaintPicture(key, render, composition, host)) {
    error = "the picture could not be painted";
    return false;
  }
  host.SetSaveAnswer(path);
  const TSaveImageResult result = SaveImage(render, key.FileNameKey, SaveImageFormats(), host);
  written.insert(written.end(), result.written.begin(), result.written.end());
  if (!result.failed.empty()) {
    error = "cannot write";
    for (const std::string& f : result.failed) error += " " + f;
    return false;
  }
  if (result.written.empty()) {
    error = "nothing written for '" + path +
            "': no known extension and every [SaveImage] format is off";
    return false;
  }
  return true;
}

}  // namespace ork
