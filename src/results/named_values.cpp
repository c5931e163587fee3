// The named values of file and group rows: one table entry per key, each giving the value and
// the text the grid shows for it.
#include <string>

#include "platform/number_format.h"
#include "results/result_tree.h"

namespace twinex {

namespace {

// Key names are ASCII, so comparing them without regard to case needs no Unicode folding.
bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

NamedValue Text(std::string s) {
  NamedValue v;
  v.text = s;
  v.value = std::move(s);
  return v;
}

NamedValue Number(std::int64_t n, std::string text) {
  NamedValue v;
  v.value = n;
  v.text = std::move(text);
  return v;
}

// Whole-number columns leave zero blank ("*###,###,##0*;;;").
NamedValue Count(std::int64_t n) { return Number(n, n == 0 ? std::string() : platform::FormatCount(n)); }
NamedValue Plain(std::int64_t n) { return Number(n, std::to_string(n)); }
NamedValue Flag(bool b) { return Number(b ? 1 : 0, b ? "1" : "0"); }

NamedValue Date(double d, const ResultDisplay& display) {
  NamedValue v;
  v.value = d;
  v.text = FormatDateDisplay(d, display.dateFormat);
  return v;
}

NamedValue Size(std::uint64_t size, const ResultDisplay& display) {
  return Number(static_cast<std::int64_t>(size), SizeDisplayText(size, display.formatSize, display.formatSizeDecimal));
}

NamedValue Rich(std::string_view text) { return Text(ToRichText(text)); }

struct FileKey {
  const char* name;
  NamedValue (*get)(const ResultFile&, const ResultDisplay&);
};

const FileKey kFileKeys[] = {
    {"dupname", [](const ResultFile& f, const ResultDisplay&) { return Text(f.dupname); }},
    {"path", [](const ResultFile& f, const ResultDisplay&) { return Text(f.path); }},
    {"pathA", [](const ResultFile& f, const ResultDisplay&) { return Text(f.PathA()); }},
    {"size", [](const ResultFile& f, const ResultDisplay& d) { return Size(f.size, d); }},
    {"dateVal", [](const ResultFile& f, const ResultDisplay& d) { return Date(f.dateVal, d); }},
    {"date", [](const ResultFile& f, const ResultDisplay& d) { return Date(f.dateVal, d); }},
    {"dateEval", [](const ResultFile& f, const ResultDisplay& d) { return Date(f.dateEval, d); }},
    {"dateE", [](const ResultFile& f, const ResultDisplay& d) { return Date(f.dateEval, d); }},
    {"attr", [](const ResultFile& f, const ResultDisplay&) { return Plain(f.attr); }},
    {"attr2", [](const ResultFile& f, const ResultDisplay&) { return Text(AttributeLetters(f.attr)); }},
    {"owner", [](const ResultFile& f, const ResultDisplay&) { return Text(f.Extras().owner); }},
    // "-" says "a single link"; while the count is still to be read the cell stays empty.
    {"hardlinks",
     [](const ResultFile& f, const ResultDisplay&) {
       if (f.hardlinks != 0) return Number(f.hardlinks, platform::FormatCount(std::uint64_t{f.hardlinks}));
       return Number(0, f.GetFileInfo ? "" : "-");
     }},
    {"hardlinkID", [](const ResultFile& f, const ResultDisplay&) { return Text(f.HardlinkID()); }},
    {"similar",
     [](const ResultFile& f, const ResultDisplay&) {
       return Number(f.similar, f.similar == 0 ? std::string() : std::to_string(f.similar) + "%");
     }},
    {"picW", [](const ResultFile& f, const ResultDisplay&) { return Count(f.picW); }},
    {"picH", [](const ResultFile& f, const ResultDisplay&) { return Count(f.picH); }},
    {"AudioDurationVal",
     [](const ResultFile& f, const ResultDisplay&) {
       NamedValue v;
       v.value = f.AudioDurationVal();
       v.text = f.Extras().AudioDuration;
       return v;
     }},
    {"AudioDuration", [](const ResultFile& f, const ResultDisplay&) { return Text(f.Extras().AudioDuration); }},
    {"AudioBitrate", [](const ResultFile& f, const ResultDisplay&) { return Count(f.AudioBitrate()); }},
    {"AudioSamplingrate", [](const ResultFile& f, const ResultDisplay&) { return Count(f.AudioSamplingrate()); }},
    {"qnr", [](const ResultFile& f, const ResultDisplay&) { return Plain(f.qnr); }},
    {"archiv", [](const ResultFile& f, const ResultDisplay&) { return Plain(f.archiv); }},
    {"tmppath", [](const ResultFile& f, const ResultDisplay&) { return Text(f.Extras().tmppath); }},
    {"IsRefFile", [](const ResultFile& f, const ResultDisplay&) { return Flag(f.IsRefFile); }},
    {"GetFileInfo", [](const ResultFile& f, const ResultDisplay&) { return Flag(f.GetFileInfo); }},
    {"thumbnailpath", [](const ResultFile& f, const ResultDisplay&) { return Text(f.Extras().thumbnailpath); }},
    {"RTFpath", [](const ResultFile& f, const ResultDisplay&) { return Rich(f.path); }},
    {"RTFpathA", [](const ResultFile& f, const ResultDisplay&) { return Rich(f.PathA()); }},
    {"RTFdate",
     [](const ResultFile& f, const ResultDisplay& d) { return Rich(FormatDateDisplay(f.dateVal, d.dateFormat)); }},
    {"RTFdateE",
     [](const ResultFile& f, const ResultDisplay& d) { return Rich(FormatDateDisplay(f.dateEval, d.dateFormat)); }},
    {"RTFowner", [](const ResultFile& f, const ResultDisplay&) { return Rich(f.Extras().owner); }},
};

struct GroupKey {
  const char* name;
  NamedValue (*get)(const ResultGroup&, const ResultTree&);
};

// The caption is the shared value: sizes and dates carry their number so the group column
// sorts by value, and sizes follow the chosen unit.
NamedValue Caption(const ResultGroup& g, const ResultTree& tree) {
  if (g.textCaption) return Text(g.dupname);
  if (tree.captionType == kCaptionSize) return Size(g.sizeG, tree.display);
  if (tree.captionType == kCaptionModified || tree.captionType == kCaptionCreated) {
    NamedValue v;
    v.value = g.dateG;
    v.text = !g.dupname.empty()
                 ? g.dupname
                 : FormatDateDisplay(g.dateG, CaptionDateFormat(tree.display.dateFormat, tree.display.ignoreTime,
                                                                tree.display.ignoreSeconds));
    return v;
  }
  return Text(g.dupname);
}

const GroupKey kGroupKeys[] = {
    {"dupname", Caption},
    {"anz",
     [](const ResultGroup& g, const ResultTree&) { return Count(static_cast<std::int64_t>(g.anz())); }},
    {"size", [](const ResultGroup& g, const ResultTree& t) { return Size(g.size, t.display); }},
    {"sizeG", [](const ResultGroup& g, const ResultTree& t) { return Size(g.sizeG, t.display); }},
    {"dateG", [](const ResultGroup& g, const ResultTree& t) { return Date(g.dateG, t.display); }},
    {"Sel", [](const ResultGroup& g, const ResultTree&) { return Plain(g.Sel); }},
};

}  // namespace

NamedValue ResultTree::FileValue(const ResultFile& file, std::string_view key) const {
  for (const FileKey& k : kFileKeys)
    if (SameKey(k.name, key)) return k.get(file, display);
  return {};
}

NamedValue ResultTree::GroupValue(const ResultGroup& group, std::string_view key) const {
  for (const GroupKey& k : kGroupKeys)
    if (SameKey(k.name, key)) return k.get(group, *this);
  return {};
}

}  // namespace twinex
