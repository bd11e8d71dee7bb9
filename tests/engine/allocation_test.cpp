#include "engine/allocation.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

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

// Under an address-space limit (ulimit -v) only what is left of it can be
// had, however much memory the machine has. Tried in a child process, so
// that the limit does not stay with the tests.
TEST(Allocation, LimitHeedsTheAddressSpaceLimit) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    double pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const double used = pages * static_cast<double>(sysconf(_SC_PAGE_SIZE));
    const rlim_t cap = static_cast<rlim_t>(used + 300e6);
    const rlimit limit{cap, cap};
    if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(2);
    const double left = MemoryLeft();
    _exit(left <= 300e6 && left > 100e6 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
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
