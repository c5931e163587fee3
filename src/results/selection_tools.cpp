#include "results/selection_tools.h"

#include <stdexcept>

#include "platform/date_time.h"
#include "platform/number_format.h"
#include "platform/text.h"
#include "results/select_rules.h"
#include "results/selection_conditions.h"
#include "settings/prompt.h"

namespace twinex {

namespace {

namespace r = select_rules;
using Id = SelectToolId;
using In = ToolInput;
using E = ToolEffect;

constexpr TextRef kWaitKeep{17020, "Bitte warten, die Dateien werden ausgewählt..."};
constexpr TextRef kWaitSelect{17021, "Bitte warten, Dateien werden ausgewählt..."};
constexpr TextRef kWaitDeselect{17022, "Bitte warten, Dateien werden abgewählt..."};
constexpr TextRef kWaitChange{17023, "Bitte warten, Dateiauswahl wird geändert..."};

constexpr bool kSel = false;
constexpr bool kDesel = true;

// clang-format off
const SelectTool kTools[] = {
    {Id::KeepNewest, "all-but-newest", kSel, TextRef{17040, "Alle Dateien auswählen außer der neusten Datei in jeder Gruppe"}, kWaitKeep, In::None, E::KeepOne, r::LaterModified, nullptr, nullptr},
    {Id::KeepOldest, "all-but-oldest", kSel, TextRef{17041, "Alle Dateien auswählen außer der ältesten Datei in jeder Gruppe"}, kWaitKeep, In::None, E::KeepOne, r::EarlierModified, nullptr, nullptr},
    {Id::KeepNewestCreated, "all-but-newest-created", kSel, TextRef{17042, "Alle Dateien auswählen außer der neusten Datei in jeder Gruppe (Erstellungsdatum)"}, kWaitKeep, In::None, E::KeepOne, r::LaterCreated, nullptr, nullptr},
    {Id::KeepOldestCreated, "all-but-oldest-created", kSel, TextRef{17043, "Alle Dateien auswählen außer der ältesten Datei in jeder Gruppe (Erstellungsdatum)"}, kWaitKeep, In::None, E::KeepOne, r::EarlierCreated, nullptr, nullptr},
    {Id::KeepShortestPath, "all-but-shortest-path", kSel, TextRef{17044, "Alle Dateien auswählen außer die Datei mit dem kürzesten Pfad in jeder Gruppe"}, kWaitKeep, In::None, E::KeepOne, r::ShorterPath, nullptr, nullptr},
    {Id::KeepLongestPath, "all-but-longest-path", kSel, TextRef{17045, "Alle Dateien auswählen außer die Datei mit dem längsten Pfad in jeder Gruppe"}, kWaitKeep, In::None, E::KeepOne, r::LongerPath, nullptr, nullptr},
    {Id::KeepShortestName, "all-but-shortest-name", kSel, TextRef{17046, "Alle Dateien auswählen außer die Datei mit dem kürzesten Namen in jeder Gruppe"}, kWaitKeep, In::None, E::KeepOne, r::ShorterName, nullptr, nullptr},
    {Id::KeepLongestName, "all-but-longest-name", kSel, TextRef{17047, "Alle Dateien auswählen außer die Datei mit dem längsten Namen in jeder Gruppe"}, kWaitKeep, In::None, E::KeepOne, r::LongerName, nullptr, nullptr},
    {Id::KeepBiggest, "all-but-biggest", kSel, TextRef{17048, "Alle Dateien auswählen außer der größten Datei in jeder Gruppe"}, kWaitKeep, In::None, E::KeepOne, r::Bigger, nullptr, nullptr},
    {Id::KeepSmallest, "all-but-smallest", kSel, TextRef{17049, "Alle Dateien auswählen außer der kleinsten Datei in jeder Gruppe"}, kWaitKeep, In::None, E::KeepOne, r::Smaller, nullptr, nullptr},
    {Id::KeepMostMegapixels, "all-but-most-megapixels", kSel, TextRef{17050, "Alle Dateien auswählen außer die Bilddatei mit den meisten Megapixeln in jeder Gruppe"}, kWaitKeep, In::None, E::KeepOne, r::MoreMegapixels, nullptr, nullptr, true},
    {Id::KeepFirst, "all-but-first", kSel, TextRef{17051, "Alle Dateien auswählen außer der ersten Datei in jeder Gruppe"}, kWaitKeep, In::None, E::KeepOne, r::Never, nullptr, nullptr},
    {Id::KeepLast, "all-but-last", kSel, TextRef{17052, "Alle Dateien auswählen außer der letzten Datei in jeder Gruppe"}, kWaitKeep, In::None, E::KeepOne, r::Always, nullptr, nullptr},
    {Id::OnlyFirst, "only-first", kSel, TextRef{17053, "Nur die erste Datei in jeder Gruppe auswählen"}, kWaitKeep, In::None, E::OnlyOne, r::Never, nullptr, nullptr},
    {Id::OnlyLast, "only-last", kSel, TextRef{17054, "Nur die letzte Datei in jeder Gruppe auswählen"}, kWaitKeep, In::None, E::OnlyOne, r::Always, nullptr, nullptr},

    {Id::SelectAll, "all", kSel, TextRef{17055, "Alle Dateien auswählen"}, kWaitSelect, In::None, E::Set, nullptr, nullptr, nullptr},
    {Id::DeselectAll, "all", kDesel, TextRef{17056, "Alle Dateien abwählen"}, kWaitDeselect, In::None, E::Set, nullptr, nullptr, nullptr},
    {Id::Invert, "invert", kSel, TextRef{17057, "Dateiauswahl umkehren"}, kWaitChange, In::None, E::Invert, nullptr, nullptr, nullptr},

    {Id::InvertGroup, "", kSel, TextRef{17058, "Dateiauswahl in dieser Gruppe umkehren"}, kWaitChange, In::CurrentRow, E::Invert, nullptr, nullptr, r::IsCurrentGroup},
    {Id::SelectMarked, "", kSel, TextRef{17059, "Markierte Dateien auswählen"}, kWaitSelect, In::MarkedRows, E::Set, nullptr, r::IsMarkedRow, nullptr},
    {Id::DeselectMarked, "", kDesel, TextRef{17060, "Markierte Dateien abwählen"}, kWaitDeselect, In::MarkedRows, E::Set, nullptr, r::IsMarkedRow, nullptr},
    {Id::ToggleFile, "", kSel, TextRef{17061, "Datei auswählen/abwählen"}, kWaitChange, In::CurrentRow, E::Toggle, nullptr, nullptr, nullptr},
    {Id::ToggleGroup, "", kSel, TextRef{17062, "Gruppe auswählen/abwählen"}, kWaitChange, In::CurrentRow, E::Toggle, nullptr, nullptr, nullptr},
    {Id::SelectOthersInGroup, "", kSel, TextRef{17063, "Alle anderen Dateien in dieser Gruppe auswählen"}, kWaitSelect, In::CurrentRow, E::Set, nullptr, r::IsNotCurrentRow, r::IsCurrentGroup},

    {Id::SelectSameFolder, "same-folder", kSel, TextRef{17064, "Alle Dateien mit dem gleichen Ordnerpfad auswählen"}, kWaitSelect, In::Folder, E::Set, nullptr, r::SameFolder, nullptr},
    {Id::DeselectSameFolder, "same-folder", kDesel, TextRef{17065, "Alle Dateien mit dem gleichen Ordnerpfad abwählen"}, kWaitDeselect, In::Folder, E::Set, nullptr, r::SameFolder, nullptr},
    {Id::SelectInFileStructure, "", kSel, TextRef{17066, "Alle Dateien innerhalb der Ordnerstruktur dieser Datei auswählen"}, kWaitSelect, In::Folder, E::Set, nullptr, r::InsideFolder, nullptr},
    {Id::DeselectInFileStructure, "", kDesel, TextRef{17067, "Alle Dateien innerhalb der Ordnerstruktur dieser Datei abwählen"}, kWaitDeselect, In::Folder, E::Set, nullptr, r::InsideFolder, nullptr},
    {Id::SelectInsideFolder, "in-folder", kSel, TextRef{17068, "Alle Dateien auswählen, welche sich innerhalb des folgenden Ordners befinden:"}, kWaitSelect, In::Folder, E::Set, nullptr, r::InsideFolder, nullptr},
    {Id::SelectOutsideFolder, "outside-folder", kSel, TextRef{17069, "Alle Dateien auswählen, welche sich außerhalb des folgenden Ordners befinden:"}, kWaitSelect, In::Folder, E::Set, nullptr, r::OutsideFolder, nullptr},
    {Id::DeselectInsideFolder, "in-folder", kDesel, TextRef{17070, "Alle Dateien abwählen, welche sich innerhalb des folgenden Ordners befinden:"}, kWaitDeselect, In::Folder, E::Set, nullptr, r::InsideFolder, nullptr},
    {Id::DeselectOutsideFolder, "outside-folder", kDesel, TextRef{17071, "Alle Dateien abwählen, welche sich außerhalb des folgenden Ordners befinden:"}, kWaitDeselect, In::Folder, E::Set, nullptr, r::OutsideFolder, nullptr},
    {Id::SelectDupsOfFolder, "dups-of-folder", kSel, TextRef{17072, "Alle Dateien auswählen, welche Duplikate von Dateien innerhalb des folgenden Ordners sind:"}, kWaitSelect, In::Folder, E::Set, nullptr, r::OutsideFolder, r::HoldsFileInFolder},
    {Id::DeselectDupsOfFolder, "dups-of-folder", kDesel, TextRef{17073, "Alle Dateien abwählen, welche Duplikate von Dateien innerhalb des folgenden Ordners sind:"}, kWaitDeselect, In::Folder, E::Set, nullptr, r::OutsideFolder, r::HoldsFileInFolder},

    {Id::SelectSimilarAtLeast, "similar-at-least", kSel, TextRef{17074, "Alle Dateien mit einer Übereinstimmung größer oder gleich einem bestimmten Prozentwert in jeder Gruppe auswählen"}, kWaitSelect, In::Percent, E::Set, nullptr, r::SimilarAtLeast, nullptr},
    {Id::SelectSimilarAtMost, "similar-at-most", kSel, TextRef{17075, "Alle Dateien mit einer Übereinstimmung kleiner oder gleich einem bestimmten Prozentwert in jeder Gruppe auswählen"}, kWaitSelect, In::Percent, E::Set, nullptr, r::SimilarAtMost, nullptr},
    {Id::SelectWithoutHardlinks, "without-hardlinks", kSel, TextRef{17076, "Alle Dateien ohne Hardlinks auswählen"}, kWaitSelect, In::None, E::Set, nullptr, r::WithoutHardlinks, nullptr},
    {Id::SelectDefectPictures, "defect-pictures", kSel, TextRef{17135, "Alle fehlerhaften Bilddateien auswählen"}, kWaitSelect, In::None, E::Set, nullptr, r::HasDefect, nullptr},
    {Id::SelectDefectAudio, "defect-audio", kSel, TextRef{17136, "Alle fehlerhaften Audiodateien auswählen"}, kWaitSelect, In::None, E::Set, nullptr, r::HasDefect, nullptr},
    {Id::SelectByDate, "by-date", kSel, TextRef{17077, "Dateien anhand Ihrem Datum auswählen"}, kWaitSelect, In::Date, E::Set, nullptr, r::DateMatches, nullptr},
    {Id::DeselectByDate, "by-date", kDesel, TextRef{17078, "Dateien anhand Ihrem Datum abwählen"}, kWaitDeselect, In::Date, E::Set, nullptr, r::DateMatches, nullptr},
    {Id::SelectBySize, "by-size", kSel, TextRef{17079, "Dateien anhand Ihrer Größe auswählen"}, kWaitSelect, In::Size, E::Set, nullptr, r::SizeMatches, nullptr},
    {Id::DeselectBySize, "by-size", kDesel, TextRef{17080, "Dateien anhand Ihrer Größe abwählen"}, kWaitDeselect, In::Size, E::Set, nullptr, r::SizeMatches, nullptr},
    {Id::SelectByName, "by-name", kSel, TextRef{17081, "Dateien anhand Ihrem Namen auswählen"}, kWaitSelect, In::Pattern, E::Set, nullptr, r::NameMatches, nullptr},
    {Id::DeselectByName, "by-name", kDesel, TextRef{17082, "Dateien anhand Ihrem Namen abwählen"}, kWaitDeselect, In::Pattern, E::Set, nullptr, r::NameMatches, nullptr},
    {Id::SelectByPath, "by-path", kSel, TextRef{17083, "Dateien anhand Ihrem Pfad auswählen"}, kWaitSelect, In::Pattern, E::Set, nullptr, r::PathMatches, nullptr},
    {Id::DeselectByPath, "by-path", kDesel, TextRef{17084, "Dateien anhand Ihrem Pfad abwählen"}, kWaitDeselect, In::Pattern, E::Set, nullptr, r::PathMatches, nullptr},
};
// clang-format on

// The question the folder-structure commands ask, followed by the folder.
const TextRef* FolderQuestion(Id id) {
  static constexpr TextRef kInsideSelect{17090, "Alle Dateien innerhalb der folgenden Ordnerstruktur auswählen?"};
  static constexpr TextRef kInsideDeselect{17091, "Alle Dateien innerhalb der folgenden Ordnerstruktur abwählen?"};
  static constexpr TextRef kOutsideSelect{17092, "Alle Dateien außerhalb der folgenden Ordnerstruktur auswählen?"};
  static constexpr TextRef kOutsideDeselect{17093, "Alle Dateien außerhalb der folgenden Ordnerstruktur abwählen?"};
  switch (id) {
    case Id::SelectInFileStructure:
    case Id::SelectInsideFolder:
      return &kInsideSelect;
    case Id::DeselectInFileStructure:
    case Id::DeselectInsideFolder:
      return &kInsideDeselect;
    case Id::SelectOutsideFolder:
      return &kOutsideSelect;
    case Id::DeselectOutsideFolder:
      return &kOutsideDeselect;
    default:
      return nullptr;
  }
}

// Conditions a dialog cannot produce but a caller might: refused rather than guessed at.
bool ConditionUsable(const SelectTool& tool, const SelectRequest& q) {
  switch (tool.input) {
    case In::Date:
      return q.date.filterType >= 0 && q.date.filterType <= 2 && q.date.unit >= 0 && q.date.unit < kDateUnitCount &&
             q.date.amount >= 0;
    case In::Size:
      return q.size.filterType >= 0 && q.size.filterType <= 2 && q.size.unit >= 0 && q.size.unit < kSizeUnitCount &&
             q.size.amount >= 0;
    default:
      return true;
  }
}

// Refreshing the progress for every group would cost more than the rule on large results; the
// first group always reports, so a run can be stopped before it changes anything.
class ProgressGate {
 public:
  explicit ProgressGate(const SelectRequest& q) : q_(q), last_(platform::TickCount() - kIntervalMs) {}
  // False when the caller asked to stop.
  bool Tick(std::size_t done, std::size_t total) {
    if (!q_.progress || (done & 63) != 0) return true;
    const std::int64_t now = platform::TickCount();
    if (now - last_ < kIntervalMs) return true;
    last_ = now;
    return q_.progress(done, total);
  }

 private:
  static constexpr std::int64_t kIntervalMs = 100;
  const SelectRequest& q_;
  std::int64_t last_;
};

class Frame {
 public:
  Frame(Selection& s, const SelectTool& tool, ToolContext& c, SelectOutcome& out) : s_(s), tool_(tool), c_(c), out_(out) {}

  void Group(ResultGroup& g) {
    switch (tool_.effect) {
      case E::KeepOne:
      case E::OnlyOne:
        KeepOne(g);
        break;
      case E::Set:
      case E::Invert:
        if (tool_.group && !tool_.group(c_, g)) return;
        for (std::size_t i = 0; i < g.files.size(); ++i) {
          if (tool_.matches && !tool_.matches(c_, g, g.files[i])) continue;
          ++out_.matched;
          Apply(g, i, tool_.effect == E::Invert ? !g.files[i].selected : !tool_.deselects);
        }
        break;
      case E::Toggle:
        break;
    }
  }

 private:
  // A group with one file has nothing to choose from: its only file is never selected by a rule.
  void KeepOne(ResultGroup& g) {
    if (g.files.size() < 2) return;
    if (tool_.needsFileInfo && s_.readFileInfo)
      for (ResultFile& f : g.files)
        if (f.GetFileInfo) s_.readFileInfo(f);
    std::size_t keeper = 0;
    for (std::size_t i = 1; i < g.files.size(); ++i)
      if (tool_.keeper(g.files[i], g.files[keeper])) keeper = i;
    for (std::size_t i = 0; i < g.files.size(); ++i)
      Apply(g, i, tool_.effect == E::KeepOne ? i != keeper : i == keeper);
  }

  // Protected rows may be deselected, never selected.
  void Apply(ResultGroup& g, std::size_t i, bool select) {
    if (select && g.files[i].protectedFile) return;
    if (!s_.File_Select(g, i, select)) return;
    ++(select ? out_.selected : out_.deselected);
  }

  Selection& s_;
  const SelectTool& tool_;
  ToolContext& c_;
  SelectOutcome& out_;
};

SelectOutcome RunToggle(Selection& s, const SelectTool& tool, const SelectRequest& q) {
  SelectOutcome out;
  const std::int64_t before = s.tree().counters.DupCountSelected;
  const std::size_t* file = tool.id == Id::ToggleFile ? &q.current.fileIndex : nullptr;
  if (!s.tree().FindGroup(q.current.groupId)) return out;
  s.Report_ChangeCheckboxStatus(q.current.groupId, file);
  const std::int64_t after = s.tree().counters.DupCountSelected;
  out.ran = true;
  out.selected = after > before ? static_cast<std::size_t>(after - before) : 0;
  out.deselected = before > after ? static_cast<std::size_t>(before - after) : 0;
  out.message = SelectCountMessage(out.changed(), out.deselected > 0);
  return out;
}

}  // namespace

const std::vector<SelectTool>& SelectTools() {
  static const std::vector<SelectTool> tools(std::begin(kTools), std::end(kTools));
  return tools;
}

const SelectTool& FindSelectTool(SelectToolId id) {
  for (const SelectTool& t : SelectTools())
    if (t.id == id) return t;
  throw std::invalid_argument("unknown selection command");
}

const SelectTool* FindSelectToolByName(std::string_view name, bool deselect) {
  if (name.empty()) return nullptr;
  for (const SelectTool& t : SelectTools())
    if (name == t.name && t.deselects == deselect) return &t;
  return nullptr;
}

std::string SelectCountMessage(std::size_t count, bool deselected) {
  const std::string n = platform::FormatCount(static_cast<std::uint64_t>(count));
  return deselected ? z_Translate(17026, "Es wurden %1 Dateien abgewählt.", {n})
                    : z_Translate(17025, "Es wurden %1 Dateien ausgewählt.", {n});
}

std::string SelectActionName(const SelectTool& tool, const SelectRequest& q, const ResultDisplay& display) {
  std::string name = z_Translate(tool.caption);
  std::string condition;
  switch (tool.input) {
    case In::Date:
      condition = DateConditionText(q.date, display.dateFormat);
      break;
    case In::Size:
      condition = SizeConditionText(q.size);
      break;
    case In::Pattern:
      condition = q.pattern.pattern;
      break;
    case In::Folder:
      condition = q.folder;
      break;
    case In::Percent:
      condition = std::to_string(q.percent) + " %";
      break;
    default:
      break;
  }
  return condition.empty() ? name : name + " -> " + condition;
}

SelectOutcome RunSelectTool(Selection& s, SelectToolId id, const SelectRequest& q) {
  const SelectTool& tool = FindSelectTool(id);
  SelectOutcome out;
  if (tool.effect == E::Toggle) return RunToggle(s, tool, q);
  if (!ConditionUsable(tool, q)) return out;

  ToolContext c{q, {}, {}, false, 0, {}, nullptr, {}};
  switch (tool.input) {
    case In::Folder:
      c.folder = q.folder;
      while (c.folder.size() > 1 && c.folder.back() == '/') c.folder.pop_back();
      // Without a folder "outside" would mean every file.
      if (c.folder.empty()) {
        out.message = z_Translate(17027, "Es ist kein Ordner angegeben.");
        return out;
      }
      break;
    case In::Pattern:
      out.message = PatternError(q.pattern.pattern);
      if (!out.message.empty()) return out;
      c.foldCase = !q.pattern.caseSensitive;
      c.pattern.Parse(c.foldCase ? platform::FoldCase(q.pattern.pattern) : q.pattern.pattern);
      break;
    case In::MarkedRows:
      for (const MarkedRow& m : q.marked) c.marked.insert(select_rules::MarkedRowKey(m.groupId, m.fileIndex));
      break;
    case In::CurrentRow:
      if (!s.tree().FindGroup(q.current.groupId)) return out;
      break;
    default:
      break;
  }
  if (const TextRef* question = FolderQuestion(id); question && q.prompt) {
    PromptMessage m = PromptMessage::Composed(z_Translate(*question) + "\r\n\r\n" + c.folder, PromptButtons::YesNo,
                                              PromptIcon::Question);
    if (q.prompt->Ask(m) != PromptAnswer::Yes) return out;
  }
  c.now = q.now != 0 ? q.now : platform::Now();
  if (id == Id::SelectDefectPictures || id == Id::SelectDefectAudio) {
    c.defect = id == Id::SelectDefectPictures ? &s.pictureDefect : &s.audioDefect;
    if (!*c.defect) return out;  // this front end cannot read the files' contents
  }

  s.UNDO_record_Init(SelectActionName(tool, q, s.tree().display));
  Frame frame(s, tool, c, out);
  ProgressGate gate(q);
  std::vector<ResultGroup>& groups = s.tree().groups;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    if (!gate.Tick(g, groups.size())) {
      out.cancelled = true;
      break;
    }
    if (s.ChangeThisGroup(groups[g])) frame.Group(groups[g]);
  }
  s.UNDO_record_end();

  out.ran = true;
  out.message = tool.input == In::Pattern && out.matched == 0 ? NoPatternMatchMessage()
                                                             : SelectCountMessage(out.changed(), tool.deselects);
  if (!c.defects.empty()) out.message += "\r\n\r\n" + DefectList(id == Id::SelectDefectPictures, c.defects);
  return out;
}

SelectOutcome Select_OnlyTheFirst(Selection& s) { return RunSelectTool(s, Id::OnlyFirst); }
SelectOutcome Select_OnlyTheLast(Selection& s) { return RunSelectTool(s, Id::OnlyLast); }
SelectOutcome Select_AllButNotTheFirst(Selection& s) { return RunSelectTool(s, Id::KeepFirst); }
SelectOutcome Select_AllButNotTheLast(Selection& s) { return RunSelectTool(s, Id::KeepLast); }

SelectOutcome Select_AllButNotTheNewestOldest(Selection& s, bool newest, bool creationDate) {
  if (creationDate) return RunSelectTool(s, newest ? Id::KeepNewestCreated : Id::KeepOldestCreated);
  return RunSelectTool(s, newest ? Id::KeepNewest : Id::KeepOldest);
}

SelectOutcome Select_AllButNotTheShortestLongestFilePath(Selection& s, bool shortest) {
  return RunSelectTool(s, shortest ? Id::KeepShortestPath : Id::KeepLongestPath);
}

SelectOutcome Select_AllButNotTheShortestLongestFileName(Selection& s, bool shortest) {
  return RunSelectTool(s, shortest ? Id::KeepShortestName : Id::KeepLongestName);
}

SelectOutcome Select_AllButNotTheSmallestBiggest(Selection& s, bool smallest) {
  return RunSelectTool(s, smallest ? Id::KeepSmallest : Id::KeepBiggest);
}

SelectOutcome Select_AllButNotTheMostMP(Selection& s) { return RunSelectTool(s, Id::KeepMostMegapixels); }

SelectOutcome Select_MatchHigherLower(Selection& s, bool higher, int percent) {
  SelectRequest q;
  q.percent = percent;
  return RunSelectTool(s, higher ? Id::SelectSimilarAtLeast : Id::SelectSimilarAtMost, q);
}

SelectOutcome Select_Invert_Selection_All_Groups(Selection& s) { return RunSelectTool(s, Id::Invert); }

SelectOutcome Select_Invert_Selection_Group(Selection& s, int groupId) {
  SelectRequest q;
  q.current.groupId = groupId;
  return RunSelectTool(s, Id::InvertGroup, q);
}

SelectOutcome Select_DupByDate(Selection& s, bool select, const DateCondition& condition, double now) {
  SelectRequest q;
  q.date = condition;
  q.now = now;
  return RunSelectTool(s, select ? Id::SelectByDate : Id::DeselectByDate, q);
}

SelectOutcome Select_DupBySize(Selection& s, bool select, const SizeCondition& condition) {
  SelectRequest q;
  q.size = condition;
  return RunSelectTool(s, select ? Id::SelectBySize : Id::DeselectBySize, q);
}

SelectOutcome Select_DupByName(Selection& s, bool select, const PatternCondition& condition) {
  SelectRequest q;
  q.pattern = condition;
  return RunSelectTool(s, select ? Id::SelectByName : Id::DeselectByName, q);
}

SelectOutcome Select_DupByPath(Selection& s, bool select, const PatternCondition& condition) {
  SelectRequest q;
  q.pattern = condition;
  return RunSelectTool(s, select ? Id::SelectByPath : Id::DeselectByPath, q);
}

SelectOutcome Select_DupInSameFolderByPathSelection(Selection& s, bool select, bool inside, std::string_view folder,
                                                    Prompt* prompt) {
  SelectRequest q;
  q.folder = std::string(folder);
  q.prompt = prompt;
  const Id id = inside ? (select ? Id::SelectInsideFolder : Id::DeselectInsideFolder)
                       : (select ? Id::SelectOutsideFolder : Id::DeselectOutsideFolder);
  return RunSelectTool(s, id, q);
}

SelectOutcome Select_DupInSameFolderByPath(Selection& s, bool select, std::string_view folder) {
  SelectRequest q;
  q.folder = std::string(folder);
  return RunSelectTool(s, select ? Id::SelectSameFolder : Id::DeselectSameFolder, q);
}

SelectOutcome Select_DupFromFilesOfThisFolder(Selection& s, bool select, std::string_view folder) {
  SelectRequest q;
  q.folder = std::string(folder);
  return RunSelectTool(s, select ? Id::SelectDupsOfFolder : Id::DeselectDupsOfFolder, q);
}

SelectOutcome Select_MarkedFiles(Selection& s, bool select, const std::vector<MarkedRow>& marked) {
  SelectRequest q;
  q.marked = marked;
  return RunSelectTool(s, select ? Id::SelectMarked : Id::DeselectMarked, q);
}

}  // namespace twinex
