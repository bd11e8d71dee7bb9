#include "film/film_frame_queue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "film/avi_check.h"
#include "film/film_host.h"
#include "picture/picture_files.h"

namespace ork {
namespace {

namespace fs = std::filesystem;

// Records on which thread each diagnostic line arrived.
class TThreadHost : public test::TFilmHost {
 public:
  void Diagnostic(const std::string& line) override {
    threads.push_back(std::this_thread::get_id());
    TFilmHost::Diagnostic(line);
  }
  std::vector<std::thread::id> threads;
};

TFilmSettings PngAndAvi() {
  TFilmSettings settings;
  settings.Fps = 25;
  settings.Png = settings.Avi = true;
  return settings;
}

TEST(FilmFrameQueue, FramesAreCopiesWrittenInOrderAlsoWhenTheFilmStops) {
  const auto dir = test::FilmScratchDir("FrameQueue");
  TThreadHost host;
  TPixmap picture(8, 4);
  {
    // Two buffers for ten frames: each is reused while the film goes on
    // painting into the same picture.
    TFilmFrameQueue queue(PngAndAvi(), 60, host, kAviFileLimit, 1);
    for (uint32_t i = 1; i <= 10; ++i) {
      picture.Fill(0xFF000000u | i);
      queue.Hand(picture, "F" + std::to_string(i));
    }
  }  // the film stopped after ten of its sixty frames

  const auto bytes = test::ReadFileBytes((dir / "Output" / "F1.avi").string());
  const test::TAviCheck avi = test::CheckAvi(bytes);
  ASSERT_TRUE(avi.ok) << avi.error;
  ASSERT_EQ(avi.chunks, 10u);
  for (uint32_t i = 1; i <= 10; ++i) {
    EXPECT_EQ(test::U32At(bytes, avi.firstChunkData + (i - 1) * (8 * 4 * 4 + 8)), 0xFF000000u | i);
    const TPixmapPtr png = LoadPng((dir / "Output" / ("F" + std::to_string(i) + ".png")).string());
    ASSERT_TRUE(png) << i;
    EXPECT_EQ(png->Get(7, 3), 0xFF000000u | i);
  }
  EXPECT_EQ(host.Diagnostics, std::vector<std::string>{"ChunkSize =" + std::to_string(208 + 136 * 60)});
  EXPECT_EQ(host.threads, std::vector<std::thread::id>{std::this_thread::get_id()});
  fs::remove_all(dir);
}

TEST(FilmFrameQueue, FailedWritesAreReportedOnTheFilmsThread) {
  const auto dir = test::FilmScratchDir("FrameQueueFails");
  fs::remove_all(dir / "Output");
  TThreadHost host;
  TFilmFrameQueue queue(PngAndAvi(), 60, host);
  queue.Hand(TPixmap(8, 4), "A");
  queue.Hand(TPixmap(8, 4), "B");
  EXPECT_FALSE(queue.Close());
  EXPECT_TRUE(queue.ReportFailures());
  ASSERT_FALSE(host.threads.empty());
  for (const std::thread::id id : host.threads) EXPECT_EQ(id, std::this_thread::get_id());
  EXPECT_TRUE(queue.AviFile().empty());
  fs::remove_all(dir);
}

}  // namespace
}  // namespace ork
