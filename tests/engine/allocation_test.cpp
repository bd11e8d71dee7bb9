#include "engine/allocation.h"

#include <gtest/gtest.h>

#include "engine/render.h"
#include "model/language.h"

namespace ork {
namespace {

TEST(Allocation, MessageNamesTheSizeInTheChosenLanguage) {
  const TLanguage before = UiLanguage();
  const TAllocationError error(13.9e9, "x");
  struct TCase {
    TLanguage language;
    const char* message;
  } cases[] = {
      {TLanguage::English,
       "Not enough memory: 13.9 GB for x could not be allocated. The command was abandoned."},
      {TLanguage::German, "Nicht genug Speicher: 13,9 GB f\xfcr x konnten nicht belegt werden. "
                          "Der Befehl wurde abgebrochen."},
  };
  for (const TCase& c : cases) {
    SetUiLanguage(c.language);
    EXPECT_EQ(AllocationMessage(error), c.message);
  }
  SetUiLanguage(TLanguage::English);
  EXPECT_EQ(AllocationMessage(std::bad_alloc()), "Not enough memory. The command was abandoned.");
  EXPECT_EQ(ByteSizeText(812), "812 Bytes");
  EXPECT_EQ(ByteSizeText(999960), "1.0 MB");
  EXPECT_EQ(ByteSizeText(4.8e13), "48.0 TB");
  SetUiLanguage(before);
}

TEST(Allocation, LimitRefusesLargerRequests) {
  SetAllocationLimit(1000);
  EXPECT_NO_THROW(CheckAllocation(1000, "a"));
  EXPECT_THROW(CheckAllocation(1001, "a"), TAllocationError);
  SetAllocationLimit(0);
  EXPECT_GT(AllocationLimit(), 1e6);  // the machine's memory
  EXPECT_THROW(CheckAllocation(1e30, "a"), TAllocationError);
}

// A cycle test in the billions (a movie file may hold any) computes: its
// history grows with the values the picture pushes, and when that growth
// finds no memory, the refusal names the history.
TEST(Allocation, HugeCycleTestGrowsWithTheComputation) {
  SetUiLanguage(TLanguage::English);
  TParameter k;
  k.OutputWidth = k.OutputHeight = 80;
  k.bry = 1;
  k.GameNo = 1000;
  k.zyctest = 2000000000;
  k.ianzmax = 1000;
  TRender render;
  render.Init(k);
  EXPECT_TRUE(Calculate(k, &QuietHost(), render));
  SetAllocationLimit(40000);  // the history's first 1024 values fit
  try {
    Calculate(k, &QuietHost(), render);
    ADD_FAILURE() << "no refusal";
  } catch (const TAllocationError& e) {
    EXPECT_GT(e.Bytes(), 40000);
    EXPECT_EQ(e.Purpose(), "the cycle history of 2000000000 entries");
  }
  SetAllocationLimit(0);
}

}  // namespace
}  // namespace ork
