#pragma once
// The steps a search runs after its walk, also after a stop, so a cancelled search still shows
// what it found.
namespace twinex {

class Search;

void Search_ShowOnlyFilesWithoutDups(Search& search);
void Report_FormatSizes(Search& search);
void Report_SortGroups(Search& search);
void Search_LogFilesWithoutDups(Search& search);
void Search_DeleteTempFiles(Search& search);
void Search_DeleteFileCollection(Search& search);
void RemoveGroup_DupsNotExistAtAllSourcefolders(Search& search);
void Group_ExpandAll(Search& search);
void Report_Resize_Columns(Search& search);

}  // namespace twinex
