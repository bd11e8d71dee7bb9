// Gadget creation of the data windows: the button rows at the top, the
// column heads, one line per key and the extra lines with the action
// buttons between the row groups.
#include "windows/data_window.h"

#include "model/language.h"
#include "windows/data_window_texts.h"
#include "windows/window_placement.h"

namespace ork {

namespace {

constexpr int kWidth = 340;
constexpr int kHeightFull = 817;
constexpr int kHeightPart2 = 523;
constexpr int kLine = 19;  // height of every gadget and of every line
constexpr int kFirstRowY = 66;
constexpr int kPart2SharedY = 104;  // rows 3..18 of the part-2 variants

// Top of a row. Full variants: extra lines follow rows 2, 7, 18 and 28.
// Part-2 variants: rows 3..18 share one place, the "Iteration:" and
// "Display:" lines follow row 18, the "Video:" line follows row 28.
int RowY(int row, bool part2) {
  if (!part2) {
    const int extras = (row > 2) + (row > 7) + (row > 18) + (row > 28);
    return kFirstRowY + (row - 1 + extras) * kLine;
  }
  if (row <= 2) return kFirstRowY + (row - 1) * kLine;
  if (row <= 18) return kPart2SharedY;
  const int extras = 2 + (row > 28);
  return kPart2SharedY + (row - 18 + extras) * kLine;
}

// Gadgets of an extra line stand one pixel above the line, which starts
// right below row `after` (in the part-2 variants `line` counts the extra
// lines after row 18).
int ExtraY(int after, bool part2, int line = 0) {
  return RowY(after, part2) + kLine * (1 + line) - 1;
}

template <class T>
std::unique_ptr<T> OpenVariant(THandle mainWindow) {
  auto window = std::make_unique<T>();
  window->Create(mainWindow);
  return window;
}

}  // namespace

std::unique_ptr<TWindowParameter> TWindowParameter::Open(THandle mainWindow) {
  return OpenVariant<TWindowParameter>(mainWindow);
}
std::unique_ptr<TWindowParameterTeil2> TWindowParameterTeil2::Open(THandle mainWindow) {
  return OpenVariant<TWindowParameterTeil2>(mainWindow);
}
std::unique_ptr<TWindowParameterBild2> TWindowParameterBild2::Open(THandle mainWindow) {
  return OpenVariant<TWindowParameterBild2>(mainWindow);
}
std::unique_ptr<TWindowParameterTeil2Bild2> TWindowParameterTeil2Bild2::Open(
    THandle mainWindow) {
  return OpenVariant<TWindowParameterTeil2Bild2>(mainWindow);
}

void TDataWindow::Create(THandle mainWindow) {
  using namespace data_texts;
  TGui& gui = Gui();
  const TRect main = gui.Geometry(mainWindow);
  std::string title = Tr(movie2_ ? kTitleM2 : kTitleM1);
  if (part2_) title += Tr(kPart2Suffix);
  Window = gui.CreateWindow(title, main.x, BelowMenuBar(main.y + 68, mainWindow), kWidth,
                            part2_ ? kHeightPart2 : kHeightFull,
                            kWinTitleBar, mainWindow);
  const THandle w = Window;
  auto button = [&](int x, int y, int width, const std::string& text) {
    return gui.CreateButton(w, x, y, width, kLine, text);
  };

  if (movie2_) {
    Cmd_Tausch = button(10, 5, 104, Tr(kExchange));
  } else {
    Cmd_Insert = button(10, 5, 104, Tr(kDuplicate));
  }
  Cmd_Format = button(114, 5, 104, Tr(kFormat));
  Cmd_Exit = button(218, 5, 104, kOk);
  if (movie2_) {
    Cmd_EinfuegA = button(10, 24, 104, Tr(kInsertA));
  } else {
    Cmd_DeleteK = button(10, 24, 104, Tr(kDelete));
  }
  Cmd_Anfang = button(114, 24, 52, Tr(kFirst));
  Cmd_Zurueck = button(166, 24, 52, Tr(kPast));
  Cmd_Vor = button(218, 24, 52, Tr(kNext));
  Cmd_Ende = button(270, 24, 52, Tr(kLast));
  gui.CreateLabel(w, 60, 47, 120, kLine, kHeadMarks);
  LabGroup = gui.CreateLabel(w, 185, 47, 100, kLine, kBeforeFill);
  gui.CreateLabel(w, 300, 47, 30, kLine, kHeadText);

  for (int row = 1; row <= ParameterAnzahl; ++row) {
    const int y = RowY(row, part2_);
    const TDataRow& r = DataRow(row);
    Lab[row] = gui.CreateLabel(w, 10, y, 100, kLine, std::to_string(row));
    if (r.marks) {
      CK_InterpP[row] = gui.CreateCheckBox(w, 114, y - 3, 15, kLine, "");
      CK_InterpM[row] = gui.CreateCheckBox(w, 129, y - 3, 15, kLine, "");
    }
    TextBox[row] = gui.CreateTextField(w, 144, y, 162, kLine);
    if (r.textBox) CK_ParamText[row] = gui.CreateCheckBox(w, 306, y - 3, 15, kLine, "");
    // The part-2 variants keep rows 3..18 (filled and stored like the
    // others) out of sight behind the information line.
    if (part2_ && row >= 3 && row <= 18) {
      for (THandle g : {Lab[row], CK_InterpP[row], CK_InterpM[row], TextBox[row],
                        CK_ParamText[row]})
        if (g) gui.ShowGadget(g, false);
    }
  }

  const int iterationY = part2_ ? ExtraY(18, true, 0) : ExtraY(7, false);
  const int displayY = part2_ ? ExtraY(18, true, 1) : ExtraY(18, false);
  const int videoY = part2_ ? RowY(28, true) + kLine - 1 : ExtraY(28, false);
  if (part2_) {
    gui.CreateLabel(w, 0, kPart2SharedY, 335, kLine, Tr(kPart2Info));
  } else {
    gui.CreateLabel(w, 55, ExtraY(2, false), 85, kLine, kNavigation);
    CK_Deep = gui.CreateCheckBox(w, 144, ExtraY(2, false), 162, kLine, Tr(kDeepSwitch));
  }
  gui.CreateLabel(w, 64, iterationY, 76, kLine, kIteration);
  Cmd_Vorschau = button(144, iterationY, 62, Tr(kPreview));
  if (movie2_) {
    Cmd_Zweibil = button(224, iterationY, 82, Tr(kBesideM1));
  } else {
    Cmd_Berechnen = button(224, iterationY, 82, Tr(kCalculate));
  }
  gui.CreateLabel(w, 73, displayY, 67, kLine, kDisplay);
  if (!movie2_) {
    Cmd_UmZu1 = button(144, displayY, 20, "1");
    Cmd_UmZu2 = button(165, displayY, 20, "2");
    Cmd_UmZu4 = button(186, displayY, 20, "4");
  }
  Cmd_Aktualisieren = button(224, displayY, 82, Tr(kUpdate));
  gui.CreateLabel(w, 80, videoY, 60, kLine, kVideo);
  Cmd_RunVideo = button(224, videoY, 82, kStartVideo);
}

}  // namespace ork
