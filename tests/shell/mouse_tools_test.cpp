#include <gtest/gtest.h>

#include <cmath>

#include "engine/deep/deep_coordinates.h"
#include "shell/mouse_tools.h"
#include "main_window_test_util.h"

namespace ork::test {
namespace {

// A keyframe of a w x h picture with plane height bry centred on (0, 0).
struct TClickSetup {
  std::unique_ptr<TParameterAnim> movie = std::make_unique<TParameterAnim>();
  TRender render;
  TClickSetup(int w, int h, double bry, double degree = 0) {
    movie->OutputWidth = w;
    movie->OutputHeight = h;
    TParameter p;
    p.OutputWidth = w;
    p.OutputHeight = h;
    p.bry = bry;
    p.brx = bry * w / h;
    p.Degree = degree;
    movie->AddParameter(p);
    movie->Actual = 1;
    render.Width = w;
    render.Height = h;
  }
  TParameter& P() { return *movie->GetActualParameter(); }
};

TEST(MouseToolsApplyPictureClick, CentreZoomRotationAndRejection) {
  ResetProcessState();
  {
    // Degree 90: 10 pixels right of the centre raises vsy by 10 u.
    TClickSetup s(400, 300, 3, 90);
    ASSERT_EQ(ApplyPictureClick(kToolCentre, 210, 150, 210, 150, s.movie.get(), &s.render), 1);
    const double u = 3.0 / 300;
    EXPECT_NEAR(s.P().vsx, 0, 1e-12);
    EXPECT_NEAR(s.P().vsy, 10 * u, 1e-12);
    EXPECT_EQ(s.P().vsp, s.P().vsx);
    EXPECT_EQ(s.P().vst, s.P().vsy);
    EXPECT_EQ(s.P().Mpox, 210);
  }
  {
    // A 100-pixel-high box on 400 x 300 with bry 3: bry 1, brx 4/3; the
    // centre moves to the box centre (corners given in any order).
    TClickSetup s(400, 300, 3);
    ASSERT_EQ(ApplyPictureClick(kToolZoom, 300, 200, 100, 100, s.movie.get(), &s.render), 1);
    EXPECT_DOUBLE_EQ(s.P().bry, 1.0);
    EXPECT_DOUBLE_EQ(s.P().brx, 400.0 / 300.0);
    EXPECT_DOUBLE_EQ(s.P().vsx, 0.0);
    EXPECT_DOUBLE_EQ(s.P().vsy, 0.0);
  }
  {
    // A box 3 pixels high only re-centres.
    TClickSetup s(400, 300, 3);
    ASSERT_EQ(ApplyPictureClick(kToolZoom, 250, 150, 260, 153, s.movie.get(), &s.render), 1);
    EXPECT_EQ(s.P().bry, 3);
    EXPECT_NEAR(s.P().vsx, 55 * 0.01, 1e-12);
    EXPECT_NEAR(s.P().vsy, -1.5 * 0.01, 1e-12);
  }
  {
    // Outside the picture: unchanged, 0; Julia sets C.
    TClickSetup s(400, 300, 3);
    EXPECT_EQ(ApplyPictureClick(kToolCentre, -1, 10, -1, 10, s.movie.get(), &s.render), 0);
    EXPECT_EQ(ApplyPictureClick(kToolCentre, 400, 10, 400, 10, s.movie.get(), &s.render), 0);
    EXPECT_EQ(ApplyPictureClick(kToolCentre, 10, 300, 10, 300, s.movie.get(), &s.render), 0);
    EXPECT_EQ(s.P().vsx, 0);
    ASSERT_EQ(ApplyPictureClick(kToolJulia, 300, 50, 300, 50, s.movie.get(), &s.render), 1);
    EXPECT_NEAR(s.P().CCx, 1.0, 1e-12);
    EXPECT_NEAR(s.P().CCy, 1.0, 1e-12);
    EXPECT_EQ(ApplyPictureClick(kToolCentre, 1, 1, 1, 1, nullptr, &s.render), 0);
  }
  {
    // A point picked outside keeps the point inspected before.
    TClickSetup s(400, 300, 3);
    ASSERT_EQ(ApplyPictureClick(kToolPoint, 30, 20, 30, 20, s.movie.get(), &s.render), 1);
    const TParameter before = s.P();
    for (double x : {-3.0, 400.0})
      EXPECT_EQ(ApplyPictureClick(kToolPoint, x, 20, x, 20, s.movie.get(), &s.render), 0) << x;
    EXPECT_EQ(s.P().Mpox, 30);
    EXPECT_EQ(s.P().Mpoy, 20);
    EXPECT_EQ(s.P().pox, before.pox);
    EXPECT_EQ(s.P().poy, before.poy);
  }
  {
    // Right half of a double picture: x is taken less the output width;
    // P there sets composition 222 even when rejected.
    TClickSetup s(400, 300, 3);
    Composition().ShownImage = 2;
    ASSERT_EQ(ApplyPictureClick(kToolCentre + kToolRight, 405, 150, 405, 150, s.movie.get(),
                                &s.render), 1);
    EXPECT_NEAR(s.P().vsx, -195 * 0.01, 1e-12);
    Composition().CompositionMode = 1;
    EXPECT_EQ(ApplyPictureClick(kToolPoint + kToolRight, 300, 150, 300, 150, s.movie.get(),
                                &s.render), 0);
    EXPECT_EQ(Composition().CompositionMode, 222);
  }
  ResetProcessState();
}

// A deep keyframe 1e-40 high around a centre no double holds: the tools
// move it by whole pixels, every digit kept.
TEST(MouseToolsApplyPictureClick, DeepViewKeepsEveryDigit) {
  ResetProcessState();
  using deep::TBigFloat;
  const std::string x0 = "-0.7436438870371587048278619013479088270130235679842373";
  TBigFloat centre, pixel;
  ASSERT_TRUE(TBigFloat::Parse(x0, 0, centre));
  ASSERT_TRUE(TBigFloat::Parse("1e-40", 300, pixel));
  pixel = pixel / TBigFloat(300.0, 300);
  // How many pixels v lies from w.
  auto pixels = [&](const std::string& v, const TBigFloat& w) {
    TBigFloat b;
    EXPECT_TRUE(TBigFloat::Parse(v, 0, b));
    return ((b - w) / pixel).ToDouble();
  };
  TClickSetup s(400, 300, 1e-40);
  s.P().Deep = 1;
  s.P().vsxLong = x0;
  s.P().vsx = centre.ToDouble();
  ASSERT_EQ(ApplyPictureClick(kToolCentre, 210, 140, 210, 140, s.movie.get(), &s.render), 1);
  EXPECT_NEAR(pixels(s.P().vsxLong, centre), 10, 1e-9);
  EXPECT_NEAR(pixels(s.P().vsyLong, TBigFloat(0.0)), 10, 1e-9);
  EXPECT_EQ(s.P().vsp, s.P().vsx);

  // A box 100 pixels high around (250, 150) + the centre: a third as high.
  const std::string x1 = s.P().vsxLong;
  TBigFloat c1;
  ASSERT_TRUE(TBigFloat::Parse(x1, 0, c1));
  ASSERT_EQ(ApplyPictureClick(kToolZoom, 200, 100, 300, 200, s.movie.get(), &s.render), 1);
  EXPECT_NEAR(pixels(s.P().vsxLong, c1), 50, 1e-9);
  EXPECT_NEAR(pixels(s.P().bryLong, TBigFloat(0.0)), 100, 1e-9);
  EXPECT_DOUBLE_EQ(s.P().bry, 1e-40 / 3);

  // J: the constant where the click is, in full.
  ASSERT_EQ(ApplyPictureClick(kToolJulia, 200, 150, 200, 150, s.movie.get(), &s.render), 1);
  TBigFloat c2;
  ASSERT_TRUE(TBigFloat::Parse(s.P().vsxLong, 0, c2));
  EXPECT_EQ(pixels(s.P().CCxLong, c2), 0);
  EXPECT_EQ(s.P().CCx, s.P().pox);
  ResetProcessState();
}

TEST_F(TShellTest, MouseToolsZoomBoxCentreAndJuliaAsTheUserDoes) {
  UseSmallStartMovie(80, 60);
  Start();
  ASSERT_TRUE(RunPending());
  TRender& r = *Shell().RenderM1;
  const int ox = r.PaintOffsetX, oy = r.PaintOffsetY;
  const double bry = Key1()->bry, vsx = Key1()->vsx, vsy = Key1()->vsy;
  const double u = bry / 60;

  // Z held, click, drag, click, release: the box (20,15)-(40,30) of the
  // picture, its width following the picture's aspect.
  gui_.KeyDown('Z', Area());
  gui_.MouseMove(Area(), ox + 20, oy + 15);
  gui_.MouseDown(Area(), ox + 20, oy + 15);
  gui_.MouseMove(Area(), ox + 35, oy + 30);
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().Tools.BoxState, 1);
  EXPECT_DOUBLE_EQ(Shell().Tools.BoxX1, ox + 20 + 15 * 80.0 / 60.0);
  // While armed the cross-hair and the box are drawn.
  int thick = 0;
  for (const TDrawOp& op : gui_.Gadget(Area())->presentedOps)
    thick += op.kind == TDrawOp::Kind::Line && op.lineWidth == 4;
  EXPECT_EQ(thick, 6);
  gui_.MouseDown(Area(), ox + 35, oy + 30);
  gui_.KeyUp('Z', Area());
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().Tools.ZoomKeyHeld, 0);
  EXPECT_DOUBLE_EQ(Key1()->bry, 15 * u);
  EXPECT_DOUBLE_EQ(Key1()->brx, 15 * u * 80 / 60);
  EXPECT_DOUBLE_EQ(Key1()->vsx, vsx + ((20 + 40) / 2.0 - 40) * u);
  EXPECT_DOUBLE_EQ(Key1()->vsy, vsy - ((15 + 30) / 2.0 - 30) * u);
  EXPECT_EQ(Shell().TempCounter, 2);  // recomputed

  // C: re-centre on the picture's pixel (60, 10).
  const double u2 = Key1()->bry / 60, vsx2 = Key1()->vsx, vsy2 = Key1()->vsy;
  gui_.KeyDown('C', Area());
  gui_.MouseMove(Area(), ox + 60, oy + 10);
  gui_.KeyUp('C', Area());
  ASSERT_TRUE(RunPending());
  EXPECT_DOUBLE_EQ(Key1()->vsx, vsx2 + 20 * u2);
  EXPECT_DOUBLE_EQ(Key1()->vsy, vsy2 + 20 * u2);
  EXPECT_EQ(Shell().TempCounter, 3);

  // J: the Julia constant at pixel (50, 40); 96 is posted (composition 3),
  // which asks whether to copy Movie 1 into Movie 2 first and then shows
  // the new-C double picture.
  const double vsx3 = Key1()->vsx, vsy3 = Key1()->vsy;
  gui_.AnswerQuestion(false);
  gui_.KeyDown('J', Area());
  gui_.MouseMove(Area(), ox + 50, oy + 40);
  gui_.KeyUp('J', Area());
  ASSERT_TRUE(RunPending());
  EXPECT_DOUBLE_EQ(Key1()->CCx, vsx3 + 10 * u2);
  EXPECT_DOUBLE_EQ(Key1()->CCy, vsy3 - 10 * u2);
  EXPECT_EQ(Shell().Movie2->GetActualParameter()->CCx, Key1()->pox);
  EXPECT_TRUE(Composition().KeepLeftPicture);

  // Escape disarms; a click outside the picture changes nothing.
  gui_.KeyDown('C', Area());
  gui_.KeyUp(kKeyEscape, Area());
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Shell().Tools.ToolArmed, 0);
  EXPECT_EQ(Shell().Tools.CenterKeyHeld, 0);
  const double vsx4 = Key1()->vsx;
  gui_.KeyUp('C', Area());
  ASSERT_TRUE(RunPending());
  EXPECT_EQ(Key1()->vsx, vsx4);
}

TEST_F(TShellTest, MouseToolsInverseMappingOfC) {
  UseSmallStartMovie(80, 60);
  Start();
  ASSERT_TRUE(RunPending());
  TParameter& p = *Key1();
  p.Degree = 0;
  p.CCx = p.vsx + p.bry / 60 * 10;  // 10 pixels right of the centre
  p.CCy = p.vsy + p.bry / 60 * 5;   // 5 pixels up
  ShowCAsDynamicsPoint();
  EXPECT_EQ(p.Mpox, 50);
  EXPECT_EQ(p.Mpoy, 25);
  EXPECT_EQ(Composition().InsertPosX, 50);
  EXPECT_EQ(Composition().InsertPosY, 25);
  EXPECT_EQ(p.pox, p.CCx);
  TEvent e = gui_.WaitEvent();
  EXPECT_EQ(e.kind, TEventKind::MenuCommand);
  EXPECT_EQ(e.data, 128);
}

}  // namespace
}  // namespace ork::test
