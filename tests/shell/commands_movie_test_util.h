// Acting as the user in the movie file chooser and the back-step dialog:
// each planned answer waits until a window with its title opens, then
// types its text and presses its button.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "main_window_test_util.h"
#include "model/movie.h"
#include "shell/commands_movie.h"

namespace ork::test {

struct TDialogAnswer {
  std::string title;   // the dialog's window title
  std::string typed;   // put into its (first) text field
  std::string button;  // the button to press; empty: the close box
};

struct TPreviewCall {
  TSlot slot;
  int kind, number, width;
  std::string title, movieFile;
};

class TMovieCommandTest : public TShellTest {
 protected:
  void SetUp() override {
    TShellTest::SetUp();
    SetPreviewOpener([this](TSlot slot, int kind, int number, TParameterAnim& movie, int width,
                            const std::string& title) {
      previews_.push_back({slot, kind, number, width, title, movie.File});
    });
    gui_.SetIdleHook([this](TScriptedGui& g) { AnswerDialog(g); });
  }
  void TearDown() override {
    SetPreviewOpener({});
    TShellTest::TearDown();
  }

  void Plan(const std::string& title, const std::string& typed, const std::string& button) {
    answers_.push_back({title, typed, button});
  }
  // Movie 1's chooser answers: typed name, OK.
  void PlanChooser(const std::string& title, const std::string& typed) {
    Plan(title, typed, "OK");
  }

  // A small copy of the start movie under INI\<file> with its own output
  // name, keyframe count and centre x of keyframe 1.
  void WriteMovie(const std::string& file, const std::string& outputName, double vsx,
                  int width = 80, int height = 60, int count = 0) {
    auto m = TParameterAnim::Load("INI\\", "Default.ini", QuietHost());
    m->OutputWidth = width;
    m->OutputHeight = height;
    m->FileName = outputName;
    m->Parameter[1].vsx = vsx;
    if (count > 0) {
      m->Count = count;
      m->Actual = 1;
      m->Parameter.resize(static_cast<size_t>(count) + 1);
    }
    ASSERT_EQ(m->Save("INI\\", file, QuietHost()), 1);
  }

  bool Run(int command) {
    PostShellCommand(command);
    return RunPending();
  }

  // Any iteration count written: the render object was computed.
  static bool Computed(const TRender* r) {
    if (!r) return false;
    for (int32_t n : r->ibild)
      if (n != 0) return true;
    return false;
  }

  std::deque<TDialogAnswer> answers_;
  std::vector<TPreviewCall> previews_;
  // Called with the dialog's window before each planned answer is given.
  std::function<void(TScriptedGui&, THandle)> onDialog_;

 private:
  void AnswerDialog(TScriptedGui& g) {
    if (answers_.empty()) return;
    const TDialogAnswer a = answers_.front();
    const THandle w = g.FindWindow(a.title);
    if (!w) return;
    answers_.pop_front();
    if (onDialog_) onDialog_(g, w);
    const std::vector<THandle> fields = g.FindGadgets(w, TGadgetKind::TextField);
    if (!fields.empty()) g.TypeText(fields.front(), a.typed);
    if (a.button.empty())
      g.CloseBox(w);
    else
      g.Click(g.FindGadget(w, TGadgetKind::Button, a.button));
  }
};

}  // namespace ork::test
