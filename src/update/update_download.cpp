#include "update/update_download.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/digest.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/text.h"
#include "platform/unique_fd.h"

namespace twinex::update {
namespace {

constexpr int kSha256Method = 3;

std::string Under(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

FetchResult Fetch(const DownloadRequest& r, FetchRequest request) {
  request.proxy = r.proxy;
  request.control = r.control;
  request.userAgent = "Twinex/" + InstalledVersion().Text();
  return r.fetch ? r.fetch(request) : DownloadFileToDiskOrString(request);
}

DownloadOutcome Failed(std::string file, std::string error) {
  DownloadOutcome out;
  out.file = std::move(file);
  out.error = std::move(error);
  return out;
}

}  // namespace

std::string PackageFileName(const Version& version, bool portable) {
  return std::string("Twinex") + (portable ? "_Portable_" : "_Update_") + version.Text() +
         (portable ? ".tar.gz" : ".deb");
}

std::string DownloadOutcome::Message() const {
  switch (result) {
    case DownloadResult::Done:
      return z_Translate(23007, "Download beendet: %1", {file});
    case DownloadResult::Exists:
      return z_Translate(23005, "Die Downloaddatei '%1' ist schon vorhanden!", {file});
    case DownloadResult::Cancelled:
      return z_Translate(23009, "Download vom Anwender abgebrochen.");
    case DownloadResult::ChecksumMismatch:
      return z_Translate(23015,
                         "Die Prüfsumme der Downloaddatei '%1' stimmt nicht mit der veröffentlichten Prüfsumme "
                         "überein. Die Datei wurde gelöscht.",
                         {file});
    case DownloadResult::Failed:
      break;
  }
  if (error.empty()) return z_Translate(23011, "Ein unbekannter Fehler ist aufgetreten.");
  return "ERROR: " + error + "\n" + z_Translate(23010, "Der Download konnte nicht durchgeführt werden.");
}

DownloadOutcome DownloadUpdate(const DownloadRequest& r) {
  const std::string name = PackageFileName(r.version, r.portable);
  const std::string target = Under(r.folder, name);
  if (platform::ExistFile(target) || platform::ExistFolder(target)) {
    DownloadOutcome out;
    out.result = DownloadResult::Exists;
    out.file = target;
    return out;
  }
  const std::string address = Under(r.serverFolder, name);

  // The checksum first: without one there is nothing to verify the package against.
  FetchRequest sumRequest;
  sumRequest.url = address + ".sha256";
  sumRequest.maxTextBytes = 4096;
  FetchResult sum = Fetch(r, sumRequest);
  if (sum.cancelled) return DownloadOutcome{DownloadResult::Cancelled, target, ""};
  if (!sum.error.empty()) return Failed(target, sum.error);
  const std::string expected = PublishedSha256(sum.text);
  if (expected.empty())
    return Failed(target, z_Translate(23016, "Die Prüfsumme der Downloaddatei ist ungültig: %1", {sumRequest.url}));

  // A partial file of an earlier run of ours is replaced.
  const std::string part = target + ".part";
  ::unlink(part.c_str());
  FetchRequest packageRequest;
  packageRequest.url = address;
  packageRequest.targetFile = part;
  packageRequest.progress = r.progress;
  FetchResult got = Fetch(r, packageRequest);
  if (got.cancelled) return DownloadOutcome{DownloadResult::Cancelled, target, ""};
  if (!got.error.empty()) return Failed(target, got.error);
  if (got.received == 0) {
    ::unlink(part.c_str());
    return Failed(target, "Filesize Zero");
  }
  if (FileSha256(part) != expected) {
    ::unlink(part.c_str());
    return DownloadOutcome{DownloadResult::ChecksumMismatch, target, ""};
  }
  // link() refuses to replace a file that appeared meanwhile, which rename() would overwrite.
  if (::link(part.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(part.c_str());
    if (error == EEXIST) return DownloadOutcome{DownloadResult::Exists, target, ""};
    return Failed(target, std::string(std::strerror(error)) + " (CreateFile)");
  }
  ::unlink(part.c_str());
  return DownloadOutcome{DownloadResult::Done, target, ""};
}

std::string FileSha256(const std::string& path) {
  platform::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return "";
  platform::Digest digest;
  if (!digest.Begin(kSha256Method).empty()) return "";
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return "";
    if (n == 0) break;
    if (!digest.Add(buffer, static_cast<std::size_t>(n)).empty()) return "";
  }
  return digest.FinishHex();
}

std::string PublishedSha256(const std::string& text) {
  const std::string trimmed = platform::Trim(text);
  std::string word = trimmed.substr(0, trimmed.find_first_of(" \t\r\n"));
  if (word.size() != 64) return "";
  for (char& c : word) {
    if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return "";
  }
  return word;
}

std::string OpenPackage(const std::string& file) {
  const std::string reason = platform::RunProgram({"xdg-open", file});
  return reason.empty() ? "" : "xdg-open: " + reason;
}

}  // namespace twinex::update
