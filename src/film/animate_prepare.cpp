#include "film/animate_prepare.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cmath>

#include "film/deep_interpolation.h"
#include "film/film_settings.h"
#include "film/interpolation.h"
#include "film/texts.h"
#include "model/file_io.h"
#include "model/ini_store.h"
#include "model/list_syntax.h"
#include "model/number_format.h"

namespace ork {

namespace {

using namespace film_texts;

std::string Num(int v) { return std::to_string(v); }

// A frame count from a real: its integer part, but never beyond what the
// frame limit can use (so huge or infinite times cannot wrap around).
int FrameCount(double v) {
  if (std::isnan(v)) return INT_MIN;
  if (v > kMaxFilmFrames + 3.0) return kMaxFilmFrames + 3;
  return RealToInt(v);
}

// The film under construction with its counters.
class TFilmBuilder {
 public:
  TFilmBuilder(TParameterAnim& film, const std::string& name, int fps, THost& host)
      : film_(film), name_(name), fps_(fps), host_(host) {}

  // Counts a new frame, names it and appends a copy of key. False (after a
  // message, the film abandoned) when the film would exceed the limit.
  bool Append(TParameter& key) {
    if (counter_.T >= kMaxFilmFrames) {
      host_.Information(Tr(kTooMany1) + Num(kMaxFilmFrames) + Tr(kTooMany2));
      Abandon();
      return false;
    }
    counter_.Advance(fps_);
    key.FileNameKey = FrameName(name_, counter_.C, counter_.B);
    key.OutputWidth = film_.OutputWidth;
    key.OutputHeight = film_.OutputHeight;
    film_.AddParameter(key);
    return true;
  }

  // Checks ahead that `frames` more frames stay within the limit, so an
  // absurd time or factor is refused before any memory is spent on it.
  bool Reserve(int64_t frames) {
    if (counter_.T + frames <= kMaxFilmFrames) return true;
    host_.Information(Tr(kTooMany1) + Num(kMaxFilmFrames) + Tr(kTooMany2));
    Abandon();
    return false;
  }

  // Count 1 marks an abandoned preparation; keep exactly one record so
  // that Parameter[Count] exists.
  void Abandon() {
    film_.Count = 1;
    film_.Parameter.resize(2);
    film_.Actual = 1;
    abandoned_ = true;
  }

  bool Abandoned() const { return abandoned_; }
  int Frames() const { return counter_.T; }

 private:
  TParameterAnim& film_;
  std::string name_;
  int fps_;
  THost& host_;
  TFrameCounter counter_;
  bool abandoned_ = false;
};

// The chain of FramesForFactor over the sixteen parameters with one kind
// of mark, starting from 0.
double FramesChain(const TParameter& e, const TParameter& f,
                   const std::array<int, TParameter::kParamIndices>& marks, THost& host) {
  double h = 0;
  const bool deep = LongInterval(e, f);
  for (int index : kInterpolatedParameters) {
    if (deep && IsLongParameter(index))
      h = LongFramesForFactor(e.FactorPerPict, h, marks[index], e, f, index, host);
    else
      h = FramesForFactor(e.FactorPerPict, h, marks[index], ParameterValue(e, index),
                          ParameterValue(f, index), host);
  }
  return h;
}

std::string FactorLine(const char* when, double h, const TFactorTable& table) {
  return std::string("Animation 595 ") + when + " NewArray NewBilder=" + RealText17(h) +
         " FPP[14]=" + RealText17(table[14]) + " FPP[4]=" + RealText17(table[4]);
}

}  // namespace

void TFrameCounter::Advance(int fps) {
  ++T;
  ++B;
  if (B > fps) {
    B -= fps;
    ++C;
  }
}

std::string PadZeros(int value, int digits) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < digits) text.insert(0, digits - text.size(), '0');
  return text;
}

std::string FrameName(const std::string& name, int C, int B) {
  return name + "-Anim-S" + PadZeros(C, 5) + "-F" + PadZeros(B, 2);
}

std::unique_ptr<TParameterAnim> AnimatePrepare(int movieNo, TParameterAnim& source,
                                               const TINI& settings, THost& host, bool save,
                                               bool* saved) {
  if (saved) *saved = false;
  host.Diagnostic("Animate Prepare");
  const TFilmSettings s = ReadFilmSettings(settings);
  const int F = s.Fps;

  const std::string name = source.FileName + (s.Preview ? "-Preview" : "");
  std::unique_ptr<TParameterAnim> film =
      TParameterAnim::Create("Output\\", name + "-Animation.ini", host);
  film->FileName = name;
  film->Run = "OK";
  film->User = source.User;
  film->OutputWidth = source.OutputWidth;
  film->OutputHeight = source.OutputHeight;
  film->Scale = 1.0;
  if (s.Preview) {
    double scale = static_cast<double>(std::max(source.OutputWidth, source.OutputHeight)) /
                   s.PreviewWidth;
    if (scale < 1) scale = 1;
    film->OutputWidth = RealToInt(source.OutputWidth / scale);
    film->OutputHeight = RealToInt(source.OutputHeight / scale);
    film->Scale = scale;
  }

  const int before = source.Actual;
  int start = std::max(before, 1);
  if (start != 1) {
    const bool ok = host.Question(Tr(kStartKey1) + Num(movieNo) + Tr(kStartKey2) + Num(start) +
                                  Tr(kStartKey3));
    if (!ok) start = 1;
  }

  TFilmBuilder builder(*film, name, F, host);
  TFactorTable table{};
  bool filterUsed = false;
  double h = 0;  // carries over from key to key (read by the "*"-only check)

  const int keys = std::min(source.Count, static_cast<int>(source.Parameter.size()) - 1);
  for (int k = start; k < keys && !builder.Abandoned(); ++k) {
    // The key's marks, colour variant 0, and what is remembered of it.
    source.Actual = k;
    ParseInterpolationList(source, host);
    const int mode = PlusMalMode();
    TParameter& e = source.Parameter[k];
    SelectColorVariant(e, 0);
    if (!e.Filter.empty()) filterUsed = true;
    TParameter previous = e.Copy();
    const int computeFlag = e.DoCalculate;

    // Still frames before the interval: only the first is computed. They
    // are built on a copy, so the key's own DoCalculate stays.
    if (e.FixedImageSeconds > 0.001) {
      TParameter still = e.Copy();
      const int n = FrameCount(e.FixedImageSeconds * F);
      if (!builder.Reserve(n)) break;
      for (int i = 0; i < n; ++i) {
        still.DoCalculate = i == 0 ? 1 : 0;
        if (!builder.Append(still)) break;
      }
      if (builder.Abandoned()) break;
    }

    TParameter g = e.Copy();
    TParameter f = source.Parameter[k + 1].Copy();
    SelectColorVariant(f, 0);

    if (e.GameNo != f.GameNo) {
      host.Information("KEY" + Num(e.KeyNr) + ": NoOfFormula=" + Num(e.GameNo) + ", KEY" +
                       Num(f.KeyNr) + ": NoOfFormula=" + Num(f.GameNo) + Tr(kFormula));
      builder.Abandon();
      break;
    }

    if (e.FactorPerPict < 0.001 && e.Seconds < 0.001 && e.FixedImageSeconds < 0.001) {
      if (!host.Question(Tr(kZeroBoth))) {
        builder.Abandon();
        break;
      }
      e.FactorPerPict = 1.01;
    }

    // The interval's length from its factor when no time is given.
    if (e.FactorPerPict > 0.001 && e.Seconds < 0.0001) {
      h = 0;
      double sStar = 0;
      if (mode > 1) {
        h = FramesChain(e, f, e.InterpM, host);
        sStar = h / F;
        e.Seconds = sStar;
      }
      if (h < 2 && mode != 2) {
        h = FramesChain(e, f, e.InterpP, host);
        e.Seconds = h / F;
        if (e.Seconds > sStar)
          e.FactorPerPict = 0;
        else
          e.Seconds = sStar;
        if (h < 3 && std::fabs(e.FixedImageSeconds) < 0.001) {
          host.Information(Tr(kFewFrames1) + RealText17(h) + Tr(kFewFrames2) + Num(k) +
                           Tr(kFewTick));
          builder.Abandon();
          break;
        }
        host.Information("KEY" + Num(e.KeyNr) + Tr(kSet) + RealText17(e.Seconds) + Tr(kSetEnd));
      }
    }

    if (mode == 2 && e.FactorPerPict > 0.001 && h < 2) {
      host.Information(Tr(kFewFrames1) + RealText17(h) + Tr(kFewFrames2) + Num(k) +
                       Tr(kFewFactor));
      h = 1;
      e.Seconds = 1.0 / F;
    }

    // Per-frame factors of the "*" parameters.
    table.fill(0);
    host.Diagnostic("Animation 595 PlusMal=" + Num(mode));
    if (mode > 1) {
      h = e.Seconds * F;
      host.Diagnostic(FactorLine("vor", h, table));
      for (int index : kInterpolatedParameters)
        ComputeFactor(table, h, e.InterpM, ParameterValue(e, index), ParameterValue(f, index),
                      index, host);
      host.Diagnostic(FactorLine("nach", h, table));
    }
    double best = 0;
    for (size_t i = 1; i <= 21; ++i)
      if (table[i] > table[i - 1]) best = table[i];
    if (e.Seconds > 0.1 && mode > 1) e.FactorPerPict = best;

    // The interval's frames; the end key's values appear again as the
    // first frame of the next interval.
    int n = FrameCount(e.Seconds * F + 0.5);
    if (n < 2 && e.FixedImageSeconds == 0) n = 2;
    const int holds = e.FixedImageSeconds < -0.001 ? FrameCount(-e.FixedImageSeconds * F) : 0;
    if (n > 1 && !builder.Reserve(static_cast<int64_t>(n - 1) * (1 + holds))) break;
    // Deep keys: the coordinates in high precision, frames below the double
    // limit computed deep.
    const bool deep = LongInterval(e, f);
    const double steps = mode > 1 ? e.Seconds * F : 0;
    for (int j = 0; j <= n - 2; ++j) {
      bool same = true;
      const double x = n == 2 ? 0.0 : static_cast<double>(j) / (n - 2);
      InterpolateFrame(x, e, f, g, previous, table, same);
      if (deep) {
        InterpolateLongFrame(x, j + 1, steps, e, f, g, previous, same);
        g.Deep = FrameDeep(e, f, g, film->OutputWidth, film->OutputHeight);
      }
      RebuildColorLists(g);
      g.DoCalculate = same ? 0 : 1;
      if (computeFlag == 0) g.DoCalculate = 0;
      if (j == 0) g.DoCalculate = 1;
      previous = g.Copy();
      g.FixedImageSeconds = 0;
      if (!builder.Append(g)) break;
      for (int i = 0; i < holds; ++i) {
        g.DoCalculate = 0;
        if (!builder.Append(g)) break;
      }
      if (builder.Abandoned()) break;
    }
  }

  source.Actual = before;

  if (!builder.Abandoned() && filterUsed && !host.Question(Tr(kFilter))) builder.Abandon();

  film->Actual = 1;
  if (!builder.Abandoned() && film->Count != builder.Frames()) {
    host.Information(Tr(kCountError));
    builder.Abandon();
  }

  if (save && !builder.Abandoned() && film->Count > 1) {
    const bool ok = film->Save("", "", host) != 0;
    if (!ok) host.Information(Tr(kSaveFailed) + "\n" + film->Path + film->File + LastSaveReason());
    if (saved) *saved = ok;
  }
  return film;
}

}  // namespace ork
