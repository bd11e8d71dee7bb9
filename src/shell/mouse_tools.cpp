#include "shell/mouse_tools.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "engine/render.h"
#include "gui/gui.h"
#include "model/movie.h"
#include "model/number_format.h"
#include "model/process_state.h"
#include "picture/overlay_calls.h"
#include "shell/deep_view.h"
#include "shell/event_loop.h"
#include "shell/main_window.h"
#include "shell/shell_state.h"

namespace ork {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

bool InRightPicture(double x) {
  const TShellState& s = Shell();
  return s.Movie1 && x > s.Movie1->OutputWidth;
}

// Makes the mouse position relative to the picture (in place, as the tool
// state keeps it).
void OffsetMouse() {
  TToolState& t = Shell().Tools;
  const TRender* r = Shell().RenderM1.get();
  if (!r) return;
  t.MouseX -= r->PaintOffsetX;
  t.MouseY -= r->PaintOffsetY;
}

void OffsetBox() {
  TToolState& t = Shell().Tools;
  const TRender* r = Shell().RenderM1.get();
  if (!r) return;
  t.BoxX0 -= r->PaintOffsetX;
  t.BoxX1 -= r->PaintOffsetX;
  t.BoxY0 -= r->PaintOffsetY;
  t.BoxY1 -= r->PaintOffsetY;
}

// After a successful centre or zoom on the left picture.
void RecomputeLeft() {
  if (Composition().ShownImage == 1) {
    PostShellCommand(83);
  } else if (Composition().ShownImage == 2) {
    Shell().Tools.ClickSide = 1;
    PostShellCommand(89);
  }
}

void ZoomRelease() {
  TShellState& s = Shell();
  TToolState& t = s.Tools;
  t.ToolArmed = 0;
  if (!t.ZoomKeyHeld) return;
  t.ZoomKeyHeld = 0;
  OffsetBox();
  t.ClickSide = 0;
  int r = 0;
  if (InRightPicture(t.BoxX0)) {
    r = ApplyPictureClick(kToolZoom + kToolRight, t.BoxX0, t.BoxY0, t.BoxX1, t.BoxY1,
                          s.Movie2.get(), s.RenderM1.get());
    if (r == 1) {
      t.ClickSide = 2;
      PostShellCommand(89);
    }
  } else {
    r = ApplyPictureClick(kToolZoom, t.BoxX0, t.BoxY0, t.BoxX1, t.BoxY1, s.Movie1.get(),
                          s.RenderM1.get());
    if (r == 1) RecomputeLeft();
  }
  if (r == 0) RequestRepaint();
}

void CentreRelease() {
  TShellState& s = Shell();
  TToolState& t = s.Tools;
  t.ToolArmed = 0;
  if (!t.CenterKeyHeld) return;
  t.CenterKeyHeld = 0;
  OffsetMouse();
  t.ClickSide = 0;
  const double x = t.MouseX, y = t.MouseY;
  int r = 0;
  if (InRightPicture(x)) {
    r = ApplyPictureClick(kToolCentre + kToolRight, x, y, x, y, s.Movie2.get(),
                          s.RenderM1.get());
    if (r == 1) {
      t.ClickSide = 2;
      PostShellCommand(89);
    }
  } else {
    r = ApplyPictureClick(kToolCentre, x, y, x, y, s.Movie1.get(), s.RenderM1.get());
    if (r == 1) RecomputeLeft();
  }
  if (r == 0) RequestRepaint();
}

void PointRelease() {
  TShellState& s = Shell();
  TToolState& t = s.Tools;
  t.ToolArmed = 0;
  OffsetMouse();
  const double x = t.MouseX, y = t.MouseY;
  if (InRightPicture(x)) {
    t.ClickSide = 2;
    ApplyPictureClick(kToolPoint + kToolRight, x, y, x, y, s.Movie2.get(), s.RenderM1.get());
  } else {
    t.ClickSide = 1;
    ApplyPictureClick(kToolPoint, x, y, x, y, s.Movie1.get(), s.RenderM1.get());
  }
}

void JuliaRelease(bool withPreview) {
  TShellState& s = Shell();
  TToolState& t = s.Tools;
  t.ToolArmed = 0;
  if (!t.JuliaKeyHeld) return;
  t.JuliaKeyHeld = 0;
  OffsetMouse();
  const double x = t.MouseX, y = t.MouseY;
  // The constant always goes into Movie 1; a click on the right half of a
  // double picture reads its position there.
  const bool right = !withPreview && InRightPicture(x);
  const int mode = right ? kToolJulia + kToolRight : kToolJulia;
  if (ApplyPictureClick(mode, x, y, x, y, s.Movie1.get(), s.RenderM1.get()) == 1) {
    Composition().CompositionMode = withPreview ? 3 : (right ? 21 : 3);
    PostShellCommand(withPreview ? 91 : 96);
  } else {
    RequestRepaint();
  }
}

}  // namespace

int ApplyPictureClick(int mode, double x1, double y1, double x2, double y2,
                      TParameterAnim* movie, const TRender* render) {
  if (!movie || !render) return 0;
  TParameter* p = movie->GetActualParameter();
  if (!p) return 0;
  if (!(x2 >= x1)) std::swap(x1, x2);
  if (!(y2 >= y1)) std::swap(y1, y2);
  if (mode > kToolRight) {
    x1 -= p->OutputWidth;
    x2 -= p->OutputWidth;
    if (mode == kToolPoint + kToolRight) Composition().CompositionMode = 222;
    mode -= kToolRight;
  }
  // Rejected before the point fields change: they name the point whose
  // orbit the points window and the number list still show.
  const int shown = Composition().ShownImage;
  if (x1 < 0 || y1 < 0 || (x1 > render->Width - 1 && shown == 1) || y1 > render->Height - 1 ||
      (x1 > 2 * render->Width - 1 && shown == 2))
    return 0;
  p->pox = p->poy = 0;
  p->Mpox = RealToInt(x1);
  p->Mpoy = RealToInt(y1);
  const int hw = render->Width / 2, hh = render->Height / 2;
  x1 -= hw;
  x2 -= hw;
  y1 -= hh;
  y2 -= hh;
  const int boxHeight = RealToInt(y2 - y1);
  // A keyframe without output height would divide by zero; its picture
  // could not have been clicked anyway.
  if (p->OutputHeight <= 0) return 0;
  const double u = p->bry / p->OutputHeight;
  const double gx = (x1 + x2) / 2.0, gy = (y1 + y2) / 2.0;
  double a = x1, d = y1, ga = gx, gd = gy;
  if (p->Degree != 0) {
    const double c = std::cos(p->Degree * kDegree), s = std::sin(p->Degree * kDegree);
    a = c * x1 + s * y1;
    d = c * y1 - s * x1;
    ga = c * gx + s * gy;
    gd = c * gy - s * gx;
  }
  if (LongView(*p) && mode >= kToolCentre && mode <= kToolPoint) {
    // A deep view: the same arithmetic on the long coordinates.
    ApplyLongClick(mode, *p, a, d, ga, gd, boxHeight);
    if (mode == kToolPoint) PostShellCommand(128);
    if (mode == kToolZoom) DropPendingGridChange();
    return 1;
  }
  switch (mode) {
    case kToolCentre:
      p->vsx += a * u;
      p->vsy -= d * u;
      p->vsp = p->vsx;
      p->vst = p->vsy;
      break;
    case kToolPoint:
      p->pox = p->vsx + a * u;
      p->poy = p->vsy - d * u;
      PostShellCommand(128);
      break;
    case kToolJulia:
      p->pox = p->vsx + a * u;
      p->poy = p->vsy - d * u;
      p->CCx = p->pox;
      p->CCy = p->poy;
      break;
    case kToolZoom:
      if (boxHeight >= 4) {
        p->bry = boxHeight * u;
        p->brx = p->bry * p->OutputWidth / p->OutputHeight;
      }
      p->vsx += ga * u;
      p->vsy -= gd * u;
      p->vsp = p->vsx;
      p->vst = p->vsy;
      DropPendingGridChange();
      break;
    default:
      return 0;
  }
  return 1;
}

void ShowCAsDynamicsPoint() {
  TShellState& s = Shell();
  if (!s.Movie1) return;
  TParameter* p = s.Movie1->GetActualParameter();
  if (!p || p->bry == 0) return;
  p->pox = p->CCx;
  p->poy = p->CCy;
  const double cx = p->OutputWidth / 2.0, cy = p->OutputHeight / 2.0;
  const double k = p->OutputHeight / p->bry;
  double X = cx + k * (p->CCx - p->vsx);
  double Y = cy - k * (p->CCy - p->vsy);
  if (LongView(*p)) {
    double dx = 0, dy = 0;
    LongCPointOffset(*p, dx, dy);
    X = cx + dx;
    Y = cy - dy;
  }
  if (p->Degree != 0) {
    const double c = std::cos(p->Degree * kDegree), sn = std::sin(p->Degree * kDegree);
    const double dx = X - cx, dy = Y - cy;
    X = dx * c - dy * sn + cx;
    Y = dy * c + dx * sn + cy;
  }
  p->Mpox = RealToInt(X);
  p->Mpoy = RealToInt(Y);
  Composition().InsertPosX = p->Mpox;
  Composition().InsertPosY = p->Mpoy;
  PostShellCommand(128);
}

void ToolKeyDown(int key) {
  TToolState& t = Shell().Tools;
  switch (key) {
    case 'Z': t.ZoomKeyHeld = 1; break;
    case 'C': t.CenterKeyHeld = 1; break;
    case 'J':
    case 'K': t.JuliaKeyHeld = 1; break;
    default: return;
  }
  t.ToolArmed = 1;
  t.BoxX0 = t.BoxY0 = 0;
  t.BoxX1 = t.BoxY1 = 0;
  t.BoxState = 0;
  FocusPictureArea();
  RequestRepaint();
}

void ToolKeyUp(int key) {
  TToolState& t = Shell().Tools;
  switch (key) {
    case kKeyEscape:
      t.CenterKeyHeld = t.ZoomKeyHeld = t.JuliaKeyHeld = t.ToolArmed = 0;
      RequestRepaint();
      break;
    case 'Z':
      Shell().BackRepeat = 0;  // a new picture: back steps count from here
      ZoomRelease();
      break;
    case 'C':
      Shell().BackRepeat = 0;
      CentreRelease();
      break;
    case 'P': PointRelease(); break;
    case 'J': JuliaRelease(false); break;
    case 'K': JuliaRelease(true); break;
    default: break;
  }
}

void ToolMouseMove(int x, int y) {
  TShellState& s = Shell();
  TToolState& t = s.Tools;
  t.MouseX = x;
  t.MouseY = y;
  if (t.BoxState == 1) {
    t.BoxY1 = t.MouseY;
    const double dy = t.MouseY - t.BoxY0;
    double dx = t.MouseX - t.BoxX0;
    if (s.CurrentKeyM1 && s.CurrentKeyM1->OutputHeight > 0)
      dx = dy * (static_cast<double>(s.CurrentKeyM1->OutputWidth) /
                 s.CurrentKeyM1->OutputHeight);
    t.BoxX1 = t.BoxX0 + dx;
  }
  if (t.ZoomKeyHeld || t.CenterKeyHeld) RequestRepaint();
}

void ToolMouseDown(int buttons) {
  TToolState& t = Shell().Tools;
  if (buttons & kMouseLeft) {
    if (t.BoxState == 2) t.BoxState = 0;
    if (t.BoxState == 1) {
      t.BoxState = 2;
    } else if (t.BoxState == 0) {
      t.BoxX0 = t.MouseX;
      t.BoxX1 = t.MouseX;
      t.BoxY0 = t.MouseY;
      t.BoxY1 = t.MouseY;
      t.BoxState = 1;
    }
  } else if (buttons & kMouseRight) {
    t.BoxState = 0;
    t.BoxX0 = t.BoxY0 = 0;
    t.BoxX1 = t.BoxY1 = 0;
  }
}

void DrawToolMarks(THandle canvas, int areaWidth, int areaHeight) {
  TGui& gui = Gui();
  const TToolState& t = Shell().Tools;
  if (t.ToolArmed == 1) {
    const std::uint32_t grey = 0xFF808080u;
    gui.CanvasLine(canvas, 0, t.MouseY, areaWidth - 1, t.MouseY, grey, 4);
    gui.CanvasLine(canvas, t.MouseX, 0, t.MouseX, areaHeight - 1, grey, 4);
  }
  if (t.ZoomKeyHeld == 1) {
    const std::uint32_t orange = 0xFFFF8040u;
    const int x0 = t.BoxX0, y0 = t.BoxY0, x1 = RealToInt(t.BoxX1), y1 = RealToInt(t.BoxY1);
    gui.CanvasLine(canvas, x0, y0, x1, y0, orange, 4);
    gui.CanvasLine(canvas, x1, y0, x1, y1, orange, 4);
    gui.CanvasLine(canvas, x1, y1, x0, y1, orange, 4);
    gui.CanvasLine(canvas, x0, y1, x0, y0, orange, 4);
  }
}

}  // namespace ork
