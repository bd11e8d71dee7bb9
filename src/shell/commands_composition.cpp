// Choosing a two-movie composition (85-90, 92, 94), turning the fourfold
// picture of Movie 1 (93), and the dispatch of the stages (95, 96) and the
// Julia preview (91).
#include "shell/commands_composition.h"

#include "model/list_syntax.h"
#include "model/movie.h"
#include "model/process_state.h"
#include "shell/commands.h"
#include "shell/composition_texts.h"
#include "shell/event_loop.h"
#include "shell/shell_host.h"
#include "shell/shell_state.h"

namespace ork {

namespace {

namespace ct = composition_texts;

enum class TSizeRule { None, Movie2NotLarger, Equal, Movie2NotSmaller };

// True when Movie 2's output size fits Movie 1's by `rule`. A missing movie
// passes: stage 1 reports it.
bool SizesFit(TSizeRule rule) {
  const TShellState& s = Shell();
  if (!s.Movie1 || !s.Movie2) return true;
  const int w1 = s.Movie1->OutputWidth, h1 = s.Movie1->OutputHeight;
  const int w2 = s.Movie2->OutputWidth, h2 = s.Movie2->OutputHeight;
  switch (rule) {
    case TSizeRule::None: return true;
    case TSizeRule::Movie2NotLarger: return w2 <= w1 && h2 <= h1;
    case TSizeRule::Equal: return w2 == w1 && h2 == h1;
    case TSizeRule::Movie2NotSmaller: return w2 >= w1 && h2 >= h1;
  }
  return true;
}

// The insert's starting values, taken when the insert is chosen while
// another composition is current.
void StartInsert(int previousMode, int mode, int x, int y, int opacity) {
  if (previousMode == mode) return;
  TCompositionState& c = Composition();
  c.InsertOpacity = opacity;
  c.InsertPosX = x;
  c.InsertPosY = y;
}

void Choose(int command) {
  TShellState& s = Shell();
  TCompositionState& c = Composition();
  const int previous = c.CompositionMode;
  const int w1 = s.Movie1 ? s.Movie1->OutputWidth : 0;
  const int h1 = s.Movie1 ? s.Movie1->OutputHeight : 0;
  // The mouse tools post 89 with the side they changed; any other choice
  // needs both sides computed, and a chosen composition other than the
  // new-C pictures ends the kept left picture (else stage 2 would turn it
  // into a new-C picture and overwrite Movie 2's constant).
  const bool fromTool = command == 89 && s.Tools.ClickSide != 0;
  if (!fromTool) s.Tools.ClickSide = 0;
  if (!fromTool && command != 90) c.KeepLeftPicture = false;

  TSizeRule rule = TSizeRule::None;
  const TText2* refusal = &ct::kSameSize;
  switch (command) {
    case 88: c.CompositionMode = 2; break;
    case 92: c.CompositionMode = 4; break;
    case 89:
      c.CompositionMode = 22;
      rule = TSizeRule::Movie2NotLarger;
      break;
    case 90:
      c.CompositionMode = 21;
      rule = TSizeRule::Equal;
      break;
    case 94:
      c.CompositionMode = 44;
      rule = TSizeRule::Equal;
      break;
    case 85:
      c.CompositionMode = -1;
      StartInsert(previous, -1, 0, static_cast<int>(h1 / 2.0), 255);
      break;
    case 86:
      c.CompositionMode = 0;
      StartInsert(previous, 0, static_cast<int>(w1 / 2.0), 0, 255);
      rule = TSizeRule::Movie2NotSmaller;
      refusal = &ct::kUseInsertA;
      break;
    case 87:
      c.CompositionMode = -12;
      StartInsert(previous, -12, 0, 0, 128);
      break;
    default: return;
  }
  if (!SizesFit(rule)) {
    ShellHost().Information(Tr(*refusal));
    return;
  }
  PostShellCommand(95);
}

// Command 93: the sub-pictures of the fourfold picture move one place
// counter-clockwise; shown again without computing.
void TurnFourfold() {
  TParameter* key = Shell().CurrentKeyM1;
  if (!key) return;
  SelectColorVariant(key, 0);
  RotateColorLists(*key);
  Composition().CompositionMode = 4;
  PostShellCommand(1);
}

}  // namespace

TParameter* MovieKeyAt(TParameterAnim* movie, int n) {
  if (!movie || n < 1 || n > movie->Count || n >= static_cast<int>(movie->Parameter.size()))
    return nullptr;
  return &movie->Parameter[static_cast<size_t>(n)];
}

void CopyMovie1IntoMovie2() {
  TShellState& s = Shell();
  if (!s.Movie1) return;
  s.CurrentKeyM2 = nullptr;
  s.RenderM2.reset();
  s.Movie2 = s.Movie1->Copy();
}

bool RunCompositionCommand(int command) {
  switch (command) {
    case 85:
    case 86:
    case 87:
    case 88:
    case 89:
    case 90:
    case 92:
    case 94: Choose(command); return true;
    case 93: TurnFourfold(); return true;
    case 95: CompositionStage1(); return true;
    case 96: CompositionStage2(); return true;
    case 91: NewCJuliaPreview(); return true;
    default: return false;
  }
}

}  // namespace ork
