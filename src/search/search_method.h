#pragma once
// What sets one search method apart, behind one interface: the criteria it groups by, which
// files the walk hands on, the per-file step, the caption of its groups and its lines in the
// search log. The driver picks the implementation from a table by the method number; a method
// that has not arrived in this build refuses the start.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace twinex {

class Search;
struct SearchSettings;

class SearchMethod {
 public:
  virtual ~SearchMethod() = default;

  // Why the method cannot run in this build (the start is refused with it); "" when it can.
  virtual std::string Refusal() const { return ""; }
  // The criteria of its groups: name, extension, size, content, modified, created,
  // attributes, hard link.
  virtual void SetCriteria(const SearchSettings& settings, std::array<bool, 8>& criteria) const = 0;
  // Whether the walk hands on a file of this lower-case extension; others count as excluded.
  virtual bool AcceptsExtension(const Search&, std::string_view /*lowerExt*/) const { return true; }
  // Whether a file rejected for its type shows among the filtered files of the statistics.
  virtual bool FiltersByType() const { return false; }
  virtual bool ScansArchives() const { return true; }
  // Whether the statistics show the checksums made.
  virtual bool MakesChecksums(const Search& search) const;
  // The per-file step, after the record is filled and its tags are cut.
  virtual void CheckFile(Search& search) const = 0;
  // After the walk (also after a stop): a method that works ahead on several files at once
  // finishes the files still in hand.
  virtual void FinishWalk(Search& /*search*/) const {}
  virtual int CaptionType(const Search& search) const;
  // The method's own option lines of the search-log header.
  virtual void AddLogLines(const Search& /*search*/, std::vector<std::string>& /*lines*/) const {}
};

// What a method keeps from file to file during one search (the similarity groupings).
struct SearchMethodState {
  virtual ~SearchMethodState() = default;
};

// The implementation of a method number (0..5); the properties method for any other.
const SearchMethod& SearchMethodFor(int number);

// The similarity methods live above the engine; the program puts them into the table once at
// start-up (before any search), replacing the stand-in that refuses the start.
void InstallSearchMethod(int number, const SearchMethod& method);

// The similar-names method's lines of the search-log header.
void SimilarNamesLogLines(const Search& search, std::vector<std::string>& lines);
// The similar-music and track-length methods' lines.
void SimilarMusicLogLines(const Search& search, std::vector<std::string>& lines);
void TrackLengthLogLines(const Search& search, std::vector<std::string>& lines);

// The similar-pictures method: whether the walk hands on a file of this lower-case extension
// (a ticked picture extension), and its lines of the search-log header.
bool IsSearchedPictureExtension(const Search& search, std::string_view lowerExt);
void SimilarPicturesLogLines(const Search& search, std::vector<std::string>& lines);

}  // namespace twinex
