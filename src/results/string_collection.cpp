#include "results/string_collection.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/text.h"

namespace twinex {

namespace {

const std::string kNoText;

// Frees a string's buffer instead of only emptying it: large collections are released early.
void Release(std::string& s, const char* replacement = "") { std::string(replacement).swap(s); }

}  // namespace

// ---------------------------------------------------------------- growth and node pool

long GrowthPolicy::Next(long current) const {
  if (current >= kMaxNodes) return kMaxNodes;
  const double c = static_cast<double>(current);
  double target = kind == Kind::Factor ? std::round(c * value) : c + std::round(value);
  if (!(target >= c + 1)) target = c + 1;  // also catches NaN and negative steps
  if (target > static_cast<double>(kMaxNodes)) target = static_cast<double>(kMaxNodes);
  return static_cast<long>(target);
}

// The pool grows by the owner's own policy, so a table that grows its node array by a fixed
// step grows its pool by the same step rather than multiplying its size by that step, and pool
// and node array keep the same size. The owner still sizes its node array from the pool's
// capacity, so it can never hand out a node number the node array does not hold.
void CNode::Init(long initialAllocVal, GrowthPolicy growth) {
  const long n = std::clamp(initialAllocVal, 1L, kMaxNodes);
  growth_ = growth;
  next_.assign(static_cast<std::size_t>(n) + 1, 0);
  Chain(1, n);
  head_ = 1;
}

void CNode::Chain(long from, long to) {
  for (long i = from; i < to; ++i) next_[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(i + 1);
  next_[static_cast<std::size_t>(to)] = 0;
}

long CNode::Alloc() {
  if (!Initialised()) Init(100, GrowthPolicy::Factor(1.5));
  if (head_ == 0) {
    const long current = Capacity();
    const long grown = growth_.Next(current);
    if (grown <= current) throw std::length_error("CNode.Alloc: no node number left");
    next_.resize(static_cast<std::size_t>(grown) + 1);
    Chain(current + 1, grown);
    head_ = current + 1;
  }
  const long i = head_;
  head_ = next_[static_cast<std::size_t>(i)];
  return i;
}

void CNode::Free(long i) {
  if (i < 1 || i > Capacity()) return;
  next_[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(head_);
  head_ = i;
}

std::string KeyRef::Text() const {
  return kind_ == Kind::Position ? std::to_string(position_) : std::string(key_);
}

// ---------------------------------------------------------------- set-up

void CStringCollection::Init(long initialAllocVal, GrowthPolicy growth) {
  initialAlloc_ = std::clamp(initialAllocVal, 1L, kMaxNodes);
  growth_ = growth;
  pool_.Init(initialAlloc_, growth_);
  // Nodes are built as they are first handed out: the room is reserved, but a table that starts
  // with room for 100,000 files costs no memory for the files it never sees.
  std::vector<Node>().swap(nodes_);
  nodes_.reserve(static_cast<std::size_t>(initialAlloc_) + 1);
  nodes_.resize(1);
  positions_.assign(static_cast<std::size_t>(initialAlloc_) + 2, 0);
  root_ = 0;
  count_ = 0;
}

void CStringCollection::EnsureInitialised() {
  if (!pool_.Initialised()) Init(initialAlloc_, growth_);
}

void CStringCollection::GrowArrays(long node) {
  const auto cap = static_cast<std::size_t>(pool_.Capacity());
  if (nodes_.capacity() < cap + 1) nodes_.reserve(cap + 1);
  if (nodes_.size() <= static_cast<std::size_t>(node)) nodes_.resize(static_cast<std::size_t>(node) + 1);
  if (positions_.size() < cap + 2) positions_.resize(cap + 2, 0);
}

long CStringCollection::Clear() {
  const long had = count_;
  std::vector<Node>().swap(nodes_);
  std::vector<std::int32_t>().swap(positions_);
  pool_ = CNode();
  root_ = 0;
  count_ = 0;
  return had;
}

void CStringCollection::SetCompareMode(long mode) {
  const bool wasInsensitive = CaseInsensitive();
  compareMode_ = mode;
  if (wasInsensitive != CaseInsensitive() && count_ > 0) RebuildTree();
}

// The tree is ordered by the compare form, which just changed: file every key again, in
// collection order. Keys that became equal under the new comparison all stay; a lookup finds one.
void CStringCollection::RebuildTree() {
  root_ = 0;
  for (long p = 1; p <= count_; ++p) {
    const long node = positions_[static_cast<std::size_t>(p)];
    Node& n = N(node);
    if (!n.inTree) continue;
    const std::string key = n.key;
    SetStoredKey(n, key);
    Link(node, InsertionParent(CompareKey(n)));
  }
}

// ---------------------------------------------------------------- keys

const std::string& CStringCollection::CompareKey(const Node& n) const {
  return CaseInsensitive() && !n.extra.folded().empty() ? n.extra.folded() : n.key;
}

// The folded form is kept beside the key so that a lookup folds only the searched key, not every
// node key on its way down; most keys fold to themselves and then need no second copy.
void CStringCollection::SetStoredKey(Node& n, std::string_view key) {
  n.key.assign(key);
  n.extra.SetFolded({});
  if (CaseInsensitive() && !key.empty()) {
    std::string folded = platform::FoldCase(key);
    if (folded != n.key) n.extra.SetFolded(std::move(folded));
  }
}

// Smaller keys hang to the right: a node key greater than the searched one sends the search right.
long CStringCollection::Descend(std::string_view form, long* parent) const {
  long x = root_;
  long p = 0;
  while (x != 0) {
    const int c = CompareKey(N(x)).compare(form);
    if (c == 0) return x;
    p = x;
    x = c > 0 ? N(x).right : N(x).left;
  }
  if (parent) *parent = p;
  return 0;
}

long CStringCollection::InsertionParent(std::string_view form) const {
  long x = root_;
  long p = 0;
  while (x != 0) {
    p = x;
    x = CompareKey(N(x)).compare(form) > 0 ? N(x).right : N(x).left;
  }
  return p;
}

long CStringCollection::FindNode(std::string_view key) const {
  if (key.empty() || root_ == 0) return 0;
  if (!CaseInsensitive()) return Descend(key);
  return Descend(platform::FoldCase(key));
}

long CStringCollection::ExistKey(std::string_view key) const { return FindNode(key); }

long CStringCollection::NodeAt(long position) const {
  if (position < 1 || position > count_) return 0;
  return positions_[static_cast<std::size_t>(position)];
}

long CStringCollection::PositionOf(long node) const {
  const auto first = positions_.begin() + 1;
  const auto last = first + count_;
  const auto it = std::find(first, last, static_cast<std::int32_t>(node));
  return it == last ? 0 : static_cast<long>(it - first) + 1;
}

long CStringCollection::Resolve(KeyRef ref) const {
  if (ref.IsNone()) return 0;
  return ref.IsPosition() ? NodeAt(ref.Position()) : FindNode(ref.Key());
}

long CStringCollection::TargetPosition(KeyRef ref) const {
  if (ref.IsPosition()) return NodeAt(ref.Position()) ? ref.Position() : 0;
  const long node = Resolve(ref);
  return node ? PositionOf(node) : 0;
}

[[noreturn]] void CStringCollection::Fail(const char* source, std::string description) const {
  throw CollectionError(source, std::move(description));
}

std::string CStringCollection::DuplicateText(std::string_view key) const {
  return (CaseInsensitive() ? "Duplicate KeyA: " : "Duplicate KeyB: ") + std::string(key);
}

// ---------------------------------------------------------------- insert and remove

long CStringCollection::Add(std::string_view item, std::string_view key, long tag, KeyRef before, KeyRef after,
                            bool raiseError, long* existingTag, long* existingNode) {
  EnsureInitialised();
  const bool raise = raiseError || raiseError_;

  std::string folded;
  long parent = 0;
  if (!key.empty()) {
    if (CaseInsensitive()) folded = platform::FoldCase(key);
    const long existing = Descend(CaseInsensitive() ? std::string_view(folded) : key, &parent);
    if (existing != 0) {
      if (existingTag) *existingTag = N(existing).tag;
      if (existingNode) *existingNode = existing;
      if (raise) Fail("CStringCollection.Add", DuplicateText(key));
      return 0;
    }
  }

  // The place is settled before anything is touched, so a failed Before/After leaves no trace.
  long pos = count_ + 1;
  if (!before.IsNone()) {
    pos = TargetPosition(before);
    if (pos == 0) {
      if (raise) Fail("CStringCollection.Add", "Key not found before: " + before.Text());
      return 0;
    }
  } else if (!after.IsNone()) {
    pos = TargetPosition(after);
    if (pos == 0) {
      if (raise) Fail("CStringCollection.Add", "Key not found after: " + after.Text());
      return 0;
    }
    ++pos;
  }

  const long node = pool_.Alloc();
  GrowArrays(node);
  Node& n = N(node);
  n = Node();
  n.key.assign(key);
  n.extra.SetItem(item);
  n.tag = tag;
  if (!folded.empty() && folded != n.key) n.extra.SetFolded(std::move(folded));
  if (!key.empty()) Link(node, parent);

  std::int32_t* slots = positions_.data();
  std::memmove(slots + pos + 1, slots + pos, static_cast<std::size_t>(count_ - pos + 1) * sizeof(std::int32_t));
  slots[pos] = static_cast<std::int32_t>(node);
  ++count_;
  return node;
}

long CStringCollection::Remove(KeyRef keyVal) {
  const long pos = TargetPosition(keyVal);
  if (pos == 0) return 0;
  const long node = positions_[static_cast<std::size_t>(pos)];
  if (N(node).inTree) Unlink(node);

  std::int32_t* slots = positions_.data();
  std::memmove(slots + pos, slots + pos + 1, static_cast<std::size_t>(count_ - pos) * sizeof(std::int32_t));
  slots[count_] = 0;
  --count_;

  N(node) = Node();
  pool_.Free(node);
  return node;
}

void CStringCollection::RemoveBeforeClear(long index) {
  if (index < 1 || static_cast<std::size_t>(index) >= nodes_.size()) return;  // never handed out
  Node& n = N(index);
  if (n.inTree) Unlink(index);
  Release(n.key, "1");
  n.extra = NodeExtra();
}

// ---------------------------------------------------------------- values

const std::string& CStringCollection::Item(KeyRef vKey) const {
  const long node = Resolve(vKey);
  return node ? N(node).extra.item() : kNoText;
}

bool CStringCollection::SetItem(KeyRef vKey, std::string_view item) {
  const long node = Resolve(vKey);
  if (node == 0) return false;
  N(node).extra.SetItem(item);
  return true;
}

long CStringCollection::Tag(KeyRef vKey, bool dontShowError) const {
  const long node = Resolve(vKey);
  if (node != 0) return N(node).tag;
  if (raiseError_ && !dontShowError && !vKey.IsNone()) Fail("CStringCollection.Tag", "Key not found: " + vKey.Text());
  return 0;
}

bool CStringCollection::SetTag(KeyRef vKey, long tag) {
  const long node = Resolve(vKey);
  if (node == 0) return false;
  N(node).tag = tag;
  return true;
}

bool CStringCollection::ChangeValues(KeyRef vKey, std::string_view item, long tag) {
  const long node = Resolve(vKey);
  if (node == 0) return false;
  N(node).extra.SetItem(item);
  N(node).tag = tag;
  return true;
}

const std::string& CStringCollection::Key(long index) const {
  const long node = NodeAt(index);
  return node ? N(node).key : kNoText;
}

// A key is also the node's place in the tree: changing it in place would hide the element from
// every later lookup, so the node is taken out and filed again under the new key.
bool CStringCollection::SetKey(long index, std::string_view key) {
  const long node = NodeAt(index);
  if (node == 0) return false;
  const long other = FindNode(key);
  if (other != 0 && other != node) {
    if (raiseError_) Fail("CStringCollection.Key", DuplicateText(key));
    return false;
  }
  if (N(node).inTree) Unlink(node);
  SetStoredKey(N(node), key);
  if (!key.empty()) Link(node, InsertionParent(CompareKey(N(node))));
  return true;
}

// ---------------------------------------------------------------- red-black tree

void CStringCollection::Link(long node, long parent) {
  Node& n = N(node);
  n.left = n.right = 0;
  n.parent = static_cast<std::int32_t>(parent);
  n.colour = kRed;
  n.inTree = true;
  if (parent == 0)
    root_ = node;
  else if (CompareKey(N(parent)).compare(CompareKey(n)) > 0)
    N(parent).right = static_cast<std::int32_t>(node);
  else
    N(parent).left = static_cast<std::int32_t>(node);
  InsertFixup(node);
}

void CStringCollection::RotateLeft(long x) {
  const long y = N(x).right;
  N(x).right = N(y).left;
  if (N(y).left != 0) N(N(y).left).parent = static_cast<std::int32_t>(x);
  Transplant(x, y);
  N(y).left = static_cast<std::int32_t>(x);
  N(x).parent = static_cast<std::int32_t>(y);
}

void CStringCollection::RotateRight(long x) {
  const long y = N(x).left;
  N(x).left = N(y).right;
  if (N(y).right != 0) N(N(y).right).parent = static_cast<std::int32_t>(x);
  Transplant(x, y);
  N(y).right = static_cast<std::int32_t>(x);
  N(x).parent = static_cast<std::int32_t>(y);
}

// Puts v where u hangs (v may be the sentinel, whose parent link the delete fix-up then reads).
void CStringCollection::Transplant(long u, long v) {
  const long p = N(u).parent;
  if (p == 0)
    root_ = v;
  else if (N(p).left == u)
    N(p).left = static_cast<std::int32_t>(v);
  else
    N(p).right = static_cast<std::int32_t>(v);
  N(v).parent = static_cast<std::int32_t>(p);
}

void CStringCollection::InsertFixup(long z) {
  while (N(N(z).parent).colour == kRed) {
    long p = N(z).parent;
    const long g = N(p).parent;
    const bool parentIsLeft = N(g).left == p;
    const long uncle = parentIsLeft ? N(g).right : N(g).left;
    if (N(uncle).colour == kRed) {
      N(p).colour = kBlack;
      N(uncle).colour = kBlack;
      N(g).colour = kRed;
      z = g;
      continue;
    }
    if (parentIsLeft) {
      if (z == N(p).right) {
        z = p;
        RotateLeft(z);
        p = N(z).parent;
      }
      N(p).colour = kBlack;
      N(g).colour = kRed;
      RotateRight(g);
    } else {
      if (z == N(p).left) {
        z = p;
        RotateRight(z);
        p = N(z).parent;
      }
      N(p).colour = kBlack;
      N(g).colour = kRed;
      RotateLeft(g);
    }
  }
  N(root_).colour = kBlack;
}

void CStringCollection::Unlink(long z) {
  long y = z;
  std::uint8_t removedColour = N(y).colour;
  long x = 0;
  if (N(z).left == 0) {
    x = N(z).right;
    Transplant(z, x);
  } else if (N(z).right == 0) {
    x = N(z).left;
    Transplant(z, x);
  } else {
    y = N(z).right;
    while (N(y).left != 0) y = N(y).left;
    removedColour = N(y).colour;
    x = N(y).right;
    if (N(y).parent == z) {
      N(x).parent = static_cast<std::int32_t>(y);
    } else {
      Transplant(y, x);
      N(y).right = N(z).right;
      N(N(y).right).parent = static_cast<std::int32_t>(y);
    }
    Transplant(z, y);
    N(y).left = N(z).left;
    N(N(y).left).parent = static_cast<std::int32_t>(y);
    N(y).colour = N(z).colour;
  }
  if (removedColour == kBlack) DeleteFixup(x);

  Node& sentinel = N(0);
  sentinel.left = sentinel.right = sentinel.parent = 0;
  sentinel.colour = kBlack;
  Node& gone = N(z);
  gone.left = gone.right = gone.parent = 0;
  gone.inTree = false;
}

void CStringCollection::DeleteFixup(long x) {
  while (x != root_ && N(x).colour == kBlack) {
    const long p = N(x).parent;
    if (x == N(p).left) {
      long w = N(p).right;
      if (N(w).colour == kRed) {
        N(w).colour = kBlack;
        N(p).colour = kRed;
        RotateLeft(p);
        w = N(p).right;
      }
      if (N(N(w).left).colour == kBlack && N(N(w).right).colour == kBlack) {
        N(w).colour = kRed;
        x = p;
        continue;
      }
      if (N(N(w).right).colour == kBlack) {
        N(N(w).left).colour = kBlack;
        N(w).colour = kRed;
        RotateRight(w);
        w = N(p).right;
      }
      N(w).colour = N(p).colour;
      N(p).colour = kBlack;
      N(N(w).right).colour = kBlack;
      RotateLeft(p);
    } else {
      long w = N(p).left;
      if (N(w).colour == kRed) {
        N(w).colour = kBlack;
        N(p).colour = kRed;
        RotateRight(p);
        w = N(p).left;
      }
      if (N(N(w).right).colour == kBlack && N(N(w).left).colour == kBlack) {
        N(w).colour = kRed;
        x = p;
        continue;
      }
      if (N(N(w).left).colour == kBlack) {
        N(N(w).right).colour = kBlack;
        N(w).colour = kRed;
        RotateLeft(w);
        w = N(p).left;
      }
      N(w).colour = N(p).colour;
      N(p).colour = kBlack;
      N(N(w).left).colour = kBlack;
      RotateRight(p);
    }
    x = root_;
  }
  N(x).colour = kBlack;
}

// ---------------------------------------------------------------- self-check

bool CStringCollection::CheckInvariants() const {
  if (!pool_.Initialised()) return count_ == 0 && root_ == 0 && nodes_.empty();
  const long cap = NodeCapacity();
  if (pool_.Capacity() > cap || static_cast<long>(positions_.size()) < cap + 2) return false;
  if (count_ < 0 || count_ > cap) return false;

  const Node& sentinel = N(0);
  if (sentinel.colour != kBlack || sentinel.left || sentinel.right || sentinel.parent || sentinel.inTree) return false;

  // Every position names a distinct node in use; every other pool node is on the free chain.
  std::vector<std::uint8_t> state(static_cast<std::size_t>(cap) + 1, 0);  // 1 in use, 2 free
  long inTree = 0;
  for (long p = 1; p <= count_; ++p) {
    const long node = positions_[static_cast<std::size_t>(p)];
    if (node < 1 || node > pool_.Capacity() || state[static_cast<std::size_t>(node)]) return false;
    state[static_cast<std::size_t>(node)] = 1;
    const Node& n = N(node);
    if (n.inTree) {
      ++inTree;
      if (n.key.empty()) return false;
    }
    if (!CaseInsensitive() && !n.extra.folded().empty()) return false;
    if (CaseInsensitive() && n.inTree) {
      const std::string expected = platform::FoldCase(n.key);
      const std::string& folded = n.extra.folded();
      if (folded.empty() ? expected != n.key : (folded != expected || folded == n.key)) return false;
    }
  }
  long freeCount = 0;
  for (long i = pool_.FirstFree(); i != 0; i = pool_.NextFree(i)) {
    if (i < 1 || i > pool_.Capacity() || state[static_cast<std::size_t>(i)]) return false;
    state[static_cast<std::size_t>(i)] = 2;
    ++freeCount;
  }
  if (freeCount + count_ != pool_.Capacity()) return false;

  // Tree: links agree, red nodes have black children, equal black heights, and an in-order walk
  // (larger keys on the left) never meets a key greater than the one before.
  if (root_ != 0 && (N(root_).parent != 0 || N(root_).colour != kBlack)) return false;
  long visited = 0;
  const std::string* previous = nullptr;
  auto walk = [&](auto& self, long x) -> long {
    if (x == 0) return 1;
    if (++visited > inTree || state[static_cast<std::size_t>(x)] != 1 || !N(x).inTree) return -1;
    const Node& n = N(x);
    if ((n.left && N(n.left).parent != x) || (n.right && N(n.right).parent != x)) return -1;
    if (n.colour == kRed && (N(n.left).colour == kRed || N(n.right).colour == kRed)) return -1;
    const long leftHeight = self(self, n.left);
    if (leftHeight < 0) return -1;
    if (previous && previous->compare(CompareKey(n)) < 0) return -1;
    previous = &CompareKey(n);
    const long rightHeight = self(self, n.right);
    if (rightHeight < 0 || rightHeight != leftHeight) return -1;
    return leftHeight + (n.colour == kBlack ? 1 : 0);
  };
  return walk(walk, root_) > 0 && visited == inTree;
}

}  // namespace twinex
