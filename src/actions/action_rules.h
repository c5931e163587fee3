#pragma once
// The five actions of the file manager as one table: what each says, logs and sums up, and
// which of the shared rules apply to it. The run walks groups and files the same way for all
// of them and asks the table where they differ.
#include <vector>

#include "actions/action_settings.h"
#include "settings/translate.h"

namespace twinex {

struct ActionRule {
  FileAction action;
  TextRef caption;         // the option's caption, also %1 of the start and end lines
  TextRef doneLog;         // per file, on success
  TextRef failure;         // per file, on failure
  TextRef archiveRefusal;  // an entry inside an archive that this action cannot handle
  TextRef summary;         // "%1 von %2"
  bool needsFolder;        // works into the backup folder
  bool changesSource;      // the file is removed, replaced or renamed: safety question, identity check
  bool takesLinks;         // a hard link or shortcut may take the file's place afterwards
  bool leavesFolder;       // the file leaves its folder (empty-folder clean-up)
};

const std::vector<ActionRule>& ActionRules();
const ActionRule& RuleFor(FileAction action);

}  // namespace twinex
