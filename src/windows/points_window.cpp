#include "windows/points_window.h"

#include <filesystem>

#include "model/file_io.h"
#include "model/number_format.h"
#include "model/paths.h"
#include "model/process_state.h"
#include "model/texts.h"
#include "shell/event_loop.h"
#include "windows/dynamics_commands.h"
#include "windows/dynamics_texts.h"
#include "windows/window_placement.h"

namespace ork {

namespace {

namespace t = dynamics_texts;

constexpr int kRow = 19;

THandle Label(THandle window, int x, int y, int w, const std::string& text) {
  return Gui().CreateLabel(window, x, y, w, kRow, text);
}

// The "label, value, 'von', limit" row of the cycle, iteration and mouse
// lines.
void LimitRow(THandle window, int y, const std::string& label, THandle& value, THandle& limit) {
  Label(window, 20, y, 140, label);
  value = Label(window, 170, y, 50, "");
  Label(window, 220, y, 30, Tr(t::kOfLabel));
  limit = Label(window, 260, y, 50, "");
}

}  // namespace

std::unique_ptr<TWindowPoints> TWindowPoints::Open(THandle parent) {
  TGui& gui = Gui();
  auto w = std::make_unique<TWindowPoints>();
  w->Window = gui.CreateWindow(Tr(t::kPointsTitle), 30, BelowMenuBar(79, parent), 320, 295,
                               kWinTitleBar | kWinMenuBar | kWinClientSize, parent);
  const THandle win = w->Window;
  w->Cmd_Dynamik = gui.CreateButton(win, 35, 0, 250, kRow, Tr(t::kShowPoints));
  w->Cmd_DynamikL = gui.CreateButton(win, 35, 22, 250, kRow, Tr(t::kShowLines));
  w->Cmd_Zahlenliste = gui.CreateButton(win, 35, 44, 250, kRow, Tr(t::kNumberList));
  const std::string result = Tr(t::kResult);
  Label(win, 20, 68, 140, result + " X");
  w->RechenwertX = Label(win, 170, 68, 200, "");
  Label(win, 20, 87, 140, result + " Y");
  w->RechenwertY = Label(win, 170, 87, 200, "");
  LimitRow(win, 116, Tr(t::kCycles), w->Zyklenzahl, w->Zykvon);
  LimitRow(win, 135, Tr(t::kIterations), w->Iterationszahl, w->Itvon);
  Label(win, 20, 154, 140, t::kTolerance);
  w->Genau = Label(win, 170, 154, 200, "");
  Label(win, 20, 173, 140, Tr(t::kStepLength));
  w->Delta = Label(win, 170, 173, 200, "");
  const std::string coordinate = Tr(t::kPictureCoordinate);
  Label(win, 20, 202, 140, coordinate + " X");
  w->BildkoordinateX = Label(win, 170, 202, 200, "");
  Label(win, 20, 221, 140, coordinate + " Y");
  w->BildkoordinateY = Label(win, 170, 221, 200, "");
  const std::string mouse = Tr(t::kMousePosition);
  LimitRow(win, 250, mouse + " X", w->MausX, w->MausXvon);
  LimitRow(win, 269, mouse + " Y", w->MausY, w->MausYvon);
  return w;
}

void TWindowPoints::Close(std::unique_ptr<TWindowPoints>& window) {
  if (!window) return;
  window->Close();
  window.reset();
}

void TWindowPoints::Close() {
  Gui().Destroy(Window);
  Window = 0;
}

void TWindowPoints::Fill(const TRender& render, const TParameter& keyframe) {
  TGui& gui = Gui();
  const bool inside = keyframe.Mpox >= 0 && keyframe.Mpoy >= 0 &&
                      keyframe.Mpox < render.Width && keyframe.Mpoy < render.Height &&
                      static_cast<size_t>(render.PixelCount()) <= render.bildX.size();
  const size_t i = inside ? static_cast<size_t>(keyframe.Mpoy) * render.Width + keyframe.Mpox : 0;
  const auto pixelText = [&](const TBigVector<double>& v) {
    return inside && i < v.size() ? RealText17(v[i]) : std::string();
  };
  gui.SetText(RechenwertX, pixelText(render.bildX));
  gui.SetText(RechenwertY, pixelText(render.bildY));
  gui.SetText(Delta, pixelText(render.bildZ));
  gui.SetText(Zyklenzahl, inside && i < render.zycbild.size()
                              ? std::to_string(render.zycbild[i])
                              : std::string());
  const double n = render.DynY.empty() ? 0.0 : render.DynY[0];
  gui.SetText(Iterationszahl, std::to_string(RealToInt(n) - 1));
  gui.SetText(Itvon, std::to_string(keyframe.ianzmax));
  gui.SetText(Zykvon, std::to_string(keyframe.zyctest));
  const double acc = render.DynX.empty() ? 0.0 : render.DynX[0];
  gui.SetText(Genau, RealText17(acc != 0 ? acc : keyframe.Accurate));
  gui.SetText(BildkoordinateX, RealText17(keyframe.pox));
  gui.SetText(BildkoordinateY, RealText17(keyframe.poy));
  gui.SetText(MausX, std::to_string(keyframe.Mpox));
  gui.SetText(MausXvon, std::to_string(render.Width));
  gui.SetText(MausY, std::to_string(keyframe.Mpoy));
  gui.SetText(MausYvon, std::to_string(render.Height));
}

int TWindowPoints::Save(const std::string& directory, const std::string& file,
                        const std::vector<double>& x, const std::vector<double>& y,
                        THost& host) {
  std::error_code ec;
  const std::string dir = directory.empty() ? WorkDir() : NativePath(directory);
  if (!std::filesystem::exists(dir, ec)) {
    host.Diagnostic("INI: can't find Path '" + directory + "' for saving !?");
    if (!host.Question(Tr(model_texts::kCreatePath1) + directory +
                       Tr(model_texts::kCreatePath2)))
      return 0;
    host.Diagnostic("INI: create Path '" + directory + "'");
    if (!std::filesystem::create_directory(dir, ec) || ec) {
      host.Information(Tr(model_texts::kCreateFailed));
      return 0;
    }
  }
  TGui& gui = Gui();
  const std::string of = Tr(t::kOfBetween);
  const std::string result = Tr(t::kResult);
  const std::string coordinate = Tr(t::kPictureCoordinate);
  const std::string mouse = Tr(t::kMousePosition);
  // Y[0] is the number of recorded points; never read past either list.
  const size_t recorded = std::min(x.size(), y.size());
  const int n = y.empty() ? 0 : RealToInt(y[0]);
  std::string s;
  const auto line = [&s](const std::string& text) { s += text + "\r\n"; };
  line(result + " X = " + gui.GetText(RechenwertX));
  line(result + " Y = " + gui.GetText(RechenwertY));
  line(Tr(t::kCycles) + " = " + gui.GetText(Zyklenzahl) + of + gui.GetText(Zykvon));
  line(Tr(t::kIterations) + " = " + std::to_string(n - 1) + of + gui.GetText(Itvon));
  line(std::string(t::kTolerance) + " = " + RealText17(x.empty() ? 0.0 : x[0]));
  line(Tr(t::kStepLength) + " = " + gui.GetText(Delta));
  line("");
  line(coordinate + " X = " + gui.GetText(BildkoordinateX));
  line(coordinate + " Y = " + gui.GetText(BildkoordinateY));
  line(mouse + " X = " + gui.GetText(MausX) + of + gui.GetText(MausXvon));
  line(mouse + " Y = " + gui.GetText(MausY) + of + gui.GetText(MausYvon));
  line("");
  for (int i = 1; i < n && static_cast<size_t>(i) < recorded; ++i)
    line("i=" + std::to_string(i) + "  x=" + RealText17(x[i]) + "  y=" + RealText17(y[i]));
  line("");
  bool openFailed = false;
  if (!ReplaceFileBytes(NativePath(directory + file), s, openFailed)) {
    host.Diagnostic("INI: can't open '" + directory + file + "' for saving !?");
    return 0;
  }
  return 1;
}

void TWindowPoints::OnEvent(const TEvent& event) {
  if (event.kind != TEventKind::Gadget) return;
  int mode = 0;
  if (event.source == Cmd_Dynamik) mode = 1;
  if (event.source == Cmd_DynamikL) mode = 2;
  if (event.source == Cmd_Zahlenliste) mode = 3;
  if (mode == 0) return;
  Dynamics().DynamicsMode = mode;
  PostDynamicsRun();
}

}  // namespace ork
