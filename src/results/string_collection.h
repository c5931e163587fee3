#pragma once
// An ordered collection of strings addressed by key or by position. Keys are found through a
// red-black tree, the order is a flat array of node numbers, and nodes come from a pool that
// grows in steps instead of allocating per element, so that tables of hundreds of thousands of
// entries (the search's file table builds on this class) stay fast.
#include <concepts>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "results/copyable_ptr.h"

namespace twinex {

// How the node storage grows when it is full: by a factor (menus, texts, undo lists) or by a
// fixed number of entries (the file table, which starts large and grows by large steps).
struct GrowthPolicy {
  enum class Kind { Factor, Step };
  Kind kind = Kind::Factor;
  double value = 1.5;

  static GrowthPolicy Factor(double factor) { return {Kind::Factor, factor}; }
  static GrowthPolicy Step(long entries) { return {Kind::Step, static_cast<double>(entries)}; }

  // The size after growing from `current`, rounded to the nearest whole number. It is worked out
  // in floating point and clamped, so a large factor or step never overflows; it is always at
  // least current + 1 (a factor of 1 or less, or one that rounds back to the same size, still
  // makes room), and never above kMaxNodes. Equals `current` only when current is kMaxNodes.
  long Next(long current) const;
};

// Largest node number: node numbers, positions and the two spare entries of the position array
// must all fit a signed 32-bit value.
inline constexpr long kMaxNodes = 2147483647L - 2;

// Free-node allocator: a chain of free node numbers (1-based) and the first free one.
class CNode {
 public:
  void Init(long initialAllocVal, float growthFactorVal) { Init(initialAllocVal, GrowthPolicy::Factor(growthFactorVal)); }
  void Init(long initialAllocVal, GrowthPolicy growth);
  // Hands out a free node number, growing the chain by the growth policy when none is left.
  // Throws std::length_error only when kMaxNodes nodes are in use.
  long Alloc();
  void Free(long i);

  bool Initialised() const { return !next_.empty(); }
  long Capacity() const { return next_.empty() ? 0 : static_cast<long>(next_.size()) - 1; }
  long FirstFree() const { return head_; }
  long NextFree(long i) const { return next_[static_cast<std::size_t>(i)]; }

 private:
  void Chain(long from, long to);

  std::vector<std::int32_t> next_;  // index 0 unused
  long head_ = 0;
  GrowthPolicy growth_;
};

// Raised by the collection when the caller asked for errors.
class CollectionError : public std::runtime_error {
 public:
  CollectionError(std::string source, std::string description)
      : std::runtime_error(description), source_(std::move(source)), description_(std::move(description)) {}
  const std::string& Source() const { return source_; }
  const std::string& Description() const { return description_; }

 private:
  std::string source_;
  std::string description_;
};

// Addresses an element either by its 1-based position or by its key; a default KeyRef addresses
// nothing. It only views the key text, so pass it on and do not keep it.
class KeyRef {
 public:
  KeyRef() = default;
  template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>)
  KeyRef(T position) : kind_(Kind::Position), position_(static_cast<long>(position)) {}
  KeyRef(std::string_view key) : kind_(Kind::Key), key_(key) {}
  KeyRef(const char* key) : kind_(Kind::Key), key_(key) {}
  KeyRef(const std::string& key) : kind_(Kind::Key), key_(key) {}

  bool IsNone() const { return kind_ == Kind::None; }
  bool IsPosition() const { return kind_ == Kind::Position; }
  long Position() const { return position_; }
  std::string_view Key() const { return key_; }
  // The key, or the position written as a number (for error texts).
  std::string Text() const;

 private:
  enum class Kind { None, Position, Key };
  Kind kind_ = Kind::None;
  long position_ = 0;
  std::string_view key_;
};

class CStringCollection {
 public:
  // Discards every element and allocates room for `initialAllocVal` nodes.
  void Init(long initialAllocVal, float growthFactorVal) { Init(initialAllocVal, GrowthPolicy::Factor(growthFactorVal)); }
  void Init(long initialAllocVal, GrowthPolicy growth);

  // Inserts an element at the end, or before / after the element `before` / `after` addresses
  // (`before` wins when both are given). An empty key is allowed and never a duplicate; such an
  // element can only be addressed by position. When the key exists already, nothing is inserted
  // and the existing element's Tag and node number go to `existingTag` / `existingNode`. A
  // before/after that addresses nothing also inserts nothing. Either failure raises a
  // CollectionError when `raiseError` or RaiseError() is set. Returns the new element's node
  // number, 0 when nothing was inserted.
  long Add(std::string_view item, std::string_view key = {}, long tag = 0, KeyRef before = {}, KeyRef after = {},
           bool raiseError = false, long* existingTag = nullptr, long* existingNode = nullptr);

  // Node number of the element with this key; 0 when absent, when the key is empty or when the
  // collection is empty.
  long ExistKey(std::string_view key) const;

  // A position outside 1..Count() or a missing key addresses nothing: getters give "" or 0,
  // setters change nothing and return false.
  const std::string& Item(KeyRef vKey) const;
  bool SetItem(KeyRef vKey, std::string_view item);
  // A missing element gives 0; with RaiseError() on and `dontShowError` off it raises
  // "Key not found: " with the key instead.
  long Tag(KeyRef vKey, bool dontShowError = false) const;
  bool SetTag(KeyRef vKey, long tag);
  const std::string& Key(long index) const;
  // Re-files the element under its new key. Refused (false, or raised with RaiseError()) when
  // another element already has that key.
  bool SetKey(long index, std::string_view key);
  bool ChangeValues(KeyRef vKey, std::string_view item, long tag);

  // Removes the addressed element; returns its node number, 0 when nothing was addressed.
  long Remove(KeyRef keyVal);
  // Releases the strings of node `index` early (Key and Item become "1") before a Clear of a very
  // large collection. The node leaves the key tree, so the collection stays consistent; it can
  // still be addressed by position.
  void RemoveBeforeClear(long index);
  // Drops everything and returns the number of elements there were. The next Add initialises the
  // collection again with the sizes of the last Init (100 nodes, factor 1.5 if there was none).
  long Clear();

  long Count() const { return count_; }
  long CompareMode() const { return compareMode_; }
  // 0 compares keys binary, anything else without regard to case. Switching between the two on
  // a filled collection re-files every key under the new comparison.
  void SetCompareMode(long mode);
  bool RaiseError() const { return raiseError_; }
  void SetRaiseError(bool raise) { raiseError_ = raise; }

  // Node number of the element at a position (0 outside 1..Count()), and the size of the node
  // array: tables that keep more per element index them by node number.
  long NodeAt(long position) const;
  // Node numbers up to the pool's capacity may be handed out; their storage is built on first use.
  long NodeCapacity() const { return pool_.Capacity(); }
  long PoolCapacity() const { return pool_.Capacity(); }

  // Checks tree colours, black heights, links, key order, position array and free chain.
  bool CheckInvariants() const;

 private:
  // Item and folded key live apart from the node and only when present: the file table, the
  // largest collection, has neither, and a node without them stays small.
  class NodeExtra {
   public:
    const std::string& item() const { return p_.get() ? p_.get()->item : Empty(); }
    const std::string& folded() const { return p_.get() ? p_.get()->folded : Empty(); }
    void SetItem(std::string_view item) {
      if (p_.get() || !item.empty()) p_.Ensure().item.assign(item);
    }
    void SetFolded(std::string folded) {
      if (p_.get() || !folded.empty()) p_.Ensure().folded = std::move(folded);
    }

   private:
    struct Texts {
      std::string item;
      std::string folded;
    };
    static const std::string& Empty() {
      static const std::string kEmpty;
      return kEmpty;
    }
    CopyablePtr<Texts> p_;
  };

  struct Node {
    std::int32_t left = 0;
    std::int32_t right = 0;
    std::int32_t parent = 0;
    std::uint8_t colour = 0;  // 1 red, 0 black
    bool inTree = false;
    long tag = 0;
    std::string key;
    NodeExtra extra;  // item, and the case-folded key when it differs from the key
  };

  static constexpr std::uint8_t kRed = 1;
  static constexpr std::uint8_t kBlack = 0;

  Node& N(long i) { return nodes_[static_cast<std::size_t>(i)]; }
  const Node& N(long i) const { return nodes_[static_cast<std::size_t>(i)]; }
  bool CaseInsensitive() const { return compareMode_ != 0; }
  const std::string& CompareKey(const Node& n) const;
  void SetStoredKey(Node& n, std::string_view key);

  // Finds the node with this compare form; on a miss `parent` is where it would hang.
  long Descend(std::string_view searchForm, long* parent = nullptr) const;
  // Where a node with this compare form hangs; equal forms go where smaller ones would not.
  long InsertionParent(std::string_view searchForm) const;
  long FindNode(std::string_view key) const;
  long Resolve(KeyRef ref) const;         // node number, 0 for nothing
  long TargetPosition(KeyRef ref) const;  // position, 0 for nothing
  long PositionOf(long node) const;

  void EnsureInitialised();
  void GrowArrays(long node);
  void Link(long node, long parent);
  void InsertFixup(long z);
  void Unlink(long z);
  void DeleteFixup(long x);
  void Transplant(long u, long v);
  void RotateLeft(long x);
  void RotateRight(long x);
  void RebuildTree();

  [[noreturn]] void Fail(const char* source, std::string description) const;
  std::string DuplicateText(std::string_view key) const;

  std::vector<Node> nodes_;               // node 0 is the nil sentinel
  std::vector<std::int32_t> positions_;   // 1-based: node numbers in collection order
  CNode pool_;
  long root_ = 0;
  long count_ = 0;
  long compareMode_ = 1;
  bool raiseError_ = false;
  long initialAlloc_ = 100;
  GrowthPolicy growth_ = GrowthPolicy::Factor(1.5);
};

}  // namespace twinex
