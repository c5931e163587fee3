#pragma once
// Profiles: named copies of the main window's settings, one ".pro4" file each in the profile
// folder, with a comment in section "Profile". The windows call these with the name the user
// chose; every message goes through the prompt.
#include <string>
#include <string_view>
#include <vector>

#include "settings/prompt.h"
#include "settings/settings_file.h"

namespace twinex {

inline constexpr TextRef kProfileNamePrompt{12010, "Profilname:"};
inline constexpr TextRef kProfileRenamePrompt{12013, "Geben Sie bitte den neuen Namen ein:"};

struct ProfileRow {
  std::string name;
  std::string comment;
  bool operator==(const ProfileRow&) const = default;
};

// The settings file at start, afterwards the profile last created, saved or loaded.
void SetCurrentProfilePath(const std::string& path);
std::string CurrentProfilePath();

// "" when the name can be a profile's file name; otherwise the message that says why not.
std::string ProfileNameError(std::string_view name);
std::string ProfileFilePath(const std::string& profileFolder, std::string_view name);

// Init_ProfileList: one row per "*.pro4" file of the folder, sorted by name.
std::vector<ProfileRow> Init_ProfileList(const std::string& profileFolder);

// Profil_New: refuses an existing name ("Ein Profil mit dem Namen '%1' ist schon vorhanden!"),
// otherwise writes the settings as the new profile. True when it was written.
bool Profil_New(const std::string& profileFolder, std::string_view name, const MainSettings& settings, Prompt& prompt);
// Profil_Save: writes the settings into the existing profile and says so.
bool Profil_Save(const std::string& profileFolder, std::string_view name, const MainSettings& settings,
                 Prompt& prompt);
// Profil_Load: reads the profile into the settings. Unless ProfileKeineQuellordner is set, the
// current source folders (except the root) give way to the profile's. A missing profile
// changes nothing (false).
bool Profil_Load(const std::string& profileFolder, std::string_view name, MainSettings& settings);
// Profil_Rename: never replaces another profile.
bool Profil_Rename(const std::string& profileFolder, std::string_view oldName, std::string_view newName,
                   Prompt& prompt);
// Profil_Delete: asks "Profil '%1' löschen?" first.
bool Profil_Delete(const std::string& profileFolder, std::string_view name, Prompt& prompt);
// Profil_Save_Comment: stores the comment shown next to the name.
bool Profil_Save_Comment(const std::string& profileFolder, std::string_view name, std::string_view comment,
                         Prompt& prompt);

}  // namespace twinex
