#include "model/list_syntax.h"

#include <gtest/gtest.h>

#include "model/movie.h"
#include "model/process_state.h"
#include "scripted_host.h"

namespace ork {
namespace {

using Ints = std::array<int, TParameter::kVariants>;

TEST(ListSyntax, VariantIntsAndColourFactors) {
  ResetProcessState();
  EXPECT_EQ(ParseVariantInts("4"), (Ints{4, 4, 4, 4, 0}));
  EXPECT_EQ(ParseVariantInts("3:5"), (Ints{3, 5, 3, 3, 0}));
  EXPECT_EQ(ParseVariantInts(":7"), (Ints{0, 7, 0, 0, 0}));
  EXPECT_EQ(ParseVariantInts(" 1 : 2 :3: 4:9"), (Ints{1, 2, 3, 4, 0}));

  TParameter p;
  p.factL = "(100,0.5,2,300):200";
  p.SelectPictureL = "1:2";
  SelectColorVariant(p, 0);
  EXPECT_EQ(p.Cfact1[0], "100");
  EXPECT_EQ(p.Cfact2[0], "0.5");
  EXPECT_EQ(p.Cfact4[0], "300");
  EXPECT_EQ(p.Cfact1[1], "200");
  EXPECT_EQ(p.Cfact2[1], "0.0");
  EXPECT_EQ(p.Cfact3[1], "1.000");
  EXPECT_EQ(p.Cfact4[1], "0");
  EXPECT_EQ(p.colz, 300);
  EXPECT_EQ(p.fact2, 0.5);
  SelectColorVariant(p, 1);
  EXPECT_EQ(p.colz, 2048);
  EXPECT_EQ(p.SelectPicture, 2);
  EXPECT_EQ(p.fact1, 200);

  Composition().CompositionMode = 4;
  SelectColorVariant(p, 1);
  EXPECT_EQ(p.Cfact2[1], "0.5");
  EXPECT_EQ(p.Cfact4[1], "300");
  EXPECT_EQ(p.Cfact1[2], "100");
  EXPECT_EQ(p.Cfact3[3], "2");
  Composition().CompositionMode = 1;

  p.factL = "";
  SelectColorVariant(p, 0);
  EXPECT_EQ(p.Cfact1[3], "100.000");
  EXPECT_EQ(p.colz, 2048);
  EXPECT_EQ(p.colzh, 1024);
  EXPECT_EQ(p.colzv, 512);
  p.factL = "(1,2,3,100)";
  SelectColorVariant(p, 0);
  EXPECT_EQ(p.colz, 255);
  p.factL = " ( 1 , 2 , 3 , -5 ) ";
  SelectColorVariant(p, 0);
  EXPECT_EQ(p.colz, 2048);
  EXPECT_EQ(p.fact3, 3);

  SelectColorVariant(nullptr, 0);  // no keyframe, nothing happens
  SelectColorVariant(p, 99);       // clamped to a variant that exists
  EXPECT_EQ(p.farbtab, p.Cfarbtab[3]);
}

TEST(ListSyntax, RebuildAndRotateColourLists) {
  ResetProcessState();
  TParameter p;
  p.factL = "100";
  p.SelectPictureL = "1";
  p.farbtabL = "4";
  p.ColShiftL = "1000";
  SelectColorVariant(p, 0);
  RebuildColorLists(p);
  EXPECT_EQ(p.factL, "100.000");
  EXPECT_EQ(p.SelectPictureL, "1");

  p.factL = "(2000.55,0.123456789,1,50):7:7:7";
  p.SelectPictureL = "1:2:2:2";
  SelectColorVariant(p, 0);
  Composition().ShownImage = 4;
  RebuildColorLists(p);
  EXPECT_EQ(p.factL, "(2000.5,0.12345,1.000,50):7.000:7.000:7.000");
  EXPECT_EQ(p.SelectPictureL, "1:2:2:2");
  Composition().ShownImage = 1;
  RebuildColorLists(p);
  EXPECT_EQ(p.factL, "(2000.5,0.12345,1.000,50)");
  EXPECT_EQ(p.SelectPictureL, "1");

  p.SelectPictureL = "1:2:3:4";
  p.factL = "1:2:3:4";
  p.farbtabL = "5";
  SelectColorVariant(p, 0);
  RotateColorLists(p);
  EXPECT_EQ(p.SelectPictureL, "2:4:1:3");
  EXPECT_EQ(p.factL, "2.000:4.000:1.000:3.000");
  EXPECT_EQ(p.farbtabL, "5");
}

TEST(ListSyntax, OverlayListColoursAndThicknesses) {
  TParameter p;
  ResetLineStyles(p);
  EXPECT_EQ(p.CLinesColor[0], 0x00808080);
  EXPECT_EQ(static_cast<unsigned>(p.CLinesColor[1]), 0xFF000000u);
  EXPECT_EQ(p.CLinesThick[6], 3);

  std::string list = " G , M ,X, G ";
  NormalizeLineList(list, p.CLinesThick, p.CGrid);
  EXPECT_EQ(list, "G,M");
  EXPECT_EQ(p.CGrid[0], 1);
  EXPECT_EQ(p.CGrid[1], 1);
  EXPECT_EQ(p.CGrid[2], 0);

  list = "G,M,GV,NA,NA";
  p.CLinesThick[1] = 0;
  NormalizeLineList(list, p.CLinesThick, p.CGrid);
  EXPECT_EQ(list, "G,NA");
  EXPECT_EQ(p.CGrid[1], 0);
  EXPECT_EQ(p.CLinesThick[1], 1);
  EXPECT_EQ(p.CGrid[7], 1);

  list = "";
  NormalizeLineList(list, p.CLinesThick, p.CGrid);
  EXPECT_EQ(list, "");
  EXPECT_EQ(p.CGrid[0], 0);

  p.LinesColor = "$FF0000FF, ,-1";
  p.LinesThick = "5,,6,7,8,9,10,11,12,13,14,15,16";
  p.CLinesColor[7] = 42;
  ParseLineStyles(p);
  EXPECT_EQ(static_cast<unsigned>(p.CLinesColor[0]), 0xFF0000FFu);
  EXPECT_EQ(static_cast<unsigned>(p.CLinesColor[1]), 0xFFFFFFFFu);
  EXPECT_EQ(static_cast<unsigned>(p.CLinesColor[2]), 0xFFFFFFFFu);  // default
  EXPECT_EQ(p.CLinesColor[7], 42);  // beyond the given entries and kinds 0..6
  EXPECT_EQ(p.CLinesThick[0], 5);
  EXPECT_EQ(p.CLinesThick[1], 6);
  EXPECT_EQ(p.CLinesThick[9], 14);
}

TEST(ListSyntax, GridSizes) {
  ResetProcessState();
  ParseGridSizes("0.5");
  EXPECT_EQ(GridSettings().dX, 0.5);
  EXPECT_EQ(GridSettings().dY, 0);
  EXPECT_EQ(GridSettings().decX, -2);
  EXPECT_EQ(GridSettings().size, 2);
  EXPECT_EQ(GridSettings().shiftY, 50);
  ParseGridSizes("1.0,2.0,-1,3,1,0,1,20.5,80,1");
  EXPECT_EQ(GridSettings().dY, 2.0);
  EXPECT_EQ(GridSettings().decX, -1);
  EXPECT_EQ(GridSettings().decY, 3);
  EXPECT_EQ(GridSettings().size, 1);
  EXPECT_EQ(GridSettings().labelsX, 0);
  EXPECT_EQ(GridSettings().shiftX, 20.5);
  ParseGridSizes(", ,4");
  EXPECT_EQ(GridSettings().dX, 0);
  EXPECT_EQ(GridSettings().decX, 4);
  EXPECT_EQ(GridSettings().shiftX, 50);
  ParseGridSizes("7");
  ResetProcessState();
  EXPECT_EQ(GridSettings().dX, 0);
}

TEST(ListSyntax, InterpolationMarks) {
  ResetProcessState();
  test::TScriptedHost host;
  TParameter p;
  auto parse = [&](const char* list) {
    p.InterpolationList = list;
    ParseInterpolationList(p, host);
  };
  parse("(HeightY,+):(Degree,*)");
  EXPECT_EQ(p.InterpP[4], 1);
  EXPECT_EQ(p.InterpM[7], 1);
  EXPECT_EQ(PlusMalMode(), 3);
  EXPECT_EQ(host.Diagnostics.back(), "Tools 600 PlusMal=3");
  parse("(HeightY,+abc2=1)");
  EXPECT_EQ(p.InterpP[4], 21);
  EXPECT_EQ(p.InterpM[7], 0);
  EXPECT_EQ(PlusMalMode(), 1);
  parse("(Degree,x)");
  EXPECT_EQ(p.InterpM[7], 1);
  EXPECT_EQ(PlusMalMode(), 0);
  parse(" (HeightY,+)");
  EXPECT_EQ(p.InterpP[4], 0);
  EXPECT_EQ(PlusMalMode(), 0);
  // A bare entry repeats the preceding name with the mode cut to one
  // character: the step rule's mark goes back to 1.
  parse("(MidPointX,+abc3=1):x");
  EXPECT_EQ(p.InterpP[5], 1);
  parse("(Param3,*):(Unknown,+):(CycleTest,+):(ColShift,*)");
  EXPECT_EQ(p.InterpM[13], 1);
  EXPECT_EQ(p.InterpP[18], 1);
  EXPECT_EQ(p.InterpM[21], 1);
  EXPECT_EQ(PlusMalMode(), 3);
  parse("(HeightY,+abc99999999999=9)");  // huge step rules stay defined
  EXPECT_NE(p.InterpP[4], 0);
  parse("(HeightY,+abcd)");  // step rule without "="
  EXPECT_EQ(p.InterpP[4], 0);

  // The movie form works on the current keyframe; an empty movie is left alone.
  TParameterAnim movie;
  ParseInterpolationList(movie, host);
  movie.AddParameter(p);
  movie.Actual = 1;
  movie.Parameter[1].InterpolationList = "(Degree,+)";
  ParseInterpolationList(movie, host);
  EXPECT_EQ(movie.Parameter[1].InterpP[7], 1);
}

TEST(ListSyntax, InterpolationCheckBoxes) {
  EXPECT_EQ(InterpolationListAdd("", "HeightY", '+'), "(HeightY,+)");
  EXPECT_EQ(InterpolationListAdd("(Degree,*)", "HeightY", '+'), "(HeightY,+):(Degree,*)");
  EXPECT_EQ(InterpolationListRemove("(HeightY,+): (Degree,*) ::HeightY:(HeightY ,*):Degree",
                                    "HeightY"),
            " (Degree,*) :Degree");
  // " (Degree,*) " is not enclosed: its name is the whole trimmed entry.
  EXPECT_EQ(InterpolationListRemove(" (Degree,*) ", "Degree"), " (Degree,*) ");
  // Ticking "+" while "*" is ticked removes the "*" entry first.
  EXPECT_EQ(InterpolationCheckBox("(Degree,*):(HeightY,+)", "Degree", '+', true, true),
            "(Degree,+):(HeightY,+)");
  EXPECT_EQ(InterpolationCheckBox("(Degree,*)", "HeightY", '*', true, false),
            "(HeightY,*):(Degree,*)");
  EXPECT_EQ(InterpolationCheckBox("(Degree,*):(HeightY,+)", "Degree", '*', false, false),
            "(HeightY,+)");
}

TEST(ListSyntax, TextOutputListAndPositions) {
  TParameter p;
  p.TextOutputList = "(10,50%,Zoom: ,HeightY,3,2):KeyNr:(0,0,a,ColFact): (1,1,b,Degree) :(1,1,c,Bogus)";
  ParseTextOutputList(p);
  EXPECT_EQ(p.ParamText[4], 1);
  EXPECT_EQ(p.ParamText[22], 1);
  EXPECT_EQ(p.ParamText[33], 0);  // bare entries are not marked
  EXPECT_EQ(p.ParamText[7], 0);   // not enclosed
  int sum = 0;
  for (int v : p.ParamText) sum += v;
  EXPECT_EQ(sum, 2);

  EXPECT_EQ(ParsePosition("10", 0, 767), 10);
  EXPECT_EQ(ParsePosition("50%", 0, 575), 287);
  EXPECT_EQ(ParsePosition("150%", 0, 575), 575);
  EXPECT_EQ(ParsePosition("-5", 0, 575), 0);
  EXPECT_EQ(ParsePosition("abc", 3, 575), 3);
  EXPECT_EQ(ParsePosition("99999999999%", 0, 575), 0);  // wraps negative, clamped
  EXPECT_EQ(ParsePosition("5", 0, -1), 0);               // empty range: the minimum

  EXPECT_EQ(TextOutputListAdd("", "HeightY"), "(0,0,HeightY=,HeightY)");
  EXPECT_EQ(TextOutputListAdd("KeyNr", "Degree"), "(0,0,Degree=,Degree):KeyNr");
  EXPECT_EQ(TextOutputListRemove("(0,0,HeightY=,HeightY):KeyNr: :(1,2,a:b,HeightY):HeightY:(1,1,c:d,Degree)", "HeightY"),
            "KeyNr:(1,1,c:d,Degree)");
  EXPECT_EQ(TextOutputListRemove("(1,2,x)", ""), "");  // fewer than four fields: empty name
}

}  // namespace
}  // namespace ork
