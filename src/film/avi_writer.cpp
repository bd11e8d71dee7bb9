#include "film/avi_writer.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstring>

namespace ork {

namespace {

constexpr uint64_t kMaxRiffSize = 0xFFFFFFFFu;

// v little-endian into p[0..3].
void PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

class THeaderBytes {
 public:
  explicit THeaderBytes(std::array<uint8_t, kAviHeaderBytes>& bytes) : bytes_(bytes) {}
  void Code(const char (&code)[5]) {
    std::memcpy(bytes_.data() + pos_, code, 4);
    pos_ += 4;
  }
  void U32(uint32_t v) {
    PutU32(bytes_.data() + pos_, v);
    pos_ += 4;
  }
  void U16(uint16_t v) {
    bytes_[pos_++] = static_cast<uint8_t>(v);
    bytes_[pos_++] = static_cast<uint8_t>(v >> 8);
  }
  size_t Pos() const { return pos_; }

 private:
  std::array<uint8_t, kAviHeaderBytes>& bytes_;
  size_t pos_ = 0;
};

uint64_t FrameBytes(int width, int height) {
  return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4u;
}

}  // namespace

std::array<uint8_t, kAviHeaderBytes> AviHeaderBytes(int width, int height, uint32_t frames,
                                                    int fps) {
  if (fps < 1) fps = 1;
  const uint32_t w = static_cast<uint32_t>(width);
  const uint32_t h = static_cast<uint32_t>(height);
  const uint32_t s = w * h * 4u;
  const uint32_t f = static_cast<uint32_t>(fps);
  const uint32_t movi = (s + 8u) * frames;  // the caller keeps this within 32 bits

  std::array<uint8_t, kAviHeaderBytes> bytes{};
  THeaderBytes out(bytes);
  out.Code("RIFF");
  out.U32(208u + movi);
  out.Code("AVI ");
  out.Code("LIST");
  out.U32(184);
  out.Code("hdrl");
  out.Code("avih");
  out.U32(56);
  out.U32(1000000u / f);
  out.U32(0);  // maximum bytes per second
  out.U32(0);  // padding granularity
  out.U32(0);  // flags: no index
  out.U32(frames);
  out.U32(0);  // initial frames
  out.U32(1);  // streams
  out.U32(s);
  out.U32(w);
  out.U32(h);
  out.U32(1);
  out.U32(f);
  out.U32(0);
  out.U32(frames);
  out.Code("LIST");
  out.U32(108);
  out.Code("strl");
  out.Code("strh");
  out.U32(48);
  out.Code("vids");
  out.Code("RGBA");
  out.U32(0);  // flags
  out.U32(0);  // priority and language
  out.U32(0);  // initial frames
  out.U32(1);  // scale
  out.U32(f);  // rate
  out.U32(0);  // start
  out.U32(frames);
  out.U32(s);
  out.U32(0);  // quality
  out.U32(0);  // sample size
  out.Code("strf");
  out.U32(40);
  out.U32(40);
  out.U32(w);
  out.U32(h);  // positive: rows bottom-up
  out.U16(1);
  out.U16(32);
  out.U32(0);  // no compression
  out.U32(s);
  out.U32(0);
  out.U32(0);
  out.U32(0);
  out.U32(0);
  out.Code("LIST");
  out.U32(movi + 4u);
  out.Code("movi");
  return bytes;
}

TAviStream::TAviStream(THost& host) : host_(host) {}

TAviStream::~TAviStream() { Close(); }

bool TAviStream::Create(const std::string& path, uint64_t fileLimit) {
  Close();
  failed_ = false;
  headerDone_ = false;
  framesTotal_ = 0;
  fileFrames_ = 0;
  perFile_ = 0;
  files_.clear();
  limit_ = std::min<uint64_t>(fileLimit, kMaxRiffSize + 8u);
  base_ = path;
  if (base_.size() >= 4) {
    std::string ext = base_.substr(base_.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".avi") base_.resize(base_.size() - 4);
  }
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) return false;
  // Frames leave in one write each; the stdio buffer would only split them.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  files_.push_back(path);
  return true;
}

void TAviStream::Fail() {
  failed_ = true;
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

bool TAviStream::WriteBytes(const void* data, size_t size) {
  if (!file_) return false;
  if (std::fwrite(data, 1, size, file_) != size) {
    Fail();
    return false;
  }
  return true;
}

bool TAviStream::BeginFile() {
  const auto header = AviHeaderBytes(width_, height_, filePlanned_, fps_);
  const uint32_t riff = header[4] | (header[5] << 8) | (header[6] << 16) | (uint32_t{header[7]} << 24);
  host_.Diagnostic("ChunkSize =" + std::to_string(riff));
  fileFrames_ = 0;
  return WriteBytes(header.data(), header.size());
}

bool TAviStream::FinishFile() {
  if (!file_) return !failed_;
  bool ok = true;
  if (headerDone_ && fileFrames_ != filePlanned_) {
    const auto header = AviHeaderBytes(width_, height_, fileFrames_, fps_);
    ok = std::fseek(file_, 0, SEEK_SET) == 0 &&
         std::fwrite(header.data(), 1, header.size(), file_) == header.size();
    filePlanned_ = fileFrames_;
  }
  if (std::fclose(file_) != 0) ok = false;
  file_ = nullptr;
  if (!ok) failed_ = true;
  return ok;
}

bool TAviStream::Close() {
  FinishFile();
  return !failed_;
}

bool TAviStream::OpenNextFile() {
  if (!FinishFile()) return false;
  const std::string path = base_ + "-" + std::to_string(files_.size() + 1) + ".avi";
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) {
    failed_ = true;
    return false;
  }
  std::setvbuf(file_, nullptr, _IONBF, 0);
  files_.push_back(path);
  const uint64_t remaining =
      planned_ > static_cast<uint64_t>(framesTotal_) ? planned_ - framesTotal_ : 0;
  filePlanned_ = static_cast<uint32_t>(std::min<uint64_t>(perFile_, std::max<uint64_t>(remaining, 1)));
  return BeginFile();
}

bool WriteAviHeader(TAviStream& stream, int width, int height, int frames, int fps) {
  if (!stream.IsOpen() || stream.headerDone_ || width <= 0 || height <= 0) return false;
  const uint64_t chunk = FrameBytes(width, height) + 8u;
  const uint64_t smallest = kAviHeaderBytes + chunk;  // a file holding one frame
  if (smallest > kMaxRiffSize + 8u) return false;
  stream.width_ = width;
  stream.height_ = height;
  stream.fps_ = std::max(fps, 1);
  stream.planned_ = static_cast<uint32_t>(std::max(frames, 0));
  stream.perFile_ = stream.limit_ >= smallest
                        ? static_cast<uint32_t>(std::min<uint64_t>(
                              (stream.limit_ - kAviHeaderBytes) / chunk, kMaxRiffSize))
                        : 1u;
  stream.filePlanned_ = std::min(stream.planned_, stream.perFile_);
  stream.chunk_.assign(static_cast<size_t>(chunk), 0);
  stream.headerDone_ = true;
  return stream.BeginFile();
}

bool WriteAviFrame(TAviStream& stream, const TPixmap& picture) {
  if (!stream.IsOpen() || !stream.headerDone_) return false;
  if (picture.Width() != stream.width_ || picture.Height() != stream.height_) return false;
  if (stream.fileFrames_ >= stream.perFile_ && !stream.OpenNextFile()) return false;

  const int w = picture.Width();
  const int h = picture.Height();
  const size_t rowBytes = static_cast<size_t>(w) * 4u;
  uint8_t* out = stream.chunk_.data();
  std::memcpy(out, "00db", 4);
  PutU32(out + 4, static_cast<uint32_t>(rowBytes * h));
  out += 8;
  for (int y = h - 1; y >= 0; --y, out += rowBytes) {
    const uint32_t* row = picture.Row(y);
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(out, row, rowBytes);
    } else {
      for (int x = 0; x < w; ++x) PutU32(out + 4 * x, row[x]);
    }
  }
  if (!stream.WriteBytes(stream.chunk_.data(), stream.chunk_.size())) return false;
  ++stream.fileFrames_;
  ++stream.framesTotal_;
  return true;
}

}  // namespace ork
