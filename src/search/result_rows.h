#pragma once
// Groups and file rows reach the result while the search walks.
#include <string>

namespace twinex {

class Search;
struct FileRecord;
struct ResultGroup;
struct ResultFile;

// Adds a group row whose caption is what the file of the record at `index` shares with its
// duplicates.
ResultGroup& Search_AddNewGroup(Search& search, long index);
// The row values of the record's file.
ResultFile ResultFileOf(const Search& search, const FileRecord& record);
// The row of the record's file with what is read from the file itself (its owner when asked for).
ResultFile ResultRowOf(Search& search, const FileRecord& record);
// Fills the audio columns of a row (duration, bit rate, sampling rate) from the file at the
// path; installed by the similarity layer, which reads media files. The rows get them only while
// one of those columns is shown (Search::readAudio).
using AudioColumnsReader = void (*)(const std::string& path, ResultFile& row);
void InstallAudioColumnsReader(AudioColumnsReader reader);
// Adds the record's file as a row of the group and keeps the search's counters current.
void Search_AddNodeFromCollection(Search& search, ResultGroup& group, const FileRecord& record);
// For a front end that shows groups while they form: hands copies of the groups opened or grown
// since the last call to the observer.
void Search_HandOverGroups(Search& search);

}  // namespace twinex
