// The keyboard in the program's dialogs: Escape cancels, Return takes the
// default button, Return on a focused button presses that button.
#include <gtest/gtest.h>

#include "gui/event.h"
#include "model/list_syntax.h"
#include "settings_window_test_util.h"
#include "windows/settings_window.h"

namespace ork::test {
namespace {

class DialogKeysTest : public TModalWindowTest {
 protected:
  // Types `text` into field `index` of the window titled `title`, then
  // presses `key` with the keyboard focus on `focus` (0: that field).
  void TypeThenKey(const char* title, int index, const std::string& text, int key,
                   const std::string& focusButton = "") {
    OnWindow(title, [=, this](THandle w) {
      gui_.TypeText(Field(w, index), text);
      gui_.KeyDown(key, focusButton.empty() ? Field(w, index) : Button(w, focusButton));
    });
  }
};

TEST_F(DialogKeysTest, SettingsWindowEscapeReturnAndFocusedButton) {
  const std::string before = ReadFile("INI/Settings.ini");
  struct TCase {
    int key;
    const char* focus;  // "" for the text field
    bool saved;
  } cases[] = {{kKeyEscape, "", false}, {kKeyReturn, "Cancel", false}, {kKeyReturn, "", true}};
  for (const TCase& c : cases) {
    OnWindow("Program Settings", [&](THandle w) {
      auto* sw = static_cast<TWindowProgramm*>(SlotWindow(TSlot::Settings));
      gui_.TypeText(sw->Input2, "40");
      gui_.KeyDown(c.key, *c.focus ? Button(w, c.focus) : sw->Input2);
    });
    Choose(5);
    ASSERT_TRUE(Opened()) << c.key;
    EXPECT_EQ(gui_.FindWindow("Program Settings"), 0u);
    EXPECT_EQ(ReadFile("INI/Settings.ini") != before, c.saved) << c.key << c.focus;
  }
}

TEST_F(DialogKeysTest, GridSizeDialogEscapeKeepsReturnStores) {
  TParameter* key = Shell().CurrentKeyM1;
  const std::string sizes = key->GridSizes;
  const char* title = "For Movie 1- Setting Grid sizes";
  const double dX = GridSettings().dX;
  TypeThenKey(title, 0, "0.25", kKeyEscape);
  Choose(70);
  ASSERT_TRUE(Opened());
  EXPECT_EQ(key->GridSizes, sizes);
  EXPECT_EQ(GridSettings().dX, dX);
  TypeThenKey(title, 0, "0.25", kKeyReturn);
  Choose(70);
  EXPECT_NE(key->GridSizes, sizes);
  EXPECT_EQ(GridSettings().dX, 0.25);
}

TEST_F(DialogKeysTest, LineStyleDialogEscapeKeepsReturnStores) {
  TParameter* key = Shell().CurrentKeyM1;
  const std::string colours = key->LinesColor;
  const char* title = "For Movie 1- setting line colors";
  TypeThenKey(title, 7, "77", kKeyEscape);  // red of the centre cross
  Choose(118);
  ASSERT_TRUE(Opened());
  EXPECT_EQ(key->LinesColor, colours);
  TypeThenKey(title, 7, "77", kKeyReturn);
  Choose(118);
  EXPECT_NE(key->LinesColor, colours);
}

}  // namespace
}  // namespace ork::test
