#include "windows/settings_window.h"

#include <string>

#include "model/ini_store.h"
#include "model/number_format.h"
#include "shell/commands.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "shell/shell_host.h"
#include "windows/settings_window_texts.h"

namespace ork {

namespace {

namespace t = settings_window_texts;

std::string PositionText(int position) {
  return position == kPictureCentred ? std::string("Mid") : std::to_string(position);
}

}  // namespace

std::unique_ptr<TWindowProgramm> TWindowProgramm::Open(THandle parent) {
  TGui& gui = Gui();
  auto w = std::make_unique<TWindowProgramm>();
  const TRect at = gui.Geometry(parent);
  const TSize client = gui.ClientSize(parent);
  w->Window = gui.CreateWindow(Tr(t::kTitle), at.x + 32, at.y + 64, 244, 651,
                               kWinTitleBar | kWinClientSize, parent);
  const THandle win = w->Window;

  w->PAN_BILDPOS = gui.CreatePanel(win, 10, 0, 220, 95, Tr(t::kPicturePos));
  gui.CreateLabel(w->PAN_BILDPOS, 10, 8, 219, 19, Tr(t::kMidHint));
  gui.CreateLabel(w->PAN_BILDPOS, 10, 32, 130, 19,
                  Tr(t::kPoint) + " X  Pixel (0.." + std::to_string(client.width - 331) + ")");
  w->Input1 = gui.CreateTextField(w->PAN_BILDPOS, 150, 29, 40, 19);
  gui.CreateLabel(w->PAN_BILDPOS, 10, 51, 130, 19,
                  Tr(t::kPoint) + " Y  Pixel (0.." + std::to_string(client.height - 370) + ")");
  w->Input2 = gui.CreateTextField(w->PAN_BILDPOS, 150, 48, 40, 19);

  w->PAN_SPRACHE = gui.CreatePanel(win, 10, 100, 220, 48, Tr(t::kLanguagePanel));
  gui.CreateLabel(w->PAN_SPRACHE, 10, 3, 130, 19, Tr(t::kLanguageLabel));
  w->TXT_Language = gui.CreateTextField(w->PAN_SPRACHE, 150, 0, 40, 19);

  w->PAN_VORSCHAU = gui.CreatePanel(win, 10, 152, 220, 48, Tr(t::kStartPanel));
  w->CK_StartVorschau = gui.CreateCheckBox(w->PAN_VORSCHAU, 10, 5, 100, 19, Tr(t::kWithPreview));
  w->CK_StartRun = gui.CreateCheckBox(w->PAN_VORSCHAU, 110, 5, 100, 19, Tr(t::kMainPicture));

  w->CK_PREV = gui.CreateCheckBox(win, 10, 218, 300, 19, Tr(t::kFilmPreview));
  w->PAN = BuildFilmPanel(win, 237, false, 40);
  w->PAN_PREV = BuildFilmPanel(win, 351, true, 32);
  // The film dialog titles this panel "Vorschau" in both languages; here
  // it follows the language.
  gui.SetText(w->PAN_PREV.Panel, Tr(t::kPreviewPanel));

  w->PAN_SAVEIMG = gui.CreatePanel(win, 10, 508, 220, 48, Tr(t::kSaveImage));
  const std::string as = Tr(t::kAs);
  w->CK_IMGJPG = gui.CreateCheckBox(w->PAN_SAVEIMG, 10, 5, 60, 19, as + " JPG");
  w->CK_IMGPNG = gui.CreateCheckBox(w->PAN_SAVEIMG, 81, 5, 60, 19, as + " PNG");
  w->CK_IMGBMP = gui.CreateCheckBox(w->PAN_SAVEIMG, 151, 5, 60, 19, as + " BMP");

  w->PAN_TOOLB = gui.CreatePanel(win, 10, 556, 220, 48, Tr(t::kToolbarPanel));
  w->CK_Toolbar = gui.CreateCheckBox(w->PAN_TOOLB, 10, 5, 200, 19, Tr(t::kToolbarVisible));

  w->Cmd_OK = gui.CreateButton(win, 10, 618, 100, 19, Tr(t::kSave), TButtonKind::DefaultOk);
  w->Cmd_Abbruch =
      gui.CreateButton(win, 129, 618, 100, 19, Tr(t::kCancel), TButtonKind::Cancel);
  return w;
}

void TWindowProgramm::Close(std::unique_ptr<TWindowProgramm>& window) {
  if (!window) return;
  window->Close();
  window.reset();
}

void TWindowProgramm::Close() {
  if (Window) Gui().Destroy(Window);
  Window = 0;
}

int TWindowProgramm::Fill(TINI& store) {
  TGui& gui = Gui();
  if (!Window) return 0;
  // ReadSettings repairs a store with missing keys by reloading the
  // settings file, which replaces the shell's store object: read it first
  // and go on with the object that is current afterwards.
  const bool shellStore = &store == &SettingsIni();
  std::string startIni, language;
  int startPreview = 0, maximize = 0, toolbar = 0;
  ReadSettings(startIni, startPreview, language, maximize, toolbar, ShellHost());
  TINI& target = shellStore ? SettingsIni() : store;

  GroupAnimMode = target.Find("AnimMode");
  GroupAnim = target.Find("Anim");
  GroupAnimPreview = target.Find("AnimPreview");
  gui.SetState(CK_PREV, StoreTicked(target, "AnimMode", "Preview"));
  FillFilmPanel(PAN, target, "Anim");
  FillFilmPanel(PAN_PREV, target, "AnimPreview");
  gui.SetText(Input1, PositionText(Settings().PicturePosX));
  gui.SetText(Input2, PositionText(Settings().PicturePosY));
  gui.SetState(CK_IMGJPG, StoreTicked(target, "SaveImage", "JPG"));
  gui.SetState(CK_IMGPNG, StoreTicked(target, "SaveImage", "PNG"));
  gui.SetState(CK_IMGBMP, StoreTicked(target, "SaveImage", "BMP"));
  gui.SetText(TXT_Language, language);
  gui.SetState(CK_Toolbar, toolbar ? 1 : 0);
  gui.SetState(CK_StartVorschau, startPreview == 1);
  gui.SetState(CK_StartRun, startPreview != 1);
  gui.SetFocus(Window);

  for (;;) {
    const TEvent e = gui.WaitEvent();
    if (e.kind == TEventKind::Gadget && e.source == CK_StartVorschau) {
      gui.SetState(CK_StartRun, gui.GetState(CK_StartVorschau) ? 0 : 1);
    } else if (e.kind == TEventKind::Gadget && e.source == CK_StartRun) {
      gui.SetState(CK_StartVorschau, gui.GetState(CK_StartRun) ? 0 : 1);
    } else if ((e.kind == TEventKind::Gadget && e.source == Cmd_Abbruch) ||
               (e.kind == TEventKind::WindowClose && e.source == Window)) {
      break;
    } else if (e.kind == TEventKind::Gadget && e.source == Cmd_OK) {
      Store(target);
      break;
    }
  }
  Close();
  // A repaint of the picture area may have been consumed meanwhile.
  RequestRepaint();
  return 0;
}

void TWindowProgramm::Store(TINI& store) {
  TGui& gui = Gui();
  TSettingsState& settings = Settings();
  const std::string x = gui.GetText(Input1);
  if (x == "Mid")
    settings.PicturePosX = settings.PicturePosY = kPictureCentred;
  else
    settings.PicturePosX = TextToInt(x);
  const std::string y = gui.GetText(Input2);
  if (y == "Mid")
    settings.PicturePosX = settings.PicturePosY = kPictureCentred;
  else
    settings.PicturePosY = TextToInt(y);

  SetStoreValue(store, "Load", "PositionX", std::to_string(settings.PicturePosX));
  SetStoreValue(store, "Load", "PositionY", std::to_string(settings.PicturePosY));
  SetStoreValue(store, "Load", "StartVorschau", BoxValue(CK_StartVorschau));
  const std::string language = gui.GetText(TXT_Language);
  SetStoreValue(store, "User", "Language", language);
  SetStoreValue(store, "Window", "Toolbar", BoxValue(CK_Toolbar));
  SetStoreValue(store, "AnimMode", "Preview", BoxValue(CK_PREV));
  StoreFilmPanel(PAN, store, "Anim");
  StoreFilmPanel(PAN_PREV, store, "AnimPreview");
  SetStoreValue(store, "SaveImage", "JPG", BoxValue(CK_IMGJPG));
  SetStoreValue(store, "SaveImage", "PNG", BoxValue(CK_IMGPNG));
  SetStoreValue(store, "SaveImage", "BMP", BoxValue(CK_IMGBMP));
  store.Save("", "", ShellHost());
  ShellHost().Information(Tr(language == "DE" ? t::kRestartDe : t::kRestartEn));
}

void SettingsCommand() {
  CloseSlot(TSlot::Settings);
  auto window = TWindowProgramm::Open(MainWindow().Window);
  TWindowProgramm* w = window.get();
  FillSlot(TSlot::Settings, std::move(window));
  w->Fill(SettingsIni());

  TShellState& s = Shell();
  s.ToolbarSetting = SettingsInt("Window", "Toolbar", 0) != 0;
  s.StartPreviewSetting = SettingsInt("Load", "StartVorschau", 0) != 0;
  s.StartPreviewPending = s.StartPreviewSetting;
  TGui& gui = Gui();
  if (s.ToolbarExists) {
    gui.ShowGadget(MainWindow().Toolbar, s.ToolbarSetting);
  } else if (s.ToolbarSetting) {
    BuildToolbar();
    s.ToolbarExists = true;
  }
  RequestRepaint();
}

void RegisterSettingsWindow() {
  SetCommandHandler(5, [](int) { SettingsCommand(); });
}

}  // namespace ork
