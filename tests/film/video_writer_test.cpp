#include "film/video_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace ork {
namespace {

namespace fs = std::filesystem;

fs::path Fresh(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / ("orkelund_video_" + name);
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

TEST(VideoWriter, RefusesWhatItCannotWriteWithAReason) {
  const fs::path dir = Fresh("refused");
  const struct {
    std::string path;
    int width;
    const char* reason;
  } cases[] = {
      {(dir / "film.avi").string(), 8, ".mp4 or .webm"},
      {(dir / "missing" / "film.mp4").string(), 8, "No such file"},
      {(dir / "film.webm").string(), 0, "no picture"},
  };
  for (const auto& c : cases) {
    TVideoWriter writer;
    std::string error;
    EXPECT_FALSE(writer.Open(c.path, c.width, 6, 25, error)) << c.path;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    EXPECT_FALSE(writer.IsOpen());
  }
  EXPECT_TRUE(fs::is_empty(dir)) << "nothing is left behind";
  fs::remove_all(dir);
}

// A frame that does not fit abandons the video: no file under the final
// name, no temporary file.
TEST(VideoWriter, AFailedVideoLeavesNoFile) {
  const fs::path dir = Fresh("failed");
  const std::string path = (dir / "film.mp4").string();
  TVideoWriter writer;
  std::string error;
  ASSERT_TRUE(writer.Open(path, 9, 7, 25, error)) << error;
  EXPECT_EQ(writer.EncodedWidth(), 10);
  EXPECT_EQ(writer.EncodedHeight(), 8);
  EXPECT_TRUE(writer.Write(TPixmap(9, 7, 0xFF2040C0u), error)) << error;
  EXPECT_FALSE(writer.Write(TPixmap(8, 7), error));
  EXPECT_NE(error.find("8 x 7"), std::string::npos) << error;
  EXPECT_FALSE(writer.Close(error));
  EXPECT_TRUE(fs::is_empty(dir));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace ork
