#include "film/film_command.h"

#include <memory>
#include <string_view>

#include "film/animate_prepare.h"
#include "model/ini_store.h"
#include "model/number_format.h"
#include "model/paths.h"
#include "model/process_state.h"
#include "picture/grid_state.h"

namespace ork {

namespace {

const std::string* Value(const TINI& settings, std::string_view section, std::string_view key) {
  const TINIGroup* group = settings.Find(section);
  const TINIVar* var = group ? group->Find(key) : nullptr;
  return var ? &var->Value : nullptr;
}

std::string Text(const TINI& settings, std::string_view section, std::string_view key) {
  const std::string* v = Value(settings, section, key);
  return v ? *v : std::string();
}

bool Ticked(const TINI& settings, std::string_view section, std::string_view key) {
  const std::string* v = Value(settings, section, key);
  return v && TextToInt(*v) != 0;
}

void Put(TINI& settings, const std::string& section, const std::string& key,
         const std::string& value) {
  TINIGroup* group = settings.Find(section);
  if (!group) group = settings.Add(section);
  if (TINIVar* var = group->Find(key)) var->Value = value;
  else group->Add(key, value);
}

TFilmDialogValues::TKind ReadKind(const TINI& settings, std::string_view section) {
  TFilmDialogValues::TKind k;
  k.Fps = Text(settings, section, "FPS");
  k.Jpg = Ticked(settings, section, "JPG");
  k.Png = Ticked(settings, section, "PNG");
  k.Bmp = Ticked(settings, section, "BMP");
  k.Avi = Ticked(settings, section, "AVI");
  k.Mp4 = Ticked(settings, section, "MP4");
  return k;
}

void StoreKind(const TFilmDialogValues::TKind& k, TINI& settings, const std::string& section) {
  auto flag = [](bool b) { return std::string(b ? "1" : "0"); };
  Put(settings, section, "FPS", k.Fps);
  Put(settings, section, "JPG", flag(k.Jpg));
  Put(settings, section, "PNG", flag(k.Png));
  Put(settings, section, "BMP", flag(k.Bmp));
  Put(settings, section, "AVI", flag(k.Avi));
  if (k.Mp4 || Value(settings, section, "MP4")) Put(settings, section, "MP4", flag(k.Mp4));
}

}  // namespace

TFilmDialogValues ReadFilmDialogValues(const TINI& settings) {
  TFilmDialogValues v;
  v.Preview = Ticked(settings, "AnimMode", "Preview");
  v.Normal = ReadKind(settings, "Anim");
  v.PreviewKind = ReadKind(settings, "AnimPreview");
  v.Width = Text(settings, "AnimPreview", "Width");
  return v;
}

void StoreFilmDialogValues(const TFilmDialogValues& values, TINI& settings) {
  Put(settings, "AnimMode", "Preview", values.Preview ? "1" : "0");
  StoreKind(values.Normal, settings, "Anim");
  StoreKind(values.PreviewKind, settings, "AnimPreview");
  Put(settings, "AnimPreview", "Width", values.Width);
}

bool TFilmSettingsPreset::Run(TINI& settings) {
  TFilmDialogValues v = ReadFilmDialogValues(settings);
  v.Preview = preview_;
  StoreFilmDialogValues(v, settings);
  return true;
}

TPreparedFilms PrepareFilms(const TFilmRequest& request, THost& host,
                            TFilmSettingsDialog& dialog) {
  using TEnd = TFilmCommandResult::TEnd;
  TPreparedFilms films;
  const bool twoMovies = IsTwoMovieComposition(FilmCompositionMode(Composition().CompositionMode));
  if (!request.Movie1 || !request.Settings || (twoMovies && !request.Movie2)) {
    host.Diagnostic("Film: no movie to produce");
    return films;
  }
  GridState().GridAutoMode = 0;
  if (!dialog.Run(*request.Settings)) {
    films.End = TEnd::DialogCancelled;
    return films;
  }
  films.End = TEnd::PreparationAbandoned;
  auto prepare = [&](int no, TParameterAnim& movie) {
    bool saved = false;
    auto film = AnimatePrepare(no, movie, *request.Settings, host, request.SaveFilmMovie, &saved);
    if (saved) films.SavedMovies.push_back(NativePath(film->Path + film->File));
    return film;
  };
  films.Film1 = prepare(1, *request.Movie1);
  if (films.Film1->Count == 1) return films;
  if (twoMovies) {
    films.Film2 = prepare(2, *request.Movie2);
    if (films.Film2->Count == 1) return films;
  }
  films.End = TEnd::Produced;
  return films;
}

TFilmCommandResult RunFilmCommand(const TFilmRequest& request, THost& host,
                                  TFilmSettingsDialog& dialog, TFilmView& view) {
  using TEnd = TFilmCommandResult::TEnd;
  TFilmCommandResult result;
  TPreparedFilms films = PrepareFilms(request, host, dialog);
  result.End = films.End;
  if (films.Film1) result.Frames1 = films.Film1->Count;
  if (films.Film2) result.Frames2 = films.Film2->Count;
  result.SavedMovies = films.SavedMovies;
  if (films.End != TEnd::Produced) return result;
  if (!films.Film2) result.Frames2 = result.Frames1;
  TParameterAnim& film1 = *films.Film1;
  film1.Actual = request.Frames.First;
  result.Run = AnimateRun(film1, films.Film2 ? *films.Film2 : film1, *request.Settings, host,
                          view, request.AviFileLimit, request.VideoFiles, request.Frames.Last);
  GridState().GridAutoMode = 0;
  return result;
}

}  // namespace ork
