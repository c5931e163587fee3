#pragma once
// Names the file manager makes: the rename template, the dated subfolder of the backup folder,
// the target folder of a copy or move, and the numbered name an existing target moves aside to.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "results/result_tree.h"

namespace twinex {

// What the rename placeholders of one file stand for.
struct RenameContext {
  std::string name;          // %NAME%: without extension
  std::string ext;           // without the dot; %EXT% adds it
  std::string folder;        // %FOLDER%
  std::string groupCaption;  // %GNAME%
  std::string firstName;     // %FNAME%
  std::string lastName;      // %LNAME%
  std::string createdText;   // %CDATE%
  std::string modifiedText;  // %MDATE%
  std::string pictureDate;   // %PDATE%
  double now = 0;            // %YYYY% … %SS%
};

// Name without extension and extension (after the last "."; empty when there is none).
void SplitFileName(std::string_view fileName, std::string& stem, std::string& ext);

RenameContext MakeRenameContext(const ResultTree& tree, const ResultGroup& group, const ResultFile& file, double now);
// Replaces the placeholders (without regard to case); other text stays as it is.
std::string ExpandRenameTemplate(std::string_view pattern, const RenameContext& context);
// A name that stays in its folder: not empty, not "." or "..", no "/" and no NUL.
bool IsPlainFileName(std::string_view name);

// The subfolder below the backup folder: "%VAR%" pairs naming a set environment variable take
// its value, then the text is read as a date format ("…" literal, "\" makes the next character
// literal). A backslash left in the result separates folders, as on the system the template
// comes from. Parts that would climb out of the backup folder ("..", empty) are dropped.
using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;
std::string SubfolderName(std::string_view pattern, double now, const EnvironmentLookup& environment);
// The environment lookup of SubfolderName: USERNAME (the Windows name of the account variable)
// falls back to USER and then to the account's name.
std::optional<std::string> TemplateEnvironment(const std::string& name);

// The folder a file goes to: the root itself, or with keepStructure the root followed by the
// file's folder.
std::string TargetFolderFor(const std::string& root, const std::string& fileFolder, bool keepStructure);

// "a.txt", 1 → "a-001.txt"; "README", 12 → "README-012".
std::string NumberedName(std::string_view fileName, int number);
// Whatever is at folder/name moves to the first free numbered name ("-001" upward); returns
// the error text or "", and the new path in movedTo.
[[nodiscard]] std::string MoveExistingAside(const std::string& folder, const std::string& name, std::string* movedTo = nullptr);

}  // namespace twinex
