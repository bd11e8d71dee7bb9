#include "windows/film_panels.h"

#include "model/ini_store.h"
#include "model/number_format.h"
#include "windows/film_panel_texts.h"

namespace ork {

namespace t = film_panel_texts;

TFilmPanel BuildFilmPanel(THandle parent, int y, bool preview, int fpsWidth) {
  TGui& gui = Gui();
  TFilmPanel p;
  p.Panel = gui.CreatePanel(parent, 10, y, 220, preview ? 147 : 114,
                            Tr(preview ? t::kPreviewPanel : t::kNormal));
  gui.CreateLabel(p.Panel, 10, 3, 130, 19, Tr(t::kFps));
  p.Fps = gui.CreateTextField(p.Panel, 150, 0, fpsWidth, 19);
  p.Jpg = gui.CreateCheckBox(p.Panel, 10, 19, 130, 19, "JPG");
  p.Png = gui.CreateCheckBox(p.Panel, 10, 38, 130, 19, "PNG");
  p.Bmp = gui.CreateCheckBox(p.Panel, 10, 57, 130, 19, "BMP");
  p.Avi = gui.CreateCheckBox(p.Panel, 10, 76, 130, 19, "AVI");
  p.Mp4 = gui.CreateCheckBox(p.Panel, 150, 76, 60, 19, "MP4");
  if (preview) {
    gui.CreateLabel(p.Panel, 10, 103, 130, 19, Tr(t::kWidth));
    p.Width = gui.CreateTextField(p.Panel, 150, 100, 32, 19);
  }
  return p;
}

void FillFilmPanel(const TFilmPanel& panel, const TINI& store, std::string_view section) {
  TGui& gui = Gui();
  gui.SetText(panel.Fps, StoreText(store, section, "FPS"));
  gui.SetState(panel.Jpg, StoreTicked(store, section, "JPG"));
  gui.SetState(panel.Png, StoreTicked(store, section, "PNG"));
  gui.SetState(panel.Bmp, StoreTicked(store, section, "BMP"));
  gui.SetState(panel.Avi, StoreTicked(store, section, "AVI"));
  gui.SetState(panel.Mp4, StoreTicked(store, section, "MP4"));
  if (panel.Width) gui.SetText(panel.Width, StoreText(store, section, "Width"));
}

void StoreFilmPanel(const TFilmPanel& panel, TINI& store, const std::string& section) {
  TGui& gui = Gui();
  SetStoreValue(store, section, "FPS", gui.GetText(panel.Fps));
  SetStoreValue(store, section, "JPG", BoxValue(panel.Jpg));
  SetStoreValue(store, section, "PNG", BoxValue(panel.Png));
  SetStoreValue(store, section, "BMP", BoxValue(panel.Bmp));
  SetStoreValue(store, section, "AVI", BoxValue(panel.Avi));
  // The settings file's defaults have no "MP4"; it appears once switched on.
  const TINIGroup* group = store.Find(section);
  if (gui.GetState(panel.Mp4) || (group && group->Find("MP4")))
    SetStoreValue(store, section, "MP4", BoxValue(panel.Mp4));
  if (panel.Width) SetStoreValue(store, section, "Width", gui.GetText(panel.Width));
}

void FillFilmPanel(const TFilmPanel& panel, const TFilmDialogValues::TKind& kind,
                   const std::string& width) {
  TGui& gui = Gui();
  gui.SetText(panel.Fps, kind.Fps);
  gui.SetState(panel.Jpg, kind.Jpg);
  gui.SetState(panel.Png, kind.Png);
  gui.SetState(panel.Bmp, kind.Bmp);
  gui.SetState(panel.Avi, kind.Avi);
  gui.SetState(panel.Mp4, kind.Mp4);
  if (panel.Width) gui.SetText(panel.Width, width);
}

TFilmDialogValues::TKind ReadFilmPanel(const TFilmPanel& panel) {
  TGui& gui = Gui();
  TFilmDialogValues::TKind kind;
  kind.Fps = gui.GetText(panel.Fps);
  kind.Jpg = gui.GetState(panel.Jpg) != 0;
  kind.Png = gui.GetState(panel.Png) != 0;
  kind.Bmp = gui.GetState(panel.Bmp) != 0;
  kind.Avi = gui.GetState(panel.Avi) != 0;
  kind.Mp4 = gui.GetState(panel.Mp4) != 0;
  return kind;
}

void SetStoreValue(TINI& store, const std::string& section, const std::string& key,
                   const std::string& value) {
  TINIGroup* group = store.Find(section);
  if (!group) group = store.Add(section);
  if (TINIVar* var = group->Find(key))
    var->Value = value;
  else
    group->Add(key, value);
}

std::string StoreText(const TINI& store, std::string_view section, std::string_view key) {
  const TINIGroup* group = store.Find(section);
  const TINIVar* var = group ? group->Find(key) : nullptr;
  return var ? var->Value : std::string();
}

bool StoreTicked(const TINI& store, std::string_view section, std::string_view key) {
  return TextToInt(StoreText(store, section, key)) == 1;
}

}  // namespace ork
