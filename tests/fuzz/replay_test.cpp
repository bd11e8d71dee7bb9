// Runs every committed input of one fuzz target (its corpus directory, the
// reproducers of faults found included) through the target's entry point,
// built by the ordinary compiler: a fault found once stays found.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

TEST(FuzzCorpus, EveryCommittedInputRuns) {
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  for (const auto& entry : fs::recursive_directory_iterator(ORK_FUZZ_CORPUS)) {
    if (entry.is_regular_file()) inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  ASSERT_FALSE(inputs.empty()) << ORK_FUZZ_CORPUS;
  for (const fs::path& path : inputs) {
    SCOPED_TRACE(path.string());
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()),
                                     bytes.size()),
              0);
  }
}

}  // namespace
