#include "search/closing_steps.h"

#include "search/search.h"

namespace twinex {

// The result model and its grouping fill these in; the driver already runs every step in its
// place with its caption, so the order and the counts of the step list stay stable.
void Search_ShowOnlyFilesWithoutDups(Search&) {}
void Report_FormatSizes(Search&) {}
void Report_SortGroups(Search&) {}
void Search_LogFilesWithoutDups(Search&) {}
void Search_DeleteTempFiles(Search&) {}
void Search_DeleteFileCollection(Search&) {}
void RemoveGroup_DupsNotExistAtAllSourcefolders(Search&) {}
void Group_ExpandAll(Search&) {}
void Report_Resize_Columns(Search&) {}

}  // namespace twinex
