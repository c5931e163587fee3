#include "results/result_rows_file.h"

#include <cstring>
#include <limits>
#include <unordered_map>

namespace twinex {
namespace {

constexpr char kMagic[8] = {'T', 'W', 'X', 'R', 'O', 'W', 'S', '1'};
constexpr char kEnd[4] = {'E', 'N', 'D', '!'};

// File row flags.
constexpr unsigned kSelected = 1, kProtected = 2, kRefFile = 4, kInfoPending = 8, kHasExtras = 16, kKnownFlags = 31;

std::uint64_t Fnv1a(std::string_view bytes) {
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

class Writer {
 public:
  void Raw(const void* p, std::size_t n) { out_.append(static_cast<const char*>(p), n); }
  void U8(unsigned v) { out_.push_back(static_cast<char>(v)); }
  void Fixed64(std::uint64_t v) {
    for (int i = 0; i < 8; ++i) U8(static_cast<unsigned>(v >> (8 * i)) & 0xFF);
  }
  void Fixed32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) U8((v >> (8 * i)) & 0xFF);
  }
  void Var(std::uint64_t v) {
    while (v >= 0x80) {
      U8(static_cast<unsigned>(v & 0x7F) | 0x80);
      v >>= 7;
    }
    U8(static_cast<unsigned>(v));
  }
  void SignedVar(std::int64_t v) { Var((static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63)); }
  void Double(double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    Fixed64(bits);
  }
  void Text(std::string_view s) {
    Var(s.size());
    out_.append(s);
  }
  std::string& bytes() { return out_; }

 private:
  std::string out_;
};

// Every read checks that the bytes are there; the first failure makes every later read fail too.
class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}
  bool ok() const { return ok_; }
  bool AtEnd() const { return pos_ == in_.size(); }
  bool Raw(void* p, std::size_t n) {
    if (!Need(n)) return false;
    std::memcpy(p, in_.data() + pos_, n);
    pos_ += n;
    return true;
  }
  unsigned U8() {
    if (!Need(1)) return 0;
    return static_cast<unsigned char>(in_[pos_++]);
  }
  std::uint64_t Fixed64() {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(U8()) << (8 * i);
    return v;
  }
  std::uint32_t Fixed32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(U8()) << (8 * i);
    return v;
  }
  std::uint64_t Var() {
    std::uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      const unsigned b = U8();
      if (!ok_) return 0;
      v |= static_cast<std::uint64_t>(b & 0x7F) << shift;
      if ((b & 0x80) == 0) return v;
    }
    return Fail();
  }
  // A number that must fit the field it goes into.
  std::uint64_t VarAtMost(std::uint64_t limit) {
    const std::uint64_t v = Var();
    return v <= limit ? v : Fail();
  }
  std::int64_t SignedVar() {
    const std::uint64_t v = Var();
    return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
  }
  double Double() {
    const std::uint64_t bits = Fixed64();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
  }
  std::string Text() {
    const std::uint64_t n = Var();
    if (!Need(n)) return {};
    std::string s(in_.substr(pos_, n));
    pos_ += n;
    return s;
  }
  // A count of items of at least `minBytes` each: more than the bytes left can hold is damage,
  // caught before anything is reserved for it.
  std::uint64_t Count(std::size_t minBytes) {
    const std::uint64_t n = Var();
    return ok_ && n <= (in_.size() - pos_) / minBytes ? n : Fail();
  }
  std::uint64_t Fail() {
    ok_ = false;
    return 0;
  }

 private:
  bool Need(std::uint64_t n) {
    if (ok_ && n <= in_.size() - pos_) return true;
    ok_ = false;
    return false;
  }
  std::string_view in_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

constexpr std::uint64_t kMaxInt = static_cast<std::uint64_t>(std::numeric_limits<int>::max());
constexpr std::uint64_t kMaxU32 = std::numeric_limits<std::uint32_t>::max();

// The texts written after a row's fixed values. The archive path, link identity and audio values
// also live in the extras but have fields of their own in every row, so extras holding only those
// write no text block and a row's bytes do not depend on where it keeps them.
const ResultFileExtras* ExtraTexts(const ResultFile& f) {
  const ResultFileExtras* e = f.extras.get();
  if (!e || (e->owner.empty() && e->AudioDuration.empty() && e->tmppath.empty() && e->thumbnailpath.empty()))
    return nullptr;
  return e;
}

void WriteFile(Writer& w, const ResultFile& f, std::unordered_map<std::string_view, std::uint64_t>& folders) {
  const ResultFileExtras* extras = ExtraTexts(f);
  w.U8((f.selected ? kSelected : 0u) | (f.protectedFile ? kProtected : 0u) | (f.IsRefFile ? kRefFile : 0u) |
       (f.GetFileInfo ? kInfoPending : 0u) | (extras ? kHasExtras : 0u));
  w.Text(f.dupname);
  // Files of one folder share its text: the first time it is written out, later by number.
  if (auto it = folders.find(f.path); it != folders.end()) {
    w.Var(it->second);
  } else {
    w.Var(0);
    w.Text(f.path);
    folders.emplace(f.path, folders.size() + 1);
  }
  w.Text(f.PathA());
  w.Var(f.size);
  w.Double(f.dateVal);
  w.Double(f.dateEval);
  w.Var(f.attr);
  w.Var(f.hardlinks);
  w.Text(f.HardlinkID());
  w.SignedVar(f.similar);
  w.SignedVar(f.picW);
  w.SignedVar(f.picH);
  w.Double(f.AudioDurationVal());
  w.SignedVar(f.AudioBitrate());
  w.SignedVar(f.AudioSamplingrate());
  w.SignedVar(f.qnr);
  w.SignedVar(f.archiv);
  w.Var(f.device);
  w.Var(f.inode);
  if (extras) {
    w.Text(extras->owner);
    w.Text(extras->AudioDuration);
    w.Text(extras->tmppath);
    w.Text(extras->thumbnailpath);
  }
}

int SmallInt(Reader& r) {
  const std::int64_t v = r.SignedVar();
  if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) r.Fail();
  return static_cast<int>(v);
}

bool ReadFile(Reader& r, ResultFile& f, std::vector<SharedText>& folders) {
  const unsigned flags = r.U8();
  if (flags & ~kKnownFlags) return r.Fail();
  f.selected = flags & kSelected;
  f.protectedFile = flags & kProtected;
  f.IsRefFile = flags & kRefFile;
  f.GetFileInfo = flags & kInfoPending;
  f.dupname = r.Text();
  const std::uint64_t folder = r.VarAtMost(folders.size());
  if (folder == 0) {
    f.path = r.Text();
    folders.push_back(f.path);
  } else if (r.ok()) {
    f.path = folders[folder - 1];
  }
  f.SetPathA(r.Text());
  f.size = r.Var();
  f.dateVal = r.Double();
  f.dateEval = r.Double();
  f.attr = static_cast<std::uint32_t>(r.VarAtMost(kMaxU32));
  f.hardlinks = static_cast<std::uint32_t>(r.VarAtMost(kMaxU32));
  f.SetHardlinkID(r.Text());
  f.similar = SmallInt(r);
  f.picW = SmallInt(r);
  f.picH = SmallInt(r);
  f.SetAudioDurationVal(r.Double());
  f.SetAudioBitrate(SmallInt(r));
  f.SetAudioSamplingrate(SmallInt(r));
  f.qnr = SmallInt(r);
  f.archiv = SmallInt(r);
  f.device = r.Var();
  f.inode = r.Var();
  if (flags & kHasExtras) {
    ResultFileExtras& e = f.EditExtras();
    e.owner = r.Text();
    e.AudioDuration = r.Text();
    e.tmppath = r.Text();
    e.thumbnailpath = r.Text();
  }
  return r.ok();
}

}  // namespace

std::string EncodeResultRows(const ResultTree& tree, const ResultRowsHeader& header) {
  Writer w;
  w.Raw(kMagic, sizeof kMagic);
  w.Fixed32(kResultRowsVersion);
  w.SignedVar(header.stopReason);
  w.SignedVar(header.captionType);
  w.SignedVar(header.lastGroupId);
  w.Text(header.description);
  w.Var(header.descriptionLines.size());
  for (const std::string& line : header.descriptionLines) w.Text(line);
  w.Var(tree.groups.size());
  std::unordered_map<std::string_view, std::uint64_t> folders;
  for (const ResultGroup& g : tree.groups) {
    w.SignedVar(g.id);
    w.Text(g.dupname);
    w.Var(g.sizeG);
    w.Double(g.dateG);
    w.U8(g.expanded ? 1 : 0);
    w.Var(g.files.size());
    for (const ResultFile& f : g.files) WriteFile(w, f, folders);
  }
  w.Raw(kEnd, sizeof kEnd);
  w.Fixed64(Fnv1a(w.bytes()));
  return std::move(w.bytes());
}

RowsError DecodeResultRows(std::string_view bytes, ResultTree& tree, ResultRowsHeader& header) {
  const ResultDisplay display = tree.display;
  tree.Clear();
  header = {};
  if (bytes.size() < sizeof kMagic + 4 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return RowsError::Foreign;
  Reader r(bytes.substr(sizeof kMagic));
  if (r.Fixed32() > kResultRowsVersion) return RowsError::NewerVersion;
  // The checksum covers everything before it: a flipped byte anywhere is caught here.
  constexpr std::size_t kTrailer = sizeof kEnd + 8;
  if (bytes.size() < sizeof kMagic + 4 + kTrailer) return RowsError::Damaged;
  const std::string_view body = bytes.substr(0, bytes.size() - 8);
  Reader sum(bytes.substr(bytes.size() - 8));
  if (sum.Fixed64() != Fnv1a(body) || std::memcmp(body.data() + body.size() - sizeof kEnd, kEnd, sizeof kEnd) != 0)
    return RowsError::Damaged;
  r = Reader(body.substr(sizeof kMagic + 4, body.size() - sizeof kMagic - 4 - sizeof kEnd));

  ResultTree loaded;
  ResultRowsHeader h;
  h.stopReason = SmallInt(r);
  h.captionType = SmallInt(r);
  h.lastGroupId = SmallInt(r);
  h.description = r.Text();
  const std::uint64_t lines = r.Count(1);
  for (std::uint64_t i = 0; i < lines && r.ok(); ++i) h.descriptionLines.push_back(r.Text());
  const std::uint64_t groups = r.Count(13);
  loaded.groups.reserve(groups);
  // Rows name their folder by number after its first row, so they share its text once loaded.
  std::vector<SharedText> folders;
  std::int32_t highestId = 0;
  for (std::uint64_t gi = 0; gi < groups && r.ok(); ++gi) {
    ResultGroup g;
    g.id = SmallInt(r);
    g.dupname = r.Text();
    g.sizeG = r.Var();
    g.dateG = r.Double();
    const unsigned expanded = r.U8();
    if (expanded > 1) r.Fail();
    g.expanded = expanded == 1;
    highestId = std::max(highestId, g.id);
    const std::uint64_t files = r.Count(40);
    loaded.groups.push_back(std::move(g));
    ResultGroup& added = loaded.groups.back();
    added.files.reserve(files);
    for (std::uint64_t fi = 0; fi < files && r.ok(); ++fi) {
      ResultFile f;
      if (ReadFile(r, f, folders)) loaded.AddFile(added, std::move(f));
    }
  }
  if (!r.ok() || !r.AtEnd() || h.lastGroupId < highestId || h.captionType < kCaptionName ||
      h.captionType > kCaptionTrackLength)
    return RowsError::Damaged;
  loaded.counters.GroupID = h.lastGroupId;
  loaded.captionType = h.captionType;
  loaded.display = display;
  tree = std::move(loaded);
  header = std::move(h);
  return RowsError::None;
}

}  // namespace twinex
