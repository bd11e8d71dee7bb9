#include "model/parameter.h"

#include <gtest/gtest.h>

#include "model/latin1.h"

namespace ork {
namespace {

TEST(Parameter, NewRecordAndIndependentCopy) {
  TParameter p;
  EXPECT_EQ(p.maxabs, 1.0e9);
  EXPECT_EQ(p.GameNo, 0);
  EXPECT_EQ(p.InterpP.size(), 51u);
  EXPECT_EQ(p.CLinesColor.size(), 10u);
  EXPECT_EQ(p.Cfact1.size(), 5u);

  p.vsp = 1.5;
  p.Degreefollow = 30;
  TParameter c = p.Copy();
  c.InterpP[4] = 7;
  c.Cfact1[2] = "x";
  EXPECT_EQ(p.InterpP[4], 0);
  EXPECT_EQ(p.Cfact1[2], "");
  EXPECT_EQ(c.vsp, 1.5);
  EXPECT_EQ(c.Degreefollow, 30);
}

TEST(Latin1, ConvertsUtf8Literals) {
  EXPECT_EQ(Latin1("Gr\xC3\xBC\xC3\x9F" "e"), "Gr\xFC\xDF" "e");
  EXPECT_EQ(Latin1("plain"), "plain");
  EXPECT_EQ(Latin1("\xE2\x82\xAC"), "?");  // the euro sign has no Latin-1 code
}

}  // namespace
}  // namespace ork
