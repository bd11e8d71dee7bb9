#include "windows/dynamics_commands.h"

#include "engine/orbit_picture.h"
#include "model/process_state.h"
#include "shell/commands.h"
#include "shell/event_loop.h"
#include "shell/main_window.h"
#include "shell/shell_host.h"
#include "shell/shell_state.h"
#include "windows/dynamics_texts.h"
#include "windows/picture_window.h"
#include "windows/points_window.h"

namespace ork {

namespace {

namespace t = dynamics_texts;

TWindowPoints* PointsWindow() {
  if (!SlotWindow(TSlot::Points))
    FillSlot(TSlot::Points, TWindowPoints::Open(MainWindow().Window));
  return dynamic_cast<TWindowPoints*>(SlotWindow(TSlot::Points));
}

}  // namespace

void DynamicsPointCommand() {
  TShellState& s = Shell();
  if (!s.CurrentKeyM1) return;
  TCompositionState& c = Composition();
  const bool right = !(c.CompositionMode == 1 || s.Tools.ClickSide < 2);
  TParameter* key = right ? s.CurrentKeyM2 : s.CurrentKeyM1;
  if (!key) return;
  c.InsertPosX = key->Mpox;
  c.InsertPosY = key->Mpoy;
  s.Tools.ClickSide = 0;
  s.DynamicsMovie = right ? 2 : 1;
  Dynamics().DynamicsMode = 2;
  PostDynamicsRun();
}

void PostDynamicsRun() { PostShellCommand(Shell().DynamicsMovie == 2 ? 84 : 83); }

void DynamicsResultCommand() {
  TShellState& s = Shell();
  TDynamicsState& dynamics = Dynamics();
  const bool m2 = s.DynamicsMovie == 2;
  TParameter* key = m2 ? s.CurrentKeyM2 : s.CurrentKeyM1;
  TRender* render = m2 ? s.RenderM2.get() : s.RenderM1.get();
  if (s.CurrentKeyM1 && key && render) {
    if (dynamics.DynamicsMode == 3) {
      // The list takes its texts from the points window's last fill; a
      // window that is not open yet is filled first so they exist.
      const bool opened = !SlotWindow(TSlot::Points);
      TWindowPoints* points = PointsWindow();
      if (opened) points->Fill(*render, *key);
      if (points->Save("Output\\", "ZList.txt", render->DynX, render->DynY, ShellHost()) == 1)
        ShellHost().Information(Tr(t::kZListWritten));
    } else {
      const int length = LimitDynamicsLength(dynamics.DynamicsLength);
      if (length != s.LastDynamicsLength) CloseSlot(TSlot::DynamicsPicture);
      if (!SlotWindow(TSlot::DynamicsPicture))
        FillSlot(TSlot::DynamicsPicture, TWindowPicture::Open(length, MainWindow().Window));
      auto* picture = dynamic_cast<TWindowPicture*>(SlotWindow(TSlot::DynamicsPicture));
      const TCompositionState& c = Composition();
      picture->Fill(length, length + kDynamicsTextRows, key->pox, key->poy,
                    std::string(m2 ? "M2: " : "M1: ") + Tr(t::kDynamicsAt) +
                        " MX=" + std::to_string(c.InsertPosX) +
                        " MY=" + std::to_string(c.InsertPosY));
      RequestRepaint();
      s.LastDynamicsLength = length;
      PointsWindow()->Fill(*render, *key);
      picture->Maxi();
    }
  }
  // Back to normal computing even when nothing could be shown, so that the
  // next picture is not computed as an orbit.
  dynamics.DynamicsMode = 0;
  RequestRepaint();
}

void DynamicsToMainCommand() {
  TShellState& s = Shell();
  const TPixmapPtr& pixmap = DynamicsPicture().DynamicsPixmap;
  if (!s.CurrentKeyM1 || !s.RenderM1 || !pixmap) return;
  // A copy: the next dynamics run must not change the picture to be saved.
  auto image = std::make_shared<TPixmap>(*pixmap);
  if (Composition().ShownImage == 2)
    s.RenderM1->ImageD = image;
  else
    s.RenderM1->Image = image;
  RequestRepaint();
}

void PointAsCCommand() {
  TParameter* key = Shell().CurrentKeyM1;
  if (!key) return;
  key->CCx = key->pox;
  key->CCy = key->poy;
}

void RegisterDynamicsCommands() {
  InstallOrbitPicture();
  SetCommandHandler(128, [](int) { DynamicsPointCommand(); });
  SetCommandHandler(81, [](int) { DynamicsResultCommand(); });
  SetCommandHandler(82, [](int) { DynamicsToMainCommand(); });
  SetCommandHandler(79, [](int) { PointAsCCommand(); });
}

}  // namespace ork
