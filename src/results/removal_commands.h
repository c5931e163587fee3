#pragma once
// The commands that take rows out of a result. They change the result only, never files on disk.
// Each is one rule over the bulk removal walk of ResultTree, so counters stay exact, groups that
// keep one file stay and emptied groups go.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "results/result_tree.h"
#include "settings/translate.h"

namespace twinex {

// A highlighted file row: its group and its position among the group's files (0-based).
struct MarkedRow {
  int groupId = 0;
  std::size_t fileIndex = 0;
};

enum class RemovalId {
  File_RemoveFromReport,
  RemoveMarkedFiles,
  RemoveMarkedGroupAndFiles,
  Report_RemoveSelectedFiles,
  Remove_FilesNotExist,
  Remove_Hardlinks,
  RemoveGroup_IfHardlinkOnly,
  RemoveGroup_ContainOnlyHardlinkWithSameID,
  RemoveGroup_WithAllFilesFromArchives,
  RemoveGroup_DupsNotExistAtAllSourcefolders,
  RemoveGroup_WithAllFilesSelected,
  RemoveGroup_WithSomeFilesSelected,
  RemoveGroup_WithXfiles,
  File_RemoveFromSameFolder,
};

// What a command works on; each command reads only the fields it needs.
struct RemovalRequest {
  std::vector<MarkedRow> markedFiles;  // current row (one entry) or highlighted file rows
  std::vector<int> markedGroups;       // highlighted groups
  std::string folder;                  // File_RemoveFromSameFolder
  long fileCount = 1;                  // RemoveGroup_WithXfiles ("Dateianzahl:")
  int sourceCount = 0;                 // RemoveGroup_DupsNotExistAtAllSourcefolders
  RemovalProgress progress;            // may end the walk early
};

struct RemovalCommand {
  RemovalId id;
  TextRef menuText;
  TextRef waitText;
};

// The question RemoveGroup_WithXfiles asks before it runs (default answer "1").
inline constexpr TextRef kRemovalFileCountPrompt{13077, "Dateianzahl:"};

// Every command in menu order, with its menu and wait texts.
const std::vector<RemovalCommand>& RemovalCommands();
const RemovalCommand& FindRemovalCommand(RemovalId id);
// The wait text shown while the command runs, filled in for the request.
std::string RemovalWaitText(RemovalId id, const RemovalRequest& request);

// Runs one command; returns the number of file rows removed.
std::size_t RunRemoval(ResultTree& tree, RemovalId id, const RemovalRequest& request);

std::size_t File_RemoveFromReport(ResultTree& tree, int groupId, std::size_t fileIndex);
std::size_t RemoveMarkedFiles(ResultTree& tree, const std::vector<MarkedRow>& marked);
std::size_t RemoveMarkedGroupAndFiles(ResultTree& tree, const std::vector<int>& groupIds);
std::size_t Report_RemoveSelectedFiles(ResultTree& tree);
std::size_t Remove_FilesNotExist(ResultTree& tree);
std::size_t Remove_Hardlinks(ResultTree& tree);
std::size_t RemoveGroup_IfHardlinkOnly(ResultTree& tree);
std::size_t RemoveGroup_ContainOnlyHardlinkWithSameID(ResultTree& tree);
std::size_t RemoveGroup_WithAllFilesFromArchives(ResultTree& tree);
std::size_t RemoveGroup_DupsNotExistAtAllSourcefolders(ResultTree& tree, int sourceCount);
std::size_t RemoveGroup_WithAllFilesSelected(ResultTree& tree);
std::size_t RemoveGroup_WithSomeFilesSelected(ResultTree& tree);
std::size_t RemoveGroup_WithXfiles(ResultTree& tree, long fileCount);
std::size_t File_RemoveFromSameFolder(ResultTree& tree, std::string_view folder);

}  // namespace twinex
