#include "settings/profiles.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "platform/file_system.h"
#include "platform/text.h"

namespace twinex {
namespace {

constexpr std::string_view kExtension = ".pro4";
// Longest file name most file systems take (NAME_MAX), less the extension.
constexpr std::size_t kMaxNameBytes = 255 - kExtension.size();

struct CurrentPath {
  std::mutex lock;
  std::string path;
};

CurrentPath& Current() {
  static CurrentPath c;
  return c;
}

void Tell(Prompt& prompt, const TextRef& text, std::vector<std::string> params, PromptIcon icon) {
  prompt.Ask(PromptMessage::Make(text, std::move(params), PromptButtons::Ok, icon));
}

// Checks the name and says why it cannot be used; the folder must hold the profile unless new.
bool UsableName(std::string_view name, Prompt& prompt) {
  std::string error = ProfileNameError(name);
  if (error.empty()) return true;
  prompt.Ask(PromptMessage::Composed(error, PromptButtons::Ok, PromptIcon::Exclamation));
  return false;
}

bool ExistingProfile(const std::string& folder, std::string_view name, Prompt& prompt) {
  if (!UsableName(name, prompt)) return false;
  if (platform::ExistFile(ProfileFilePath(folder, name))) return true;
  Tell(prompt, TextRef{12017, "Das Profil '%1' ist nicht vorhanden."}, {std::string(name)}, PromptIcon::Exclamation);
  return false;
}

void Exists(Prompt& prompt, std::string_view name) {
  Tell(prompt, TextRef{12011, "Ein Profil mit dem Namen '%1' ist schon vorhanden!"}, {std::string(name)},
       PromptIcon::Exclamation);
}

bool WriteProfile(const std::string& path, std::string_view name, const MainSettings& settings, Prompt& prompt) {
  SetCurrentProfilePath(path);
  std::string error = EinstellungenSpeichern(settings, path);
  if (error.empty()) return true;
  Tell(prompt, TextRef{12018, "Beim Speichern des Profils '%1' ist ein Fehler aufgetreten: %2"},
       {std::string(name), error}, PromptIcon::Exclamation);
  return false;
}

// Moves the file to a name that must still be free; the check and the move are one step where
// the file system allows it.
int RenameNoReplace(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  if (platform::ExistFile(to) || platform::ExistFolder(to)) return EEXIST;
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace

void SetCurrentProfilePath(const std::string& path) {
  std::lock_guard guard(Current().lock);
  Current().path = path;
}

std::string CurrentProfilePath() {
  std::lock_guard guard(Current().lock);
  return Current().path;
}

std::string ProfileNameError(std::string_view name) {
  if (platform::Trim(name).empty()) return z_Translate(12015, "Bitte geben Sie einen Profilnamen ein.");
  if (!platform::IsPlainFileName(name, kMaxNameBytes))
    return z_Translate(12016,
                       "Der Name '%1' kann nicht als Profilname verwendet werden. Ein Profilname darf kein '/' "
                       "enthalten, nicht '.' oder '..' lauten und höchstens %2 Bytes lang sein.",
                       {platform::DisplayText(name), std::to_string(kMaxNameBytes)});
  return "";
}

std::string ProfileFilePath(const std::string& profileFolder, std::string_view name) {
  return profileFolder + "/" + std::string(name) + std::string(kExtension);
}

std::vector<ProfileRow> Init_ProfileList(const std::string& profileFolder) {
  std::vector<ProfileRow> rows;
  platform::ListFolder(profileFolder, [&](const platform::FileInfo& f) {
    if (f.isRegular && f.name.size() > kExtension.size() && platform::EndsWith(f.name, kExtension)) {
      std::string name = f.name.substr(0, f.name.size() - kExtension.size());
      rows.push_back({name, ProfileGetItemWide("Profile", "Comment", "", profileFolder + "/" + f.name)});
    }
    return true;
  });
  std::sort(rows.begin(), rows.end(), [](const ProfileRow& a, const ProfileRow& b) {
    std::string fa = platform::FoldCase(a.name), fb = platform::FoldCase(b.name);
    return fa != fb ? fa < fb : a.name < b.name;
  });
  return rows;
}

bool Profil_New(const std::string& profileFolder, std::string_view name, const MainSettings& settings,
                Prompt& prompt) {
  if (!UsableName(name, prompt)) return false;
  const std::string path = ProfileFilePath(profileFolder, name);
  if (platform::ExistFile(path) || platform::ExistFolder(path)) {
    Exists(prompt, name);
    return false;
  }
  return WriteProfile(path, name, settings, prompt);
}

bool Profil_Save(const std::string& profileFolder, std::string_view name, const MainSettings& settings,
                 Prompt& prompt) {
  if (!ExistingProfile(profileFolder, name, prompt)) return false;
  if (!WriteProfile(ProfileFilePath(profileFolder, name), name, settings, prompt)) return false;
  Tell(prompt, TextRef{12012, "Profil wurde gespeichert."}, {}, PromptIcon::Information);
  return true;
}

bool Profil_Load(const std::string& profileFolder, std::string_view name, MainSettings& settings) {
  if (!ProfileNameError(name).empty()) return false;
  const std::string path = ProfileFilePath(profileFolder, name);
  // Checked first: removing the source folders for a profile that is gone would lose them.
  if (!platform::ExistFile(path)) return false;
  const bool keepSources = settings.options.ProfileKeineQuellordner;
  if (!keepSources) {
    // The root stays, as drive rows stay on systems with drives.
    auto& rows = settings.sources.sources;
    for (std::size_t i = rows.size(); i-- > 0;)
      if (rows[i].path != "/") rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i));
  }
  SetCurrentProfilePath(path);
  EinstellungenLaden(settings, path, keepSources, true, false);
  return true;
}

bool Profil_Rename(const std::string& profileFolder, std::string_view oldName, std::string_view newName,
                   Prompt& prompt) {
  if (!ExistingProfile(profileFolder, oldName, prompt) || !UsableName(newName, prompt)) return false;
  if (oldName == newName) return true;
  const std::string from = ProfileFilePath(profileFolder, oldName), to = ProfileFilePath(profileFolder, newName);
  int err = RenameNoReplace(from, to);
  if (err == EEXIST) {
    Exists(prompt, newName);
    return false;
  }
  if (err != 0) {
    Tell(prompt, TextRef{12019, "Das Profil '%1' konnte nicht umbenannt werden: %2"},
         {std::string(oldName), std::strerror(err)}, PromptIcon::Exclamation);
    return false;
  }
  if (CurrentProfilePath() == from) SetCurrentProfilePath(to);
  return true;
}

bool Profil_Delete(const std::string& profileFolder, std::string_view name, Prompt& prompt) {
  if (!ExistingProfile(profileFolder, name, prompt)) return false;
  if (prompt.Ask(PromptMessage::Make(TextRef{12014, "Profil '%1' löschen?"}, {std::string(name)},
                                     PromptButtons::OkCancel, PromptIcon::Question)) != PromptAnswer::Ok)
    return false;
  const std::string path = ProfileFilePath(profileFolder, name);
  if (::unlink(path.c_str()) != 0) {
    Tell(prompt, TextRef{12020, "Das Profil '%1' konnte nicht gelöscht werden: %2"},
         {std::string(name), std::strerror(errno)}, PromptIcon::Exclamation);
    return false;
  }
  if (CurrentProfilePath() == path) SetCurrentProfilePath(SettingsFilePath());
  return true;
}

bool Profil_Save_Comment(const std::string& profileFolder, std::string_view name, std::string_view comment,
                         Prompt& prompt) {
  if (!ExistingProfile(profileFolder, name, prompt)) return false;
  std::string error = ProfilePutItemWide("Profile", "Comment", comment, ProfileFilePath(profileFolder, name), true);
  if (error.empty()) return true;
  Tell(prompt, TextRef{12018, "Beim Speichern des Profils '%1' ist ein Fehler aufgetreten: %2"},
       {std::string(name), error}, PromptIcon::Exclamation);
  return false;
}

}  // namespace twinex
