#include "picture/picture_files_atomic.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <iterator>
#include <string>

#include "picture/picture_files.h"
#include "picture/temp_dir.h"

namespace ork {
namespace {

TEST(AtomicFile, FilesOpenTogetherKeepTheirOwnBytes) {
  // The first file borrows the thread's write buffer; the second must not.
  picture_test::TempDir dir;
  TAtomicFile first(dir / "a"), second(dir / "b");
  ASSERT_TRUE(first.Stream() && second.Stream());
  const std::string a(1000, 'a'), b(1000, 'b');
  for (int i = 0; i < 200; ++i) {
    std::fwrite(a.data(), 1, a.size(), first.Stream());
    std::fwrite(b.data(), 1, b.size(), second.Stream());
  }
  ASSERT_TRUE(first.Commit());
  ASSERT_TRUE(second.Commit());
  for (const auto& [name, c] : {std::pair{"a", 'a'}, std::pair{"b", 'b'}}) {
    std::ifstream in(dir / name, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(bytes, std::string(200000, c)) << name;
  }
}

// A writer killed while writing leaves "<target>.XXXXXX"; the next write of
// the same target removes it, and only it.
TEST(AtomicFile, NextWriteOfTheTargetRemovesLeftoversOfKilledWriters) {
  picture_test::TempDir dir;
  for (const char* name : {"o.png.aXfYIq", "o.png.keep", "o.png.a-fYIq", "p.png.aXfYIq"})
    std::ofstream(dir / name) << "x";
  ASSERT_TRUE(SavePng(TPixmap(2, 2), dir / "o.png"));
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    names.insert(e.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"o.png", "o.png.keep", "o.png.a-fYIq", "p.png.aXfYIq"}));
}

}  // namespace
}  // namespace ork
