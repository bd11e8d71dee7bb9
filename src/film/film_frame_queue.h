// A film's frame files and AVI stream written on a background thread, so
// that encoding and writing one frame overlap with computing and composing
// the next. The frames are written one after the other in the order they
// were handed over, by a TFilmFrameWriter: the same files and the same AVI
// bytes as writing them on the film's own thread.
//
// Handing a frame over copies its picture into one of a few frame buffers,
// so the caller may compose the next frame into the same picture at once;
// when every buffer is still waiting to be written, Hand waits for the
// writer. Every frame handed over is written, also when the film stops
// early: Close (and the destructor) write what is queued, complete the AVI
// header and end the thread. After the first failed write no further
// frame is written; the film learns of it from Failed and stops.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/pixmap.h"
#include "engine/worker_pool.h"
#include "film/avi_writer.h"
#include "film/film_output.h"
#include "film/film_settings.h"
#include "model/host.h"

namespace ork {

class TFilmFrameQueue {
 public:
  // As TFilmFrameWriter; `waiting` frames may wait while one is written.
  // The diagnostic lines of the writer reach `host` on the calling thread
  // only, through ReportFailures and Close.
  TFilmFrameQueue(const TFilmSettings& settings, int plannedFrames, THost& host,
                  uint64_t aviFileLimit = kAviFileLimit, int waiting = 2);
  ~TFilmFrameQueue() { Close(); }
  TFilmFrameQueue(const TFilmFrameQueue&) = delete;
  TFilmFrameQueue& operator=(const TFilmFrameQueue&) = delete;

  // Before the first frame: TFilmFrameWriter::CheckOutputs. False (see
  // Error) when a file of the film cannot be created.
  bool CheckOutputs(const std::string& firstFrame);

  // Queues a copy of picture as the frame named frameName (its FileNameKey).
  // Does nothing when the settings ask for no output.
  void Hand(const TPixmap& picture, const std::string& frameName);

  // Passes the writer's diagnostic lines so far (the file that could not
  // be written, "ChunkSize =" of the AVI) to the host. True when a write
  // has failed since the queue was made.
  bool ReportFailures();
  bool Failed();
  // The first failure, "<path>: <reason>"; empty while none.
  std::string Error();
  // Frames whose every file was written; final after Close.
  int FramesWritten();

  // Writes every frame handed over, closes the AVI stream and ends the
  // thread, then reports as ReportFailures. False when any write failed.
  // Closing twice is harmless; Hand after Close does nothing.
  bool Close();

  // The AVI file, when Close put it under its name; else empty.
  std::string AviFile() const { return writer_.Avi().Kept() ? writer_.Avi().Path() : ""; }
  // The name of the last frame written completely; complete after Close.
  const std::string& LastWritten() const { return writer_.LastWritten(); }
  // The video files completed by Close.
  const std::vector<std::string>& VideoFiles() const { return writer_.Videos().Files(); }

 private:
  // The writer's host: keeps its diagnostic lines for ReportFailures.
  class TLineKeeper final : public THost {
   public:
    explicit TLineKeeper(TFilmFrameQueue& queue) : queue_(queue) {}
    void Diagnostic(const std::string& line) override;

   private:
    TFilmFrameQueue& queue_;
  };
  struct TFrame {
    TPixmap picture;
    std::string name;
  };

  void Write(TFrame& frame);

  THost& host_;
  TLineKeeper keeper_{*this};
  TFilmFrameWriter writer_;  // used by the writer thread only while it runs
  std::vector<TFrame> frames_;
  uint64_t handed_ = 0;  // frames handed over (the calling thread's count)

  std::mutex mutex_;     // guards what follows
  std::condition_variable written_cv_;
  uint64_t written_ = 0;
  int framesWritten_ = 0;
  std::string error_;
  std::vector<std::string> lines_;

  std::unique_ptr<TSerialQueue> thread_;  // null without output and after Close
};

}  // namespace ork
