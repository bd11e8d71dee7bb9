// The two posted stages of every composition: stage 1 (95) asks for the
// insert position and the common key and computes Movie 1; stage 2 (96)
// brings Movie 2 into line with Movie 1 (new-C constant, length, size),
// computes it, writes the status line and the history and posts the
// redisplay.
#include "shell/commands_composition.h"

#include <string>

#include "engine/render.h"
#include "gui/gui.h"
#include "model/movie.h"
#include "model/number_format.h"
#include "model/process_state.h"
#include "picture/composition.h"
#include "picture/grid_state.h"
#include "shell/commands.h"
#include "shell/composition_texts.h"
#include "shell/event_loop.h"
#include "shell/main_window.h"
#include "shell/menu_texts.h"
#include "shell/shell_host.h"
#include "shell/shell_state.h"

namespace ork {

namespace {

namespace ct = composition_texts;

bool TwoMovieMode(int mode) { return mode < 1 || mode > 10; }

// True when `key` is still the movie's current keyframe and a picture was
// computed for it, so that a side the mouse tool did not touch can be kept.
bool SideKept(TParameterAnim* movie, const TParameter* key, const TRender* render) {
  return movie && key && render && key == MovieKeyAt(movie, movie->Actual);
}

// Init and Calculate for one side; Q during the computation shows what is
// computed so far.
void ComputeSide(TParameter* key, std::unique_ptr<TRender>& render, const std::string& status) {
  SetStatus(menu_texts::kStatusInit);
  // The same render object: a picture too large to be had leaves the last
  // one in place, one of the same size reuses the buffers.
  if (!render) render = std::make_unique<TRender>();
  if (key) render->Init(*key);
  SetStatus(status);
  FocusPictureArea();
  if (!key) return;
  TShellHost& host = ShellHost();
  TRender* r = render.get();
  Calculate(*key, &host, *r, [key, r, &host] {
    ShowCalculated(key, r, host);
    PaintPictureArea();
  });
}

std::string KeysDifferText(int key1, int key2) {
  const std::string k1 = std::to_string(key1), k2 = std::to_string(key2);
  return Tr(ct::kKeysDiffer1) + k1 + Tr(ct::kKeysDiffer2) + k2 + ct::kKeysDiffer3 + k2 +
         Tr(ct::kKeysDiffer4);
}

// The status line of the two-movie picture just computed (the progress
// text of the computation must not stay); the new-C double picture (21)
// tells its constant as the new-C picture does, -12 leaves the line as it is.
void WriteStage2Status(int mode, int lastKey1, int lastKey2) {
  TShellState& s = Shell();
  const std::string key2 = " [KEY " + std::to_string(s.Movie2->Actual) + "]";
  switch (mode) {
    case 3:
    case 21: {
      const TParameter* k1 = MovieKeyAt(s.Movie1.get(), lastKey1);
      const TParameter* k2 = MovieKeyAt(s.Movie2.get(), lastKey2);
      if (!k1 || !k2) return;
      SetStatus(std::string(ct::kNewCStatus1) + std::to_string(s.Movie1->Actual) +
                ct::kNewCStatus2 + std::to_string(k1->GameNo) + ct::kNewCStatus3 +
                std::to_string(k2->GameNo) + ct::kNewCStatus4 + RealText17(k2->CCx) + ", " +
                RealText17(k2->CCy) + ")");
      return;
    }
    case -1:
    case 0: SetStatus(Tr(ct::kInsertStatus) + key2); return;
    case 22:
    case 222: SetStatus(Tr(ct::kBesideStatus) + key2); return;
    case 44: SetStatus(Tr(ct::kBesideTwoStatus) + key2); return;
    default: return;
  }
}

// Movie 2 is made as long as Movie 1's key `key` needs, by duplicating its
// last keyframe (Movie 1's keyframe when it has none).
void LengthenMovie2(int key) {
  TShellState& s = Shell();
  while (s.Movie2->Count < key) {
    const TParameter* last = MovieKeyAt(s.Movie2.get(), s.Movie2->Count);
    const TParameter* source = last ? last : MovieKeyAt(s.Movie1.get(), s.Movie2->Count + 1);
    if (!source) return;
    s.Movie2->AddParameter(*source);
  }
  s.CurrentKeyM2 = nullptr;  // the keyframes may have moved
}

void EndStage2() {
  PostShellCommand(1);
  Shell().Tools.ClickSide = 0;
  EnableMenuGroup(TMenuGroup::All, true);
}

}  // namespace

void CompositionStage1() {
  TShellState& s = Shell();
  TCompositionState& c = Composition();
  TShellHost& host = ShellHost();
  EnableMenuGroup(TMenuGroup::All, false);
  ClearPictureArea();
  if (!s.Movie1 || !s.Movie2) {
    host.Information(Tr(!s.Movie1 ? ct::kLoadMovie1 : ct::kLoadMovie2));
    EnableMenuGroup(TMenuGroup::All, true);
    return;
  }
  if (c.CompositionMode == 0 || c.CompositionMode == -1 || c.CompositionMode == -12)
    AskInsertPosition(ct::kInsertTitle, c.InsertPosX, c.InsertPosY);
  if (TwoMovieMode(c.CompositionMode) && s.Movie1->Actual != s.Movie2->Actual &&
      host.Question(KeysDifferText(s.Movie1->Actual, s.Movie2->Actual))) {
    if (s.Movie2->Actual > s.Movie1->Count) {
      host.Information(Tr(ct::kMovie1TooShort));
      c.CompositionMode = 1;
    } else {
      s.Movie1->Actual = s.Movie2->Actual;
    }
  }
  // Movie 1 is kept only when the tool changed the right picture and the
  // left one is still that of the current key.
  if (!(s.Tools.ClickSide == 2 && SideKept(s.Movie1.get(), s.CurrentKeyM1, s.RenderM1.get()))) {
    s.CurrentKeyM1 = TakeCurrentKey(s.Movie1.get());
    ComputeSide(s.CurrentKeyM1, s.RenderM1, Tr(menu_texts::kStatusCalculating));
    ShownKeys().LastKeyM1 = s.Movie1->Actual;
  }
  EnableMenuGroup(TMenuGroup::All, true);
  const int mode = c.CompositionMode;
  // Pictures of Movie 1 alone are finished here: their status line
  // replaces the computation's progress text.
  if (mode == 1 || mode == 2 || mode == 4) SetStatus(CurrentSingleStatus());
  if (mode == 4)
    PostShellCommand(30);
  else if (mode == 2)
    PostShellCommand(29);
  else if (mode == 1)
    PostShellCommand(105);
  else if (mode < 1 || mode > 20)
    PostShellCommand(96);
}

void CompositionStage2() {
  TShellState& s = Shell();
  TCompositionState& c = Composition();
  TShellHost& host = ShellHost();
  // The J tool posts this stage directly, without stage 1's checks.
  if (!s.Movie1) {
    host.Information(Tr(ct::kLoadMovie1));
    return;
  }
  int& last1 = ShownKeys().LastKeyM1;
  if (!MovieKeyAt(s.Movie1.get(), last1)) last1 = s.Movie1->Actual;
  TParameter* key1 = MovieKeyAt(s.Movie1.get(), last1);
  if (!key1) {
    host.Information(Tr(ct::kLoadMovie1));
    EnableMenuGroup(TMenuGroup::All, true);
    return;
  }
  if (!s.Movie2 && c.CompositionMode != 21 && c.CompositionMode != 3 && !c.KeepLeftPicture) {
    host.Information(Tr(ct::kLoadMovie2));
    EnableMenuGroup(TMenuGroup::All, true);
    return;
  }

  if (c.CompositionMode == 21) {
    if (!s.Movie2 || s.Movie2->Count < s.Movie1->Count) {
      host.Information(Tr(ct::kMovie2TooShortJulia));
      CopyMovie1IntoMovie2();
      ShownKeys().LastKeyM2 = last1;
      for (int n = 1; n <= s.Movie2->Count; ++n)
        if (TParameter* k = MovieKeyAt(s.Movie2.get(), n)) k->julia = 1;
    }
    if (TParameter* k2 = MovieKeyAt(s.Movie2.get(), last1)) {
      k2->julia = 1;
      k2->CCx = key1->CCx;
      k2->CCy = key1->CCy;
    }
  }
  if (c.KeepLeftPicture) c.CompositionMode = 3;
  if (c.CompositionMode == 3) {
    if (!c.KeepLeftPicture && host.Question(Tr(ct::kTransferQuestion))) CopyMovie1IntoMovie2();
    if (!s.Movie2 || s.Movie2->Count < s.Movie1->Count) {
      host.Information(Tr(ct::kMovie2TooShortCopy));
      CopyMovie1IntoMovie2();
    }
    if (TParameter* k2 = MovieKeyAt(s.Movie2.get(), last1)) {
      k2->julia = 1;
      k2->CCx = key1->pox;
      k2->CCy = key1->poy;
    }
  }

  s.Movie2->Actual = last1;
  ShownKeys().LastKeyM2 = last1;
  if (s.Movie2->Count < last1) LengthenMovie2(last1);
  TParameter* key2 = MovieKeyAt(s.Movie2.get(), last1);
  if (!key2) {
    host.Information(Tr(ct::kLoadMovie2));
    EnableMenuGroup(TMenuGroup::All, true);
    return;
  }
  if (key2->GameNo != key1->GameNo && !host.Question(Tr(ct::kGameNoDiffer))) {
    // The user chose the single picture; a kept left picture would turn
    // the redisplay back into the new-C picture.
    c.CompositionMode = 1;
    c.KeepLeftPicture = false;
    SetStatus(CurrentSingleStatus());
    EndStage2();
    return;
  }

  if (!(s.Tools.ClickSide == 1 && SideKept(s.Movie2.get(), s.CurrentKeyM2, s.RenderM2.get()))) {
    EnableMenuGroup(TMenuGroup::All, false);
    TParameterAnim& m2 = *s.Movie2;
    if (m2.OutputWidth > s.Movie1->OutputWidth) m2.OutputWidth = s.Movie1->OutputWidth;
    if (m2.OutputHeight > s.Movie1->OutputHeight) m2.OutputHeight = s.Movie1->OutputHeight;
    s.CurrentKeyM2 = TakeCurrentKey(&m2);
    ComputeSide(s.CurrentKeyM2, s.RenderM2, Tr(ct::kStatusCalculatingM2));
  }
  if (c.CompositionMode == 22 && s.CurrentKeyM1)
    TakeGridDialogText(s.CurrentKeyM1->GridSizes);
  else if (c.CompositionMode == 222 && s.CurrentKeyM2)
    TakeGridDialogText(s.CurrentKeyM2->GridSizes);
  WriteStage2Status(c.CompositionMode, last1, ShownKeys().LastKeyM2);
  SaveHistoryFile(*s.Movie1);
  SaveHistoryFile(*s.Movie2);
  Gui().SetFocus(MainWindow().Window);
  RequestRepaint();
  EndStage2();
}

}  // namespace ork
