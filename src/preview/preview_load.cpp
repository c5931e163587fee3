#include "preview/preview_load.h"

#include "platform/ini_file.h"
#include "platform/number_format.h"
#include "platform/text_file.h"
#include "preview/html_text.h"
#include "preview/media_report.h"
#include "preview/picture_fit.h"
#include "settings/translate.h"

namespace twinex::preview {
namespace {

LoadedPreview Message(LoadedPreview out, std::string text) {
  out.as = ShowAs::Message;
  out.text = std::move(text);
  return out;
}

std::string CannotShow(const ResultFile& row, const std::string& error) {
  return z_Translate(22506, "Die Datei '%1' kann nicht angezeigt werden!%!%!", {row.dupname}) + error;
}

bool IsHtmlExtension(const std::string& ext) { return ext == "htm" || ext == "html" || ext == "xhtml"; }

LoadedPreview LoadPicture(LoadedPreview out, const ResultFile& row, int maxSide) {
  const similar::DecodeOutcome size = similar::ReadPictureSize(out.path);
  if (!size.ok) return Message(std::move(out), CannotShow(row, size.error));
  out.pictureSize = size.source;
  const FitSize fit = FitInto(size.source.width, size.source.height, maxSide, maxSide);
  similar::DecodeRequest request;
  request.width = fit.width;
  request.height = fit.height;
  const similar::DecodeOutcome decoded = similar::DecodePicture(out.path, request, out.picture);
  if (!decoded.ok) return Message(std::move(out), CannotShow(row, decoded.error));
  out.as = ShowAs::Picture;
  out.status = row.dupname + " - " + DimensionsText(size.source.width, size.source.height);
  return out;
}

LoadedPreview LoadText(LoadedPreview out, const ResultFile& row, const PreviewPlan& plan) {
  std::string bytes, error;
  if (!platform::ReadWholeFile(out.path, bytes, &error)) return Message(std::move(out), CannotShow(row, error));
  if (plan.richText) {
    out.as = ShowAs::Html;
    out.text = RtfToHtml(bytes);
  } else if (plan.viewer == Viewer::Browser && IsHtmlExtension(plan.lowerExtension)) {
    out.as = ShowAs::Html;
    out.text = platform::DecodeTextFile(bytes);
  } else {
    out.as = ShowAs::PlainText;
    out.text = platform::DecodeTextFile(bytes);
  }
  out.header = TextHeader(FactsOf(row));
  return out;
}

}  // namespace

std::string LoadingText(const ResultFile& row) { return z_Translate(22505, "Lade '%1'...", {row.dupname}); }

std::string DimensionsText(int width, int height) {
  if (width <= 0 || height <= 0) return "";
  return std::to_string(width) + " x " + std::to_string(height);
}

LoadedPreview LoadFilePreview(const ResultFile& row, const PreviewPlan& plan, PreviewCopies& copies, RunControl& run,
                              const PageColours& colours, int maxSide) {
  LoadedPreview out;
  out.viewer = plan.viewer;
  out.status = row.dupname;
  if (!plan.refusal.empty()) return Message(std::move(out), plan.refusal);
  const PreviewSource source = copies.SourceOf(row, run);
  if (!source.ok) return Message(std::move(out), source.message);
  out.path = source.path;
  switch (plan.viewer) {
    case Viewer::Text:
      return LoadText(std::move(out), row, plan);
    case Viewer::Browser:
      if (plan.pictureOnPage) {
        const similar::DecodeOutcome size = similar::ReadPictureSize(out.path);
        if (!size.ok) return Message(std::move(out), CannotShow(row, size.error));
        out.as = ShowAs::PicturePage;
        out.pictureSize = size.source;
        return out;
      }
      return LoadText(std::move(out), row, plan);
    case Viewer::Picture:
      return LoadPicture(std::move(out), row, maxSide);
    case Viewer::MediaPlayer:
    case Viewer::Vlc:
      out.as = ShowAs::Media;
      return out;
    case Viewer::Exif:
    case Viewer::MediaInfo:
      out.as = ShowAs::Html;
      out.text = PropertiesPage(FactsOf(row), ReadMediaReport(out.path), colours);
      return out;
    case Viewer::Unknown:
      break;
  }
  out.as = ShowAs::Html;
  out.text = UnknownFormatPage(FactsOf(row), "", colours);
  out.status = UnknownFormatStatus(FactsOf(row));
  return out;
}

std::string GroupHeader(const std::string& caption, std::size_t files) {
  return z_Translate(22525, "Gruppe '%1'", {caption}) + "    " +
         z_Translate(22526, "Dateien: %1", {platform::FormatCount(static_cast<std::uint64_t>(files))});
}

std::vector<ThumbnailRow> ThumbnailRows(const ResultGroup& group, const PreviewKeys& keys) {
  std::vector<ThumbnailRow> rows;
  rows.reserve(group.files.size());
  for (const ResultFile& f : group.files) {
    ThumbnailRow r;
    r.file = f.dupname;
    r.match = f.similar > 0 ? std::to_string(f.similar) + "%" : "";
    r.dimensions = DimensionsText(f.picW, f.picH);
    r.size = f.size > 0 ? platform::FormatCount(f.size) : "";
    r.folder = f.path;
    r.properties = AttributeLetters(f.attr);
    const std::string ext = LowerExtension(f.dupname);
    r.picture = !ext.empty() && keys.pictures.find("/" + ext + "/") != std::string::npos;
    rows.push_back(std::move(r));
  }
  return rows;
}

std::string ThumbnailProgressText(std::size_t done, std::size_t total) {
  const std::size_t percent = total == 0 ? 100 : done * 100 / total;
  return z_Translate(22527, "Erstelle Vorschau der Bilder...") + " " + std::to_string(percent) + "%";
}

}  // namespace twinex::preview
