#include "film/video_writer.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/macros.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace ork {

namespace {

// FFmpeg's libraries are loaded when the first video file is opened, not
// linked: they and the codec libraries they pull in take longer to load
// than a small picture takes to compute, and only films with video use
// them. The names carry the major versions built against, so the functions
// found have the signatures of the headers included here.
#define ORK_AV_FUNCTIONS(X)                                                                  \
  X(kAvUtil, av_strerror) X(kAvUtil, av_log_set_level) X(kAvUtil, av_opt_set)               \
  X(kAvUtil, av_dict_set) X(kAvUtil, av_dict_free) X(kAvUtil, av_frame_alloc)               \
  X(kAvUtil, av_frame_free) X(kAvUtil, av_frame_get_buffer) X(kAvUtil, av_frame_make_writable) \
  X(kAvCodec, avcodec_find_encoder_by_name) X(kAvCodec, avcodec_alloc_context3)             \
  X(kAvCodec, avcodec_free_context) X(kAvCodec, avcodec_open2)                              \
  X(kAvCodec, avcodec_parameters_from_context) X(kAvCodec, avcodec_send_frame)              \
  X(kAvCodec, avcodec_receive_packet) X(kAvCodec, av_packet_alloc)                          \
  X(kAvCodec, av_packet_free) X(kAvCodec, av_packet_rescale_ts)                             \
  X(kAvFormat, avformat_alloc_output_context2) X(kAvFormat, avformat_new_stream)            \
  X(kAvFormat, avformat_write_header) X(kAvFormat, av_interleaved_write_frame)              \
  X(kAvFormat, av_write_trailer) X(kAvFormat, avformat_free_context) X(kAvFormat, avio_open) \
  X(kAvFormat, avio_closep) X(kSwScale, sws_getContext) X(kSwScale, sws_scale)              \
  X(kSwScale, sws_freeContext)

enum TAvLibrary { kAvUtil, kAvCodec, kAvFormat, kSwScale, kAvLibraries };

const char* const kAvLibraryNames[kAvLibraries] = {
    "libavutil.so." AV_STRINGIFY(LIBAVUTIL_VERSION_MAJOR),
    "libavcodec.so." AV_STRINGIFY(LIBAVCODEC_VERSION_MAJOR),
    "libavformat.so." AV_STRINGIFY(LIBAVFORMAT_VERSION_MAJOR),
    "libswscale.so." AV_STRINGIFY(LIBSWSCALE_VERSION_MAJOR)};

struct TAv {
#define ORK_AV_MEMBER(library, name) decltype(&::name) name = nullptr;
  ORK_AV_FUNCTIONS(ORK_AV_MEMBER)
#undef ORK_AV_MEMBER
};

// The loaded functions (loaded once for the process, never unloaded); null
// with the reason in error when a library or function is missing.
const TAv* LoadAv(std::string& error) {
  static TAv av;
  static std::string failure;
  static std::once_flag once;
  std::call_once(once, [] {
    void* handles[kAvLibraries] = {};
    for (int i = 0; i < kAvLibraries; ++i) {
      handles[i] = dlopen(kAvLibraryNames[i], RTLD_NOW | RTLD_LOCAL);
      if (handles[i] == nullptr) {
        const char* why = dlerror();
        failure = std::string("the video library ") + kAvLibraryNames[i] +
                  " cannot be loaded: " + (why != nullptr ? why : "not found");
        return;
      }
    }
#define ORK_AV_LOAD(library, name)                                                        \
  av.name = reinterpret_cast<decltype(&::name)>(dlsym(handles[library], #name));          \
  if (av.name == nullptr) {                                                               \
    failure = std::string("the video library ") + kAvLibraryNames[library] + " lacks " #name; \
    return;                                                                               \
  }
    ORK_AV_FUNCTIONS(ORK_AV_LOAD)
#undef ORK_AV_LOAD
  });
  if (!failure.empty()) {
    error = failure;
    return nullptr;
  }
  return &av;
}

std::string AvError(const TAv& av, int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av.av_strerror(code, text, sizeof text);
  return text;
}

// Constant-quality settings: the pictures are full of fine detail and sharp
// colour edges, which the encoders' default quality smears visibly. The
// fastest presets at a lower CRF keep every frame of the shipped start
// movie's film above 40 dB luma PSNR (H.264 41.3 dB, VP9 41.1 dB at the
// worst frame) at a tenth (H.264) and a fifth (VP9) of the encoding time of
// the slower presets at the same quality; the files are larger instead.
struct TEncoderChoice {
  const char* encoder;  // FFmpeg's encoder name
  const char* codecName;
  const char* muxer;
  std::vector<std::pair<const char*, const char*>> options;
};

TEncoderChoice EncoderFor(TVideoFormat format) {
  if (format == TVideoFormat::Mp4)
    return {"libx264", "H.264", "mp4", {{"crf", "13"}, {"preset", "ultrafast"}}};
  // VP9 has constant quality only with the bit rate left at 0.
  return {"libvpx-vp9",
          "VP9",
          "webm",
          {{"crf", "14"}, {"deadline", "realtime"}, {"cpu-used", "8"}, {"row-mt", "1"}}};
}

}  // namespace

TVideoFormat VideoFormatOfPath(const std::string& path) {
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return TVideoFormat::None;
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == "mp4") return TVideoFormat::Mp4;
  if (ext == "webm") return TVideoFormat::WebM;
  return TVideoFormat::None;
}

struct TVideoWriter::TState {
  explicit TState(const TAv& functions) : av(functions) {}
  const TAv& av;
  std::string path, temp;
  int lockFd = -1;  // the temporary file's descriptor, holding its lock
  bool finished = false;
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVStream* stream = nullptr;
  SwsContext* scaler = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  int width = 0, height = 0;     // the pictures'
  std::vector<uint32_t> padded;  // an odd-sized picture grown to even size
  bool failed = false;

  ~TState() {
    av.av_packet_free(&packet);
    av.av_frame_free(&frame);
    av.sws_freeContext(scaler);
    av.avcodec_free_context(&codec);
    if (format) {
      av.avio_closep(&format->pb);
      av.avformat_free_context(format);
    }
    if (!temp.empty()) std::remove(temp.c_str());
    if (lockFd >= 0) ::close(lockFd);
  }

  // Sends a frame (null: the end of the film) and writes every packet the
  // encoder has ready.
  bool Encode(const AVFrame* input, std::string& error) {
    int rc = av.avcodec_send_frame(codec, input);
    if (rc < 0) {
      error = "cannot encode a frame: " + AvError(av, rc);
      return false;
    }
    for (;;) {
      rc = av.avcodec_receive_packet(codec, packet);
      if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return true;
      if (rc < 0) {
        error = "cannot encode a frame: " + AvError(av, rc);
        return false;
      }
      av.av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
      packet->stream_index = stream->index;
      rc = av.av_interleaved_write_frame(format, packet);
      if (rc < 0 || format->pb->error < 0) {
        error = AvError(av, rc < 0 ? rc : format->pb->error);
        return false;
      }
    }
  }
};

TVideoWriter::TVideoWriter() = default;

TVideoWriter::~TVideoWriter() {
  std::string ignored;
  Close(ignored);
}

bool TVideoWriter::Open(const std::string& path, int width, int height, int fps,
                        std::string& error) {
  std::string ignored;
  Close(ignored);
  frames_ = 0;
  const TVideoFormat format = VideoFormatOfPath(path);
  if (format == TVideoFormat::None) {
    error = "not a video file name (.mp4 or .webm)";
    return false;
  }
  if (width < 1 || height < 1) {
    error = "no picture to encode";
    return false;
  }
  fps = std::max(fps, 1);
  const TAv* loaded = LoadAv(error);
  if (loaded == nullptr) return false;
  const TAv& av = *loaded;
  // The encoders' statistics would break into the film's progress line;
  // what fails is reported by the messages below.
  av.av_log_set_level(AV_LOG_ERROR);
  const TEncoderChoice choice = EncoderFor(format);
  const AVCodec* encoder = av.avcodec_find_encoder_by_name(choice.encoder);
  if (!encoder) {
    error = std::string("the FFmpeg libraries of this system have no ") +
            choice.codecName + " encoder '" + choice.encoder + "'";
    return false;
  }

  auto s = std::make_unique<TState>(av);
  s->path = path;
  s->width = width;
  s->height = height;
  TLeftoverTemps().RemoveFor(path);
  s->lockFd = CreateTempBeside(path, s->temp);
  if (s->lockFd < 0) {
    error = SystemErrorText(errno);
    return false;
  }

  const int w = (width + 1) & ~1, h = (height + 1) & ~1;
  int rc = av.avformat_alloc_output_context2(&s->format, nullptr, choice.muxer, s->temp.c_str());
  if (rc < 0 || !s->format) {
    error = AvError(av, rc);
    return false;
  }
  s->stream = av.avformat_new_stream(s->format, nullptr);
  s->codec = av.avcodec_alloc_context3(encoder);
  s->frame = av.av_frame_alloc();
  s->packet = av.av_packet_alloc();
  if (!s->stream || !s->codec || !s->frame || !s->packet) {
    error = "not enough memory for the encoder";
    return false;
  }
  AVCodecContext* c = s->codec;
  c->width = w;
  c->height = h;
  c->pix_fmt = AV_PIX_FMT_YUV420P;
  c->time_base = AVRational{1, fps};
  c->framerate = AVRational{fps, 1};
  c->bit_rate = 0;
  // What swscale's conversion below produces: BT.601, limited range.
  c->color_range = AVCOL_RANGE_MPEG;
  c->colorspace = AVCOL_SPC_SMPTE170M;
  c->color_primaries = AVCOL_PRI_SMPTE170M;
  c->color_trc = AVCOL_TRC_SMPTE170M;
  if (s->format->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  for (const auto& [key, value] : choice.options) av.av_opt_set(c->priv_data, key, value, 0);
  rc = av.avcodec_open2(c, encoder, nullptr);
  if (rc < 0) {
    error = std::string("the ") + choice.codecName + " encoder refuses " + std::to_string(w) +
            " x " + std::to_string(h) + " pixels: " + AvError(av, rc);
    return false;
  }
  rc = av.avcodec_parameters_from_context(s->stream->codecpar, c);
  if (rc < 0) {
    error = AvError(av, rc);
    return false;
  }
  s->stream->time_base = c->time_base;
  s->stream->avg_frame_rate = s->stream->r_frame_rate = c->framerate;

  rc = av.avio_open(&s->format->pb, s->temp.c_str(), AVIO_FLAG_WRITE);
  if (rc < 0) {
    error = AvError(av, rc);
    return false;
  }
  AVDictionary* muxing = nullptr;
  // The index goes in front: players and web pages start before the end arrives.
  if (format == TVideoFormat::Mp4) av.av_dict_set(&muxing, "movflags", "+faststart", 0);
  rc = av.avformat_write_header(s->format, &muxing);
  av.av_dict_free(&muxing);
  if (rc < 0) {
    error = AvError(av, rc);
    return false;
  }

  s->frame->format = c->pix_fmt;
  s->frame->width = w;
  s->frame->height = h;
  rc = av.av_frame_get_buffer(s->frame, 0);
  // ARGB words in memory are the bytes B, G, R, A.
  s->scaler = av.sws_getContext(w, h, AV_PIX_FMT_BGRA, w, h, AV_PIX_FMT_YUV420P,
                             SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr,
                             nullptr);
  if (rc < 0 || !s->scaler) {
    error = "not enough memory for the encoder";
    return false;
  }
  if (w != width || h != height) s->padded.resize(static_cast<size_t>(w) * h);
  state_ = std::move(s);
  encodedWidth_ = w;
  encodedHeight_ = h;
  return true;
}

bool TVideoWriter::Write(const TPixmap& picture, std::string& error) {
  TState* s = state_.get();
  if (!s) {
    error = "no video file is open";
    return false;
  }
  if (s->failed) {
    error = "abandoned after an earlier failure";
    return false;
  }
  if (picture.Width() != s->width || picture.Height() != s->height) {
    error = "a frame of " + std::to_string(picture.Width()) + " x " +
            std::to_string(picture.Height()) + " pixels in a film of " + std::to_string(s->width) +
            " x " + std::to_string(s->height);
    s->failed = true;
    return false;
  }
  const TAv& av = s->av;
  const uint32_t* pixels = picture.Data();
  if (!s->padded.empty()) {
    // The last column and row repeated: no edge of another colour to blur in.
    const int w = encodedWidth_;
    for (int y = 0; y < encodedHeight_; ++y) {
      const uint32_t* src = picture.Row(std::min(y, s->height - 1));
      uint32_t* dst = s->padded.data() + static_cast<size_t>(y) * w;
      std::copy(src, src + s->width, dst);
      if (w > s->width) dst[s->width] = src[s->width - 1];
    }
    pixels = s->padded.data();
  }
  int rc = av.av_frame_make_writable(s->frame);
  if (rc < 0) {
    s->failed = true;
    error = "cannot encode a frame: " + AvError(av, rc);
    return false;
  }
  const uint8_t* source[1] = {reinterpret_cast<const uint8_t*>(pixels)};
  const int stride[1] = {encodedWidth_ * 4};
  av.sws_scale(s->scaler, source, stride, 0, encodedHeight_, s->frame->data, s->frame->linesize);
  s->frame->pts = frames_;
  if (!s->Encode(s->frame, error)) {
    s->failed = true;
    return false;
  }
  ++frames_;
  return true;
}

bool TVideoWriter::Close(std::string& error) {
  if (!state_) return true;
  const bool finished = Finish(error);
  std::string later;
  const bool published = Publish(finished ? TKeepFile::Replace : TKeepFile::Discard, later);
  if (finished && !published) error = later;
  return finished && published;
}

bool TVideoWriter::Finish(std::string& error) {
  TState* s = state_.get();
  if (!s) return true;
  if (s->finished) return !s->failed;
  s->finished = true;
  if (s->failed) {
    error = "not completed after an earlier failure";
    return false;
  }
  s->failed = true;  // until every step below has worked
  const TAv& av = s->av;
  if (!s->Encode(nullptr, error)) return false;
  int rc = av.av_write_trailer(s->format);
  if (rc < 0) {
    error = AvError(av, rc);
    return false;
  }
  rc = av.avio_closep(&s->format->pb);
  if (rc < 0) {
    error = AvError(av, rc);
    return false;
  }
  // On the disk before it takes the name: after a power loss the name holds
  // the old film or the new one, never an empty one.
  if (::fsync(s->lockFd) != 0) {
    error = SystemErrorText(errno);
    return false;
  }
  s->failed = false;
  return true;
}

bool TVideoWriter::Publish(TKeepFile keep, std::string& error) {
  kept_ = false;
  if (!state_) return true;
  std::unique_ptr<TState> s = std::move(state_);  // ~TState removes what is not kept
  if (!s->finished) {
    error = "not completed";
    return false;
  }
  if (s->failed) {
    error = "not completed after an earlier failure";
    return false;
  }
  if (keep == TKeepFile::Discard) return true;
  // Renamed while open: its lock keeps sweeps away until it has its name.
  int reason = 0;
  if (!MoveIntoPlace(s->temp, s->path, keep == TKeepFile::Replace, reason)) {
    if (reason == EEXIST && keep == TKeepFile::WhereNone) return true;  // the older film stays
    error = SystemErrorText(reason);
    return false;
  }
  s->temp.clear();
  kept_ = true;
  return true;
}

}  // namespace ork
