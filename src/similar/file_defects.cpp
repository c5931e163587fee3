#include "similar/file_defects.h"

#include "platform/file_system.h"
#include "platform/text.h"
#include "results/result_tree.h"
#include "settings/search_settings.h"
#include "settings/translate.h"
#include "similar/media_info.h"
#include "similar/picture_decode.h"

namespace twinex::similar {
namespace {

// A member of an archive is read from its temporary copy; without one it cannot be checked.
std::string ReadablePath(const ResultFile& row) { return row.archiv != 0 ? row.Extras().tmppath : row.FullPath(); }

std::string LowerExtension(const ResultFile& row) {
  return platform::LowerCase(platform::xGetExtension(row.archiv != 0 ? row.PathA() : row.dupname));
}

bool IsPictureExtension(const std::string& ext) {
  static const std::vector<PictureExtension> all = SearchSettings::DefaultPictureExtensions();
  for (const PictureExtension& e : all)
    if (platform::LowerCase(e.ext) == ext) return true;
  return false;
}

}  // namespace

std::string PictureDefect(const ResultFile& row) {
  const std::string path = ReadablePath(row);
  if (path.empty() || !IsPictureExtension(LowerExtension(row))) return "";
  Bitmap bitmap;
  const DecodeOutcome o = DecodePicture(path, DecodeRequest{}, bitmap);
  return o.ok ? "" : o.error;
}

std::string AudioDefect(const ResultFile& row) {
  const std::string path = ReadablePath(row);
  const std::string ext = LowerExtension(row);
  if (path.empty() || !(IsMusicExtension(ext) || IsTrackLengthExtension(ext))) return "";
  const AudioProperties p = GetMP3MediaInfo(path);
  if (!p.opened)
    return z_Translate(17142, "Beim Öffnen der Audiodatei ist ein Fehler aufgetreten: %1",
                       {platform::ExistFile(path) ? z_Translate(11509, "Unbekannter Fehler") : path});
  if (p.seconds <= 0) return z_Translate(17143, "Die Dauer ist fehlerhaft. (%1)", {std::to_string(p.seconds)});
  if (p.bitRate <= 0) return z_Translate(17144, "Die Bitrate ist fehlerhaft. (%1)", {std::to_string(p.bitRate)});
  if (p.samplingRate <= 0)
    return z_Translate(17145, "Die Samplingrate ist fehlerhaft. (%1)", {std::to_string(p.samplingRate)});
  return "";
}

}  // namespace twinex::similar
