#include "windows/data_window.h"

#include "model/ini_store.h"
#include "model/language.h"
#include "model/list_syntax.h"
#include "model/process_state.h"
#include "picture/overlay_calls.h"
#include "shell/event_loop.h"
#include "shell/shell_host.h"
#include "windows/data_window_texts.h"

namespace ork {

namespace {

// Commands the buttons post (the shell's command numbers).
enum : int {
  kCmdUpdateDisplay = 1,
  kCmdExchange = 9,
  kCmdFormatM1 = 13,
  kCmdFormatM2 = 14,
  kCmdDuplicateKey = 18,
  kCmdDeleteKey = 20,
  kCmdPreviewM1 = 42,
  kCmdPreviewM2 = 46,
  kCmdCalculateM1 = 83,
  kCmdInsertA = 85,
  kCmdDoubleM1M2 = 89,
  kCmdFilm = 122,
};

}  // namespace

TDataWindow::TDataWindow(bool movie2, bool part2, TSlot slot, TStoreRules rules)
    : movie2_(movie2), part2_(part2), slot_(slot), rules_(rules) {}

void TDataWindow::Close() {
  Gui().Destroy(Window);
  Window = 0;
}

TParameterAnim* TDataWindow::LiveMovie() const { return UsedAnim.Get(); }

TParameter* TDataWindow::CurrentKey() const {
  TParameterAnim* movie = LiveMovie();
  if (!movie || shownKey_ < 1 || shownKey_ > movie->Count) return nullptr;
  return &movie->Parameter[shownKey_];
}

void TDataWindow::ShowField(THandle field, const std::string& text) {
  Gui().SetText(field, text);
  if (int row = RowOf(TextBox, field)) shownText_[row] = text;
}

bool TDataWindow::Edited(int row) const {
  return TextBox[row] != 0 && Gui().GetText(TextBox[row]) != shownText_[row];
}

void TDataWindow::ShowActualKey() {
  TParameterAnim* movie = LiveMovie();
  if (!movie) return;
  for (int row = 1; row <= ParameterAnzahl; ++row)
    if (Edited(row)) TakeOne(row);
  Fill(*movie);
}

void TDataWindow::TakeSnapshot() {
  TParameterAnim* movie = LiveMovie();
  const TParameter* p = movie ? movie->GetActualParameter() : nullptr;
  snapshotMovie_ = movie;
  snapshotCount_ = movie ? movie->Count : -1;
  for (int row = 1; row <= ParameterAnzahl; ++row)
    snapshot_[row] = p ? DataRowValue(*p, row) : std::string();
}

void TDataWindow::Sync() {
  TParameterAnim* movie = LiveMovie();
  if (Window == 0 || !movie) return;
  TParameter* p = movie->GetActualParameter();
  if (movie != snapshotMovie_ || movie->Count != snapshotCount_ ||
      (p ? movie->Actual : 0) != shownKey_) {
    keepEdits_ = true;
    Fill(*movie);
    keepEdits_ = false;
    return;
  }
  if (!p) return;
  // The same keyframe: only the rows whose values changed are shown anew,
  // so that what the window shows on purpose (emptied style fields) stays.
  std::array<bool, ParameterAnzahl + 1> changed{};
  bool any = false;
  for (int row = 1; row <= ParameterAnzahl; ++row)
    any |= changed[row] = DataRowValue(*p, row) != snapshot_[row];
  if (!any) return;
  const bool marks = changed[DataRowOf("InterpolationList")] || changed[DataRowOf("TextOutputList")];
  if (marks) {
    ParseInterpolationList(*p, ShellHost());
    ParseTextOutputList(*p);
  }
  for (int row = 1; row <= ParameterAnzahl; ++row) {
    if (changed[row] && !Edited(row)) ShowField(TextBox[row], DataRowValue(*p, row));
    if (changed[row] || marks) ShowMarks(row);
  }
  TakeSnapshot();
}

void TDataWindow::Fill(TParameterAnim& movie) {
  TGui& gui = Gui();
  UsedAnim = TMovieRef::Of(&movie);
  TParameter* p = movie.GetActualParameter();
  shownKey_ = p ? movie.Actual : 0;
  if (movie.Count < 1 || !p) {
    gui.SetText(LabGroup, data_texts::kEmpty);
    TakeSnapshot();
    return;
  }
  TShellHost& host = ShellHost();
  ParseInterpolationList(*p, host);
  ParseTextOutputList(*p);
  NormalizeLineList(p->Grid, p->CLinesThick, p->CGrid);
  if (movie.OutputHeight > 0) p->brx = p->bry * movie.OutputWidth / movie.OutputHeight;
  host.Diagnostic((movie2_ ? data_texts::kDiagFillM2 : data_texts::kDiagFillM1) + movie.Run);
  if (movie.Run != "OK") p->FileNameKey = data_texts::kNotSaved;
  gui.SetText(LabGroup, "     [KEY" + std::to_string(movie.Actual) + "] / " +
                            std::to_string(movie.Count));
  for (int row = 1; row <= ParameterAnzahl; ++row)
    FillOne(row, DataRow(row).key, DataRowValue(*p, row));
  if (CK_Deep) gui.SetState(CK_Deep, p->Deep != 0 ? 1 : 0);
  TakeSnapshot();
}

void TDataWindow::FillOne(int row, const std::string& key, const std::string& value) {
  if (row < 1 || row > ParameterAnzahl) return;
  TGui& gui = Gui();
  gui.SetText(Lab[row], key);
  if (!keepEdits_ || !Edited(row)) ShowField(TextBox[row], value);
  rowKey_[row] = key;
  ShowMarks(row);
}

void TDataWindow::ShowMarks(int row) {
  TGui& gui = Gui();
  const TParameter* p = UsedAnim ? UsedAnim->GetActualParameter() : nullptr;
  const int index = TINIGroup::ParameterSortNo(rowKey_[row]);
  if (!p || index <= 0 || index >= TParameter::kParamIndices) return;
  gui.SetState(CK_InterpP[row], p->InterpP[index] != 0 ? 1 : 0);
  gui.SetState(CK_InterpM[row], p->InterpM[index] != 0 ? 1 : 0);
  gui.SetState(CK_ParamText[row], p->ParamText[index] != 0 ? 1 : 0);
}

void TDataWindow::TakeOne(int row) {
  TParameterAnim* movie = LiveMovie();
  TParameter* p = CurrentKey();
  if (!movie || !p || row < 1 || row > ParameterAnzahl || rowKey_[row].empty()) return;
  TGui& gui = Gui();
  p->OutputWidth = movie->OutputWidth;
  p->OutputHeight = movie->OutputHeight;
  const std::string& key = rowKey_[row];
  shownText_[row] = gui.GetText(TextBox[row]);
  const TStoreEffect effect = StoreDataRow(*p, key, shownText_[row], rules_);
  if (key == "PictNameOrNotice") {
    ShellHost().Diagnostic((movie2_ ? data_texts::kDiagNameM2 : data_texts::kDiagNameM1) +
                           movie->Run);
    // A repaired movie keeps the notice until it has been saved.
    if (movie->Run != "OK") {
      p->FileNameKey = data_texts::kNotSaved;
      ShowField(TextBox[row], p->FileNameKey);
    }
  }
  if (effect.showWidth) ShowField(TextBox[DataRowOf("WidthX")], DataRowValue(*p, 3));
  if (effect.showHeight) ShowField(TextBox[DataRowOf("HeightY")], DataRowValue(*p, 4));
  if (effect.emptyLineFields) {
    ShowField(TextBox[DataRowOf("LinesColor")], "");
    ShowField(TextBox[DataRowOf("LinesThickness")], "");
  }
}

THandle TDataWindow::GetGadgetTextOutputList() const {
  for (int row = 1; row <= ParameterAnzahl; ++row)
    if (rowKey_[row] == "TextOutputList") return TextBox[row];
  return 0;
}

THandle TDataWindow::GetGadgetInterpolationList() const {
  for (int row = 1; row <= ParameterAnzahl; ++row)
    if (rowKey_[row] == "InterpolationList") return TextBox[row];
  return 0;
}

void TDataWindow::ApplyMarkBox(THandle field, int row, char mode) {
  TParameter* p = CurrentKey();
  if (!p || !field || rowKey_[row].empty()) return;
  TGui& gui = Gui();
  const THandle box = mode == '+' ? CK_InterpP[row] : CK_InterpM[row];
  const THandle other = mode == '+' ? CK_InterpM[row] : CK_InterpP[row];
  const bool ticked = gui.GetState(box) != 0;
  const bool otherTicked = gui.GetState(other) != 0;
  p->InterpolationList =
      InterpolationCheckBox(gui.GetText(field), rowKey_[row], mode, ticked, otherTicked);
  if (ticked && otherTicked) gui.SetState(other, 0);
  ShowField(field, p->InterpolationList);
}

void TDataWindow::CreateInterpolationListP(THandle field, int row) {
  ApplyMarkBox(field, row, '+');
}

void TDataWindow::CreateInterpolationListM(THandle field, int row) {
  ApplyMarkBox(field, row, '*');
}

void TDataWindow::CreateTextOutputList(THandle field, int row) {
  TParameter* p = CurrentKey();
  if (!p || !field || rowKey_[row].empty()) return;
  TGui& gui = Gui();
  const std::string list = gui.GetText(field);
  p->TextOutputList = gui.GetState(CK_ParamText[row]) != 0
                          ? TextOutputListAdd(list, rowKey_[row])
                          : TextOutputListRemove(list, rowKey_[row]);
  ShowField(field, p->TextOutputList);
}

int TDataWindow::RowOf(const TRowGadgets& gadgets, THandle source) const {
  if (source == 0) return 0;
  for (int row = 1; row <= ParameterAnzahl; ++row)
    if (gadgets[row] == source) return row;
  return 0;
}

void TDataWindow::OnEvent(const TEvent& event) {
  // What the window itself changed is shown already; Sync looks for what
  // others change.
  if (!Handle(event) && Window != 0 && event.window == Window) TakeSnapshot();
  // Whatever happened, a pending grid-size text must not reach a keyframe
  // the user may just have changed here.
  DropPendingGridChange();
}

bool TDataWindow::Handle(const TEvent& event) {
  if (Window == 0 || event.window != Window || event.source == Window) return false;
  if (event.kind == TEventKind::FocusLost) {
    // A field left without a change stores nothing: its text may be older
    // than the keyframe (a zoom since), and storing it would undo that.
    if (int row = RowOf(TextBox, event.source); row && Edited(row)) TakeOne(row);
    return false;
  }
  if (event.kind != TEventKind::Gadget) return false;
  if (int row = RowOf(CK_InterpP, event.source)) {
    CreateInterpolationListP(GetGadgetInterpolationList(), row);
  } else if (int row = RowOf(CK_InterpM, event.source)) {
    CreateInterpolationListM(GetGadgetInterpolationList(), row);
  } else if (int row = RowOf(CK_ParamText, event.source)) {
    CreateTextOutputList(GetGadgetTextOutputList(), row);
  } else if (CK_Deep != 0 && event.source == CK_Deep) {
    if (TParameter* p = CurrentKey()) p->Deep = Gui().GetState(CK_Deep) != 0 ? 1 : 0;
  } else {
    return Button(event.source);
  }
  return false;
}

bool TDataWindow::Button(THandle source) {
  if (source == Cmd_Exit) {
    CloseSlot(slot_);  // deletes this window
    return true;
  }
  TParameterAnim* movie = LiveMovie();
  if (!movie) return false;
  const bool navigation =
      source == Cmd_Anfang || source == Cmd_Ende || source == Cmd_Vor || source == Cmd_Zurueck;
  if (navigation) {
    if (source == Cmd_Anfang && movie->Count > 0) movie->Actual = 1;
    if (source == Cmd_Ende) movie->Actual = movie->Count;
    if (source == Cmd_Vor && movie->Actual < movie->Count) ++movie->Actual;
    if (source == Cmd_Zurueck && movie->Count >= 1 && movie->Actual > 1) --movie->Actual;
    Fill(*movie);
    return false;
  }
  if (source == Cmd_UmZu1) DisplayButton(1);
  else if (source == Cmd_UmZu2) DisplayButton(2);
  else if (source == Cmd_UmZu4) DisplayButton(4);
  else if (source == Cmd_Aktualisieren) DisplayButton(0);
  else if (source == Cmd_Format) PostShellCommand(movie2_ ? kCmdFormatM2 : kCmdFormatM1);
  else if (source == Cmd_Insert) PostShellCommand(kCmdDuplicateKey);
  else if (source == Cmd_DeleteK) PostShellCommand(kCmdDeleteKey);
  else if (source == Cmd_Berechnen) PostShellCommand(kCmdCalculateM1);
  else if (source == Cmd_Vorschau) PostShellCommand(movie2_ ? kCmdPreviewM2 : kCmdPreviewM1);
  else if (source == Cmd_Tausch) PostShellCommand(kCmdExchange);
  else if (source == Cmd_EinfuegA) PostShellCommand(kCmdInsertA);
  else if (source == Cmd_Zweibil) PostShellCommand(kCmdDoubleM1M2);
  else if (source == Cmd_RunVideo) PostShellCommand(kCmdFilm);
  return false;
}

// "1", "2", "4" (compositionMode 1, 2, 4) and "Aktualisieren" (0): show the
// picture already computed, or offer to compute it when it does not fit.
void TDataWindow::DisplayButton(int compositionMode) {
  TParameterAnim* movie = LiveMovie();
  if (!movie) return;
  if (Composition().CompositionMode == -1000 || movie->Actual != ShownKeys().LastKeyM1) {
    if (ShellHost().Question(Tr(movie2_ ? data_texts::kRecalcM2 : data_texts::kRecalcM1)))
      PostShellCommand(movie2_ ? kCmdDoubleM1M2 : kCmdCalculateM1);
    return;
  }
  if (compositionMode != 0) Composition().CompositionMode = compositionMode;
  Gui().PostCommand(kCmdUpdateDisplay, 0);
}

}  // namespace ork
