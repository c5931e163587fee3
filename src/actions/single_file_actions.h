#pragma once
// The file actions of the result window's context menu: delete the selected files, delete all
// other files of a group, move or copy files into a folder, rename one file. Same checks and
// texts as the file manager; the rows of deleted and moved files leave the result.
#include <cstddef>
#include <string>
#include <vector>

#include "actions/file_manager.h"
#include "results/removal_commands.h"

namespace twinex {

struct SingleFileRequest {
  bool confirmEach = false;   // "LoeschenBestaetigen": each deletion is confirmed
  bool toTrash = false;       // delete into the trash instead of for good
  bool secureDelete = false;
  std::vector<int> protectedSources;  // besides the rows' own flag
  ActionLogTarget log;
  RunControl* run = nullptr;  // stop and pause between files and inside a long copy; null: none
  std::string lockPath;       // as FileManagerRequest::lockPath
};

struct SingleFileOutcome {
  std::size_t done = 0;
  std::size_t total = 0;
  std::size_t errors = 0;
  bool cancelled = false;
};

// Deletes every selected file.
SingleFileOutcome File_Delete(ResultTree& tree, const SingleFileRequest& request, ActionObserver& observer,
                              Prompt& prompt);
// Deletes every file of the group except the row at keepIndex, after asking.
SingleFileOutcome Delete_AllOtherFilesFromGroup(ResultTree& tree, int groupId, std::size_t keepIndex,
                                                const SingleFileRequest& request, ActionObserver& observer,
                                                Prompt& prompt);
// Moves or copies the rows' files into the folder; an existing file there is replaced only when
// the user says so.
SingleFileOutcome File_Moving(ResultTree& tree, const std::vector<MarkedRow>& rows, const std::string& folder,
                              const SingleFileRequest& request, ActionObserver& observer, Prompt& prompt);
SingleFileOutcome File_Copying(ResultTree& tree, const std::vector<MarkedRow>& rows, const std::string& folder,
                               const SingleFileRequest& request, ActionObserver& observer, Prompt& prompt);
// Gives the row's file a new name in its folder; an existing name is refused.
SingleFileOutcome File_Rename(ResultTree& tree, const MarkedRow& row, const std::string& newName,
                              const SingleFileRequest& request, ActionObserver& observer, Prompt& prompt);

}  // namespace twinex
