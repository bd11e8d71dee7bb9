#include "windows/overlay_commands.h"

#include <cstdio>
#include <string>

#include "color/blur.h"
#include "model/list_syntax.h"
#include "model/movie.h"
#include "model/process_state.h"
#include "model/paths.h"
#include "model/text_util.h"
#include "picture/composition.h"
#include "picture/grid_state.h"
#include "picture/overlay.h"
#include "picture/picture_files.h"
#include "shell/commands.h"
#include "shell/event_loop.h"
#include "shell/main_window.h"
#include "shell/shell_host.h"
#include "shell/shell_state.h"
#include "windows/grid_size_dialog.h"
#include "windows/line_style_dialog.h"
#include "windows/overlay_command_texts.h"

namespace ork {

namespace {

namespace t = overlay_command_texts;

constexpr int kNoPicture = -1000;
constexpr int kDoubleM1M2 = 222;

bool DoubleOfBoth() { return Composition().CompositionMode == kDoubleM1M2; }

TParameter* Target() {
  TShellState& s = Shell();
  return DoubleOfBoth() ? s.CurrentKeyM2 : s.CurrentKeyM1;
}
TParameterAnim* TargetMovie() {
  TShellState& s = Shell();
  return DoubleOfBoth() ? s.Movie2.get() : s.Movie1.get();
}

// The list flags and styles again after the overlay texts changed.
void Rederive(TParameter& key) {
  ParseLineStyles(key);
  NormalizeLineList(key.Grid, key.CLinesThick, key.CGrid);
}

void AddToken(TParameter& key, const char* token) {
  key.Grid += token;
  Rederive(key);
}

void Draw(const char* kind, TParameter* key) {
  DrawOverlay(kind, key, Shell().RenderM1.get(), ShellHost());
  RequestRepaint();
  FocusPictureArea();
}

// A grid the drawing adapted is stored with the keyframe at once.
void DrawGridOn(TParameter& key) {
  Draw("G", &key);
  TakeGridDialogText(key.GridSizes);
}

void CopyFollow(TParameter& key, const TParameter& next) {
  key.brxfollow = next.brx;
  key.bryfollow = next.bry;
  key.vsxfollow = next.vsx;
  key.vsyfollow = next.vsy;
  key.Degreefollow = next.Degree;
}

void NextKeyFrame(TParameter& key) {
  AddToken(key, ",N");
  TParameterAnim* movie = TargetMovie();
  const int shown = DoubleOfBoth() ? ShownKeys().LastKeyM2 : ShownKeys().LastKeyM1;
  if (!movie || shown < 1 || shown >= movie->Count) return;
  CopyFollow(key, movie->Parameter[shown + 1]);
  Draw("N", &key);
}

void AllNextKeyFrames(TParameter& key) {
  AddToken(key, ",NA");
  TParameterAnim* movie = TargetMovie();
  if (!movie) return;
  for (int i = 1; i <= movie->Count; ++i) {
    CopyFollow(key, movie->Parameter[i]);
    Draw("N", &key);
  }
}

// C points of keys first..last of `movie` drawn as `kind` on `key`.
void CPoints(TParameter& key, const TParameterAnim& movie, int first, int last,
             const char* kind) {
  for (int i = first; i <= last && i <= movie.Count; ++i) {
    key.pox = movie.Parameter[i].CCx;
    key.poy = movie.Parameter[i].CCy;
    Draw(kind, &key);
  }
}

// 72, 75, 77: Movie 1's C points; a double picture of both movies is drawn
// as Movie 1's half meanwhile.
void CPointsM1(int command) {
  TShellState& s = Shell();
  TParameter& key = *s.CurrentKeyM1;
  int& mode = Composition().CompositionMode;
  const bool both = mode == kDoubleM1M2;
  if (both) mode = 22;
  if (command == 72) {
    AddToken(key, ",C");
    Draw("C", &key);
  } else if (command == 75) {
    AddToken(key, ",CA");
    CPoints(key, *s.Movie1, 1, s.Movie1->Actual, "CA");
  } else {
    AddToken(key, ",CB");
    CPoints(key, *s.Movie1, s.Movie1->Actual + 1, s.Movie1->Count, "CB");
  }
  if (both) mode = kDoubleM1M2;
}

// 73, 76, 78: the same for Movie 2 in the right half of a double picture.
void CPointsM2(int command) {
  TShellState& s = Shell();
  int& mode = Composition().CompositionMode;
  if (mode < 21) {
    ShellHost().Information(Tr(t::kDoubleFirst));
    PostShellCommand(90);
  }
  if (!s.CurrentKeyM2 || !s.Movie2) return;
  TParameter& key = *s.CurrentKeyM2;
  mode = kDoubleM1M2;
  if (command == 73) {
    AddToken(key, ",C");
    Draw("C", &key);
  } else if (command == 76) {
    AddToken(key, ",CA");
    CPoints(key, *s.Movie2, 1, s.Movie2->Actual, "CA");
  } else {
    AddToken(key, ",CB");
    CPoints(key, *s.Movie2, s.Movie2->Actual + 1, s.Movie2->Count, "CB");
  }
}

bool AskComputeFirst() {
  if (Composition().CompositionMode != kNoPicture) return false;
  if (ShellHost().Question(Tr(t::kComputeFirst))) PostShellCommand(83);
  return true;
}

void GridSizes(TParameter& key) {
  TShellState& s = Shell();
  ParseGridSizes(key.GridSizes);
  GridSizeDialog(key.bry, DoubleOfBoth() ? "Movie 2" : "Movie 1");
  const std::string text = GridDialogText();
  const std::string trimmed = Trim(text);
  const char scope = trimmed.empty() ? ' ' : trimmed.back();
  auto setAll = [&](TParameterAnim* movie) {
    if (!movie) return;
    for (int i = 1; i <= movie->Count; ++i) movie->Parameter[i].GridSizes = text;
  };
  if (scope == '0') {
    key.CLinesThick[0] = 0;
    NormalizeLineList(key.Grid, key.CLinesThick, key.CGrid);
  } else if (scope == '1') {
    key.GridSizes = text;
  } else if (scope == '2') {
    setAll(TargetMovie());
  } else if (scope == '3') {
    setAll(s.Movie1.get());
    setAll(s.Movie2.get());
  }
  GridDialogText().clear();
  PostShellCommand(1);
}

std::string JoinColours(const TParameter& key) {
  std::string text;
  for (int i = 0; i <= 6; ++i) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "$%08X", static_cast<unsigned>(key.CLinesColor[i]));
    if (i) text += ",";
    text += hex;
  }
  return text;
}

std::string JoinThicknesses(const TParameter& key) {
  std::string text;
  for (int i = 0; i <= 6; ++i) text += (i ? "," : "") + std::to_string(key.CLinesThick[i]);
  return text;
}

void LineStyles() {
  TShellState& s = Shell();
  const bool both = DoubleOfBoth();
  if (Composition().CompositionMode == kNoPicture || (both && !s.CurrentKeyM2)) return;
  TParameter& key = *Target();
  TParameterAnim* movie = TargetMovie();
  ParseLineStyles(key);
  NormalizeLineList(key.Grid, key.CLinesThick, key.CGrid);
  LineStyleDialog(both ? 2 : 1, key.CLinesColor, key.CLinesThick, key.CGrid);
  const int colourCode = key.CLinesColor[9];
  const int thickCode = key.CLinesThick[9];
  // Closing the window changes nothing.
  if (colourCode != kLineCodeClosed) {
    if (thickCode > 99) key.LinesThick.clear();
    if (colourCode > 99) key.LinesColor.clear();
    NormalizeLineList(key.Grid, key.CLinesThick, key.CGrid);
    if (thickCode < 3) {
      key.LinesColor = JoinColours(key);
      key.LinesThick = JoinThicknesses(key);
    }
    if ((thickCode == kLineCodeForAllKeys || thickCode == kLineCodeDefaults + 1) && movie) {
      for (int i = 1; i <= movie->Count; ++i) {
        TParameter& other = movie->Parameter[i];
        if (&other == &key) continue;
        other.Grid = key.Grid;
        other.LinesColor = key.LinesColor;
        other.LinesThick = key.LinesThick;
        for (int k : {0, 1, 2, 3, 4, 5, 6, 9}) {
          other.CLinesColor[k] = key.CLinesColor[k];
          other.CLinesThick[k] = key.CLinesThick[k];
        }
      }
    }
    if (thickCode == kLineCodeInsertAll) key.Grid = "G,M,A,CA,CB,C,N";
  }
  PostShellCommand(1);
}

void ClearDecorations(TParameter& key) {
  key.Filter.clear();
  key.TextOutputList.clear();
  key.Grid.clear();
  key.LinesColor.clear();
  key.LinesThick.clear();
  key.GridSizes.clear();
  Rederive(key);
  ParseGridSizes(key.GridSizes);
}

void DeleteDecorations() {
  TShellState& s = Shell();
  if (DoubleOfBoth()) {
    if (!s.CurrentKeyM2) return;
    if (!ShellHost().Question("M2: " + Tr(t::kDeleteAll))) return;
    ClearDecorations(*s.CurrentKeyM2);
    PostShellCommand(107);
  } else {
    if (!ShellHost().Question("M1: " + Tr(t::kDeleteAll))) return;
    if (s.RenderM1 && s.RenderM1->Image) PaintCalculated(s.CurrentKeyM1, s.RenderM1.get());
    ClearDecorations(*s.CurrentKeyM1);
  }
  RequestRepaint();
}

void BlurLevel(int level) {
  TShellState& s = Shell();
  s.CurrentKeyM1->Filter = std::to_string(level);
  if (s.RenderM1) Filter(*s.RenderM1, s.CurrentKeyM1->Filter, &ShellHost());
  RequestRepaint();
}

void NoFilter() {
  TShellState& s = Shell();
  if (!s.BeginnerName.empty()) {
    // The beginner picture lies where command 4 loads it; the working
    // directory is tried as well.
    TPixmapPtr picture = LoadPng(NativePath("Output\\" + s.BeginnerName + ".png"));
    if (!picture) picture = LoadPng(NativePath(s.BeginnerName + ".png"));
    if (picture && s.RenderM1) s.RenderM1->Image = picture;
    RequestRepaint();
  } else {
    s.CurrentKeyM1->Filter.clear();
    Composition().InsertOpacity = 255;
    PostShellCommand(1);
  }
  SetStatus(Tr(t::kFilterDeleted));
}

}  // namespace

bool RunOverlayCommand(int command) {
  TShellState& s = Shell();
  const bool filter = command >= 111 && command <= 116;
  if (filter) {
    if (!s.CurrentKeyM1) return true;
    if (command == 116)
      NoFilter();
    else
      BlurLevel(command - 110);
    return true;
  }
  if (command != 65 && command != 66 && command != 67 && command != 68 && command != 69 &&
      command != 70 && command != 71 && command != 72 && command != 73 && command != 75 &&
      command != 76 && command != 77 && command != 78 && command != 118 && command != 119)
    return false;
  if (!s.CurrentKeyM1) return true;
  if (command == 68 || command == 69) {
    if (AskComputeFirst()) return true;
  } else if (Composition().CompositionMode == kNoPicture) {
    return true;
  }
  TParameter* target = Target();
  switch (command) {
    case 72:
    case 75:
    case 77: CPointsM1(command); return true;
    case 73:
    case 76:
    case 78: CPointsM2(command); return true;
    case 118: LineStyles(); return true;
    case 119: DeleteDecorations(); return true;
    default: break;
  }
  if (!target) return true;
  switch (command) {
    case 71: AddToken(*target, ",M"); Draw("M", target); break;
    case 67: AddToken(*target, ",A"); Draw("A", target); break;
    case 68: AddToken(*target, ",G"); DrawGridOn(*target); break;
    case 69:
      AddToken(*target, ",A,G");
      Draw("A", target);
      DrawGridOn(*target);
      PostShellCommand(1);
      break;
    case 65: NextKeyFrame(*target); break;
    case 66: AllNextKeyFrames(*target); break;
    case 70: GridSizes(*target); break;
    default: break;
  }
  return true;
}

void RegisterOverlayCommands() {
  for (int command : {65, 66, 67, 68, 69, 70, 71, 72, 73, 75, 76, 77, 78, 111, 112, 113, 114,
                      115, 116, 118, 119})
    SetCommandHandler(command, [](int c) { RunOverlayCommand(c); });
}

}  // namespace ork
