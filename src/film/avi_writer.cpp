#include "film/avi_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cassert>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "picture/picture_files_atomic.h"

namespace ork {

namespace {

constexpr uint64_t kMaxRiffSize = 0xFFFFFFFFu;
constexpr uint32_t kStandardIndexHeader = 32;  // "ix00", size and 24 bytes
constexpr uint32_t kIndexEntry = 8;            // offset and size of one frame
constexpr uint32_t kSuperIndexHeader = 32;     // "indx", size and 24 bytes
constexpr uint32_t kSuperIndexEntry = 16;
constexpr uint32_t kDmlhSize = 248;
// The OpenDML header up to "movi" without the super index entries, and the
// start of a further RIFF chunk ("RIFF", size, "AVIX", "LIST", size, "movi").
constexpr uint64_t kExtendedHeaderBytes = 524;
constexpr uint64_t kAvixHeaderBytes = 24;

// v little-endian into p[0..3].
void PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Little-endian header bytes appended one field after the other; lists and
// chunks get their size when they end.
class THeaderBytes {
 public:
  void Code(const char (&code)[5]) { bytes_.insert(bytes_.end(), code, code + 4); }
  void U32(uint32_t v) {
    bytes_.resize(bytes_.size() + 4);
    PutU32(bytes_.data() + bytes_.size() - 4, v);
  }
  void U16(uint16_t v) {
    bytes_.push_back(static_cast<uint8_t>(v));
    bytes_.push_back(static_cast<uint8_t>(v >> 8));
  }
  void Zeros(size_t n) { bytes_.resize(bytes_.size() + n, 0); }
  // A chunk or list: its code, a size filled in by End, the list's type.
  size_t Begin(const char (&code)[5], const char* type = nullptr) {
    Code(code);
    const size_t sizeAt = bytes_.size();
    U32(0);
    if (type) bytes_.insert(bytes_.end(), type, type + 4);
    return sizeAt;
  }
  void End(size_t sizeAt) {
    PutU32(bytes_.data() + sizeAt, static_cast<uint32_t>(bytes_.size() - sizeAt - 4));
  }
  size_t Pos() const { return bytes_.size(); }
  std::vector<uint8_t>& Bytes() { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

// The main header's 56 bytes after "avih" and its size.
void MainHeader(THeaderBytes& out, uint32_t w, uint32_t h, uint32_t s, uint32_t f,
                uint32_t frames) {
  out.U32(1000000u / f);
  out.U32(0);  // maximum bytes per second
  out.U32(0);  // padding granularity
  out.U32(0);  // flags: no "idx1" index
  out.U32(frames);
  out.U32(0);  // initial frames
  out.U32(1);  // streams
  out.U32(s);
  out.U32(w);
  out.U32(h);
  out.U32(1);  // reserved words: scale, rate, start, length
  out.U32(f);
  out.U32(0);
  out.U32(frames);
}

// The stream header's 48 bytes up to the sample size.
void StreamHeader(THeaderBytes& out, uint32_t s, uint32_t f, uint32_t frames) {
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
}

void BitmapHeader(THeaderBytes& out, uint32_t w, uint32_t h, uint32_t s) {
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
}

uint64_t FrameBytes(int width, int height) {
  return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4u;
}

// Offsets of the OpenDML header's fields that Complete sets.
constexpr uint64_t kAvihFramesAt = 48, kAvihLengthAt = 84, kStrhLengthAt = 140;
constexpr uint64_t kIndxAt = 212;  // the super index follows the stream format

}  // namespace

std::array<uint8_t, kAviHeaderBytes> AviHeaderBytes(int width, int height, uint32_t frames,
                                                    int fps) {
  if (fps < 1) fps = 1;
  const uint32_t w = static_cast<uint32_t>(width);
  const uint32_t h = static_cast<uint32_t>(height);
  const uint32_t s = w * h * 4u;
  const uint32_t f = static_cast<uint32_t>(fps);
  const uint32_t movi = (s + 8u) * frames;  // the caller keeps this within 32 bits

  THeaderBytes out;
  out.Code("RIFF");
  out.U32(208u + movi);
  out.Code("AVI ");
  out.Code("LIST");
  out.U32(184);
  out.Code("hdrl");
  out.Code("avih");
  out.U32(56);
  MainHeader(out, w, h, s, f, frames);
  out.Code("LIST");
  out.U32(108);
  out.Code("strl");
  out.Code("strh");
  out.U32(48);
  StreamHeader(out, s, f, frames);
  out.Code("strf");
  out.U32(40);
  BitmapHeader(out, w, h, s);
  out.Code("LIST");
  out.U32(movi + 4u);
  out.Code("movi");
  std::array<uint8_t, kAviHeaderBytes> bytes{};
  std::copy(out.Bytes().begin(), out.Bytes().end(), bytes.begin());
  return bytes;
}

TAviStream::TAviStream(THost& host) : host_(host) {}

TAviStream::~TAviStream() { Close(); }

bool TAviStream::Create(const std::string& path, uint64_t limit) {
  Close();
  failed_ = headerDone_ = extended_ = kept_ = finished_ = finishedOk_ = false;
  error_.clear();
  frames_ = announced_ = 0;
  end_ = 0;
  riffs_.clear();
  path_ = path;
  limit_ = std::min<uint64_t>(limit, kMaxRiffSize + 8u);
  TLeftoverTemps leftovers;
  leftovers.RemoveFor(path);
  fd_ = CreateTempBeside(path, temp_);
  if (fd_ < 0) {
    error_ = path + ": " + SystemErrorText(errno);
    failed_ = true;
    return false;
  }
  return true;
}

bool TAviStream::Fail(int error) { return Fail(SystemErrorText(error)); }

bool TAviStream::Fail(const std::string& reason) {
  if (error_.empty()) error_ = path_ + ": " + reason;  // the first failure is the cause
  failed_ = true;
  return false;
}

bool TAviStream::Put(const void* data, size_t size, uint64_t offset) {
  const auto* p = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const ssize_t n = ::pwrite(fd_, p, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail(n < 0 ? errno : ENOSPC);
    p += n;
    size -= static_cast<size_t>(n);
    offset += static_cast<uint64_t>(n);
  }
  return true;
}

bool TAviStream::PutU32(uint32_t value, uint64_t offset) {
  uint8_t bytes[4];
  ork::PutU32(bytes, value);
  return Put(bytes, 4, offset);
}

bool TAviStream::Append(const void* data, size_t size) {
  if (!Put(data, size, end_)) return false;
  end_ += size;
  return true;
}

uint32_t TAviStream::RiffCapacity(uint64_t overhead) const {
  const uint64_t perFrame = chunk_.size() + kIndexEntry;
  return static_cast<uint32_t>(std::min<uint64_t>(
      limit_ > overhead + perFrame ? (limit_ - overhead) / perFrame : 1, kMaxRiffSize));
}

bool TAviStream::BeginExtended(int frames) {
  const uint32_t w = static_cast<uint32_t>(width_), h = static_cast<uint32_t>(height_);
  const uint64_t chunk = chunk_.size();
  const uint32_t s = static_cast<uint32_t>(chunk - 8);
  const uint32_t f = static_cast<uint32_t>(fps_);
  const uint32_t later = RiffCapacity(kAvixHeaderBytes + kStandardIndexHeader);
  // The super index needs one entry per RIFF chunk, and its size moves the
  // first chunk's frames: a few rounds settle the count.
  uint32_t entries = 1;
  for (int round = 0; round < 3; ++round) {
    const uint64_t header = kExtendedHeaderBytes + uint64_t{kSuperIndexEntry} * entries;
    const uint32_t first = RiffCapacity(header + kStandardIndexHeader);
    const uint64_t rest = static_cast<uint64_t>(frames) > first ? frames - first : 0;
    entries = static_cast<uint32_t>(1 + (rest + later - 1) / later);
  }
  superEntries_ = entries + 1;  // one spare, should the estimate fall short

  THeaderBytes out;
  const size_t riff = out.Begin("RIFF", "AVI ");
  const size_t hdrl = out.Begin("LIST", "hdrl");
  const size_t avih = out.Begin("avih");
  MainHeader(out, w, h, s, f, 0);
  out.End(avih);
  const size_t strl = out.Begin("LIST", "strl");
  const size_t strh = out.Begin("strh");
  StreamHeader(out, s, f, 0);
  out.U16(0);  // frame rectangle: left, top, right, bottom
  out.U16(0);
  out.U16(static_cast<uint16_t>(std::min<uint32_t>(w, 0xFFFF)));
  out.U16(static_cast<uint16_t>(std::min<uint32_t>(h, 0xFFFF)));
  out.End(strh);
  const size_t strf = out.Begin("strf");
  BitmapHeader(out, w, h, s);
  out.End(strf);
  const size_t indx = out.Begin("indx");
  out.U16(4);  // longs per entry
  out.U16(0);  // sub type 0, type 0: an index of indexes
  out.U32(0);  // entries in use, set by Complete
  out.Code("00db");
  out.Zeros(12);
  out.Zeros(size_t{kSuperIndexEntry} * superEntries_);
  out.End(indx);
  out.End(strl);
  const size_t odml = out.Begin("LIST", "odml");
  const size_t dmlh = out.Begin("dmlh");
  dmlhAt_ = out.Pos();
  out.Zeros(kDmlhSize);
  out.End(dmlh);
  out.End(odml);
  out.End(hdrl);
  const uint64_t list = out.Pos();
  out.Begin("LIST", "movi");
  out.End(riff);
  std::vector<uint8_t>& bytes = out.Bytes();
  assert(bytes.size() == kExtendedHeaderBytes + kSuperIndexEntry * superEntries_);

  TRiff first;
  first.list = list;
  first.index = bytes.size();
  first.capacity = std::min(RiffCapacity(first.index + kStandardIndexHeader),
                            std::max<uint32_t>(planned_, 1));
  bytes.resize(bytes.size() + kStandardIndexHeader + uint64_t{kIndexEntry} * first.capacity, 0);
  riffs_.assign(1, first);
  // The planned size of the first RIFF chunk, as the plain layout's line.
  const uint64_t planned = first.index + kStandardIndexHeader +
                           uint64_t{first.capacity} * (chunk + kIndexEntry) - 8;
  host_.Diagnostic("ChunkSize =" + std::to_string(planned));
  if (!Append(bytes.data(), bytes.size())) return false;
  return FinishRiff(first);
}

bool TAviStream::BeginRiff() {
  if (riffs_.size() >= superEntries_) return Fail("the film has more frames than planned");
  TRiff riff;
  riff.start = end_;
  riff.list = end_ + 12;
  riff.index = end_ + kAvixHeaderBytes;
  const uint32_t left = planned_ > frames_ ? planned_ - frames_ : 1;
  riff.capacity = std::min(RiffCapacity(kAvixHeaderBytes + kStandardIndexHeader), left);
  std::vector<uint8_t> bytes(
      kAvixHeaderBytes + kStandardIndexHeader + uint64_t{kIndexEntry} * riff.capacity, 0);
  std::memcpy(bytes.data(), "RIFF", 4);
  std::memcpy(bytes.data() + 8, "AVIX", 4);
  std::memcpy(bytes.data() + 12, "LIST", 4);
  std::memcpy(bytes.data() + 20, "movi", 4);
  if (!Append(bytes.data(), bytes.size())) return false;
  riffs_.push_back(riff);
  return FinishRiff(riff);
}

bool TAviStream::FinishRiff(const TRiff& riff) {
  const uint64_t data = riff.index + kStandardIndexHeader + uint64_t{kIndexEntry} * riff.capacity;
  const uint64_t end = data + uint64_t{riff.frames} * chunk_.size();
  std::vector<uint8_t> index(kStandardIndexHeader + uint64_t{kIndexEntry} * riff.frames, 0);
  uint8_t* p = index.data();
  std::memcpy(p, "ix00", 4);
  ork::PutU32(p + 4, kStandardIndexHeader - 8 + kIndexEntry * riff.capacity);
  p[8] = 2;  // longs per entry
  p[11] = 1;  // an index of chunks
  ork::PutU32(p + 12, riff.frames);
  std::memcpy(p + 16, "00db", 4);
  ork::PutU32(p + 20, static_cast<uint32_t>(riff.start));  // base offset, 64 bits
  ork::PutU32(p + 24, static_cast<uint32_t>(riff.start >> 32));
  const uint32_t s = static_cast<uint32_t>(chunk_.size() - 8);
  for (uint32_t i = 0; i < riff.frames; ++i) {
    // Each entry points at its frame's pixels, relative to the base.
    ork::PutU32(p + kStandardIndexHeader + kIndexEntry * i,
                static_cast<uint32_t>(data + i * chunk_.size() + 8 - riff.start));
    ork::PutU32(p + kStandardIndexHeader + kIndexEntry * i + 4, s);
  }
  return Put(index.data(), index.size(), riff.index) &&
         PutU32(static_cast<uint32_t>(end - riff.start - 8), riff.start + 4) &&
         PutU32(static_cast<uint32_t>(end - riff.list - 8), riff.list + 4);
}

bool TAviStream::Complete() {
  if (!extended_) {
    if (frames_ == announced_) return true;
    const auto header = AviHeaderBytes(width_, height_, frames_, fps_);
    return Put(header.data(), header.size(), 0);
  }
  if (!FinishRiff(riffs_.back())) return false;
  std::vector<uint8_t> entries(size_t{kSuperIndexEntry} * riffs_.size());
  for (size_t i = 0; i < riffs_.size(); ++i) {
    uint8_t* e = entries.data() + kSuperIndexEntry * i;
    ork::PutU32(e, static_cast<uint32_t>(riffs_[i].index));
    ork::PutU32(e + 4, static_cast<uint32_t>(riffs_[i].index >> 32));
    ork::PutU32(e + 8, kStandardIndexHeader + kIndexEntry * riffs_[i].capacity);
    ork::PutU32(e + 12, riffs_[i].frames);
  }
  // The main header counts the frames of the first RIFF chunk, as AVI 1.0
  // readers see them; the stream and "dmlh" count all.
  return Put(entries.data(), entries.size(), kIndxAt + kSuperIndexHeader) &&
         PutU32(static_cast<uint32_t>(riffs_.size()), kIndxAt + 12) &&
         PutU32(riffs_.front().frames, kAvihFramesAt) && PutU32(frames_, kAvihLengthAt) &&
         PutU32(frames_, kStrhLengthAt) && PutU32(frames_, dmlhAt_);
}

bool TAviStream::Close() {
  Finish();
  return Publish(failed_ ? TKeepFile::WhereNone : TKeepFile::Replace);
}

bool TAviStream::Finish() {
  if (fd_ < 0 || finished_) return finishedOk_;
  finished_ = true;
  // A failed write may have left part of a frame: cut it off, then let the
  // headers describe what is left. These writes only overwrite bytes the
  // file has, so they work on a full disk too.
  finishedOk_ = headerDone_ && ::ftruncate(fd_, static_cast<off_t>(end_)) == 0 && Complete();
  if (finishedOk_ && ::fsync(fd_) != 0) finishedOk_ = Fail(errno);
  return finishedOk_;
}

bool TAviStream::Publish(TKeepFile keep) {
  if (fd_ < 0) return !failed_;
  Finish();
  // A failed film without frames replaces nothing.
  bool kept = finishedOk_ && !(failed_ && frames_ == 0) && keep != TKeepFile::Discard;
  if (kept) {
    // Renamed while open: its lock keeps sweeps away until it has its name.
    int error = 0;
    kept = MoveIntoPlace(temp_, path_, keep == TKeepFile::Replace, error);
    if (!kept && error != EEXIST) Fail(error);  // EEXIST: the older film stays
  }
  if (!kept) std::remove(temp_.c_str());
  ::close(fd_);
  fd_ = -1;
  temp_.clear();
  kept_ = kept;
  return !failed_;
}

bool TAviStream::DropLastFrame() {
  if (fd_ < 0 || finished_ || frames_ == 0) return false;
  --frames_;
  end_ -= chunk_.size();
  if (extended_) {
    TRiff& riff = riffs_.back();
    --riff.frames;
    // A RIFF chunk begun for that frame goes with it.
    if (riff.frames == 0 && riffs_.size() > 1) {
      end_ = riff.start;
      riffs_.pop_back();
    }
  }
  return true;
}

bool WriteAviHeader(TAviStream& stream, int width, int height, int frames, int fps) {
  if (!stream.IsOpen() || stream.headerDone_ || width <= 0 || height <= 0) return false;
  const uint64_t chunk = FrameBytes(width, height) + 8u;
  // The largest first RIFF chunk holding one frame.
  if (1024 + chunk + kStandardIndexHeader + kIndexEntry > kMaxRiffSize + 8u) return false;
  stream.width_ = width;
  stream.height_ = height;
  stream.fps_ = std::max(fps, 1);
  stream.planned_ = static_cast<uint32_t>(std::max(frames, 0));
  stream.chunk_.assign(static_cast<size_t>(chunk), 0);
  stream.headerDone_ = true;
  stream.plainCapacity_ = static_cast<uint32_t>(std::min<uint64_t>(
      stream.limit_ > kAviHeaderBytes ? (stream.limit_ - kAviHeaderBytes) / chunk : 0,
      kMaxRiffSize));
  stream.extended_ = stream.planned_ > stream.plainCapacity_;
  if (stream.extended_) return stream.BeginExtended(frames);

  stream.announced_ = stream.planned_;
  const auto header = AviHeaderBytes(width, height, stream.announced_, stream.fps_);
  const uint32_t riff = header[4] | (header[5] << 8) | (header[6] << 16) |
                        (uint32_t{header[7]} << 24);
  stream.host_.Diagnostic("ChunkSize =" + std::to_string(riff));
  return stream.Append(header.data(), header.size());
}

bool WriteAviFrame(TAviStream& stream, const TPixmap& picture) {
  if (!stream.IsOpen() || !stream.headerDone_) return false;
  if (picture.Width() != stream.width_ || picture.Height() != stream.height_) return false;
  if (stream.extended_) {
    if (stream.riffs_.back().frames >= stream.riffs_.back().capacity &&
        !(stream.FinishRiff(stream.riffs_.back()) && stream.BeginRiff()))
      return false;
  } else if (stream.frames_ >= stream.plainCapacity_) {
    return stream.Fail("the film has more frames than planned");
  }

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
  if (!stream.Append(stream.chunk_.data(), stream.chunk_.size())) return false;
  ++stream.frames_;
  if (stream.extended_) ++stream.riffs_.back().frames;
  return true;
}

}  // namespace ork
