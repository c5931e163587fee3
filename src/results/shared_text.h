#pragma once
// An immutable text shared by reference: a large result holds tens of thousands of rows, most of
// them in a few thousand folders, and a copy of the folder text per row would cost a string and a
// heap block each. Copies share one node; giving a copy another text makes a node of its own, so
// no holder ever sees its text change. The count is atomic because rows are copied on other
// threads (saving, undo) while the search still makes rows from the same nodes.
//
// It reads like the std::string it stands in for: it converts to const std::string& and
// std::string_view, and compares and concatenates with strings.
#include <atomic>
#include <compare>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace twinex {

class SharedText {
 public:
  SharedText() noexcept = default;
  SharedText(const std::string& text) : node_(Make(std::string(text))) {}
  SharedText(std::string&& text) : node_(Make(std::move(text))) {}
  SharedText(std::string_view text) : node_(Make(std::string(text))) {}
  SharedText(const char* text) : node_(Make(text ? std::string(text) : std::string())) {}

  SharedText(const SharedText& o) noexcept : node_(o.node_) {
    if (node_) node_->refs.fetch_add(1, std::memory_order_relaxed);
  }
  SharedText(SharedText&& o) noexcept : node_(std::exchange(o.node_, nullptr)) {}
  // Both by value: a self-assignment or an assignment from the text's own node stays valid.
  SharedText& operator=(SharedText o) noexcept {
    std::swap(node_, o.node_);
    return *this;
  }
  ~SharedText() { Release(node_); }

  const std::string& str() const noexcept { return node_ ? node_->text : EmptyText(); }
  operator const std::string&() const noexcept { return str(); }
  operator std::string_view() const noexcept { return str(); }
  const char* c_str() const noexcept { return str().c_str(); }
  const char* data() const noexcept { return str().data(); }
  std::size_t size() const noexcept { return str().size(); }
  bool empty() const noexcept { return node_ == nullptr; }
  std::size_t rfind(char c, std::size_t pos = std::string::npos) const noexcept { return str().rfind(c, pos); }
  std::string substr(std::size_t pos, std::size_t n = std::string::npos) const { return str().substr(pos, n); }

  // Overloads for each kind of text, so that no comparison has to choose between conversions.
  friend bool operator==(const SharedText& a, const SharedText& b) noexcept {
    return a.node_ == b.node_ || a.str() == b.str();
  }
  friend bool operator==(const SharedText& a, const std::string& b) noexcept { return a.str() == b; }
  friend bool operator==(const SharedText& a, std::string_view b) noexcept { return a.str() == b; }
  friend bool operator==(const SharedText& a, const char* b) noexcept { return a.str() == b; }
  friend std::strong_ordering operator<=>(const SharedText& a, const SharedText& b) noexcept {
    return a.str() <=> b.str();
  }
  friend std::strong_ordering operator<=>(const SharedText& a, const std::string& b) noexcept {
    return a.str() <=> b;
  }
  friend std::strong_ordering operator<=>(const SharedText& a, std::string_view b) noexcept {
    return std::string_view(a.str()) <=> b;
  }
  friend std::strong_ordering operator<=>(const SharedText& a, const char* b) noexcept {
    return std::string_view(a.str()) <=> std::string_view(b);
  }

  friend std::string operator+(const SharedText& a, std::string_view b) { return Join(a.str(), b); }
  friend std::string operator+(const SharedText& a, const std::string& b) { return Join(a.str(), b); }
  friend std::string operator+(const SharedText& a, const char* b) { return Join(a.str(), b); }
  friend std::string operator+(const SharedText& a, char b) { return Join(a.str(), std::string_view(&b, 1)); }
  friend std::string operator+(const SharedText& a, const SharedText& b) { return Join(a.str(), b.str()); }
  friend std::string operator+(std::string_view a, const SharedText& b) { return Join(a, b.str()); }
  friend std::string operator+(const std::string& a, const SharedText& b) { return Join(a, b.str()); }
  friend std::string operator+(std::string&& a, const SharedText& b) { return std::move(a.append(b.str())); }
  friend std::string operator+(const char* a, const SharedText& b) { return Join(a, b.str()); }
  friend std::string operator+(char a, const SharedText& b) { return Join(std::string_view(&a, 1), b.str()); }

 private:
  struct Node {
    std::atomic<std::size_t> refs;
    const std::string text;
  };

  static Node* Make(std::string&& text) { return text.empty() ? nullptr : new Node{{1}, std::move(text)}; }
  static void Release(Node* node) noexcept {
    // The last holder must see every other holder's use of the text before it frees it.
    if (node && node->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete node;
  }
  static const std::string& EmptyText() noexcept {
    static const std::string empty;
    return empty;
  }
  static std::string Join(std::string_view a, std::string_view b) {
    std::string out;
    out.reserve(a.size() + b.size());
    out.append(a).append(b);
    return out;
  }

  Node* node_ = nullptr;
};

}  // namespace twinex
