// Feeds arbitrary bytes to the movie loader and everything that parses the
// loaded texts, then checks that the written file loads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/host.h"
#include "model/ini_store.h"
#include "model/list_syntax.h"
#include "model/movie.h"
#include "model/number_format.h"
#include "fuzz/fuzz_support.h"

using ork::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes = ork::fuzz::Bytes(data, size);
  ork::fuzz::TFuzzHost host(size ? data[0] : 0);
  auto ini = ork::TINI::FromBytes("INI\\", "f.ini", bytes);
  auto movie = ork::TParameterAnim::FromIni(*ini, "INI\\", "f.ini", host);

  Check(movie->Count >= 0 && movie->Count <= ork::kMaxKeyframes &&
        movie->Parameter.size() == static_cast<size_t>(movie->Count) + 1);
  Check(movie->Count == 0 ? movie->Actual == 0 : movie->Actual >= 1 && movie->Actual <= movie->Count);
  Check(movie->OutputWidth >= 8 && movie->OutputHeight >= 8);

  ork::ParseInterpolationList(*movie, host);
  ork::ParseTextOutputList(*movie);
  if (ork::TParameter* p = movie->GetActualParameter()) {
    ork::NormalizeLineList(p->Grid, p->CLinesThick, p->CGrid);
    ork::ParsePosition(p->FileNameKey, 0, movie->OutputWidth - 1);
    ork::FormatNumber(p->bry, p->ianzmax);
    ork::FormatNumber(p->vsx, p->zyctest);
    ork::TruncateDecimals(p->CCx, p->GameNo);
    ork::TParameter copy = p->Copy();
    ork::RotateColorLists(copy);
    ork::SelectColorVariant(copy, copy.GameNo & 3);
    ork::RebuildColorLists(copy);
    ork::InterpolationCheckBox(p->InterpolationList, "HeightY", '+', true, true);
    ork::TextOutputListRemove(p->TextOutputList, "HeightY");
  }

  // What Save would write is stable under reading and writing again.
  // A movie written and read again keeps its keyframes; from the second
  // generation on the file is stable byte for byte.
  std::string image1 = movie->ToIni(host)->ToBytes();
  auto movie2 = ork::TParameterAnim::FromIni(*ork::TINI::FromBytes("INI\\", "f.ini", image1),
                                             "INI\\", "f.ini", host);
  if (movie->Count > 0) Check(movie2->Count == movie->Count && movie2->Actual == movie->Actual);
  std::string image2 = movie2->ToIni(host)->ToBytes();
  auto movie3 = ork::TParameterAnim::FromIni(*ork::TINI::FromBytes("INI\\", "f.ini", image2),
                                             "INI\\", "f.ini", host);
  Check(movie3->ToIni(host)->ToBytes() == image2);
  return 0;
}
