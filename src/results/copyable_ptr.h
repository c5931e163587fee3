#pragma once
// An owning pointer that copies its object with it: for rarely filled parts of records that
// exist by the hundred thousand, so that the common record stays small and still copies as a value.
#include <memory>

namespace twinex {

template <typename T>
class CopyablePtr {
 public:
  CopyablePtr() = default;
  CopyablePtr(const CopyablePtr& o) : p_(o.p_ ? std::make_unique<T>(*o.p_) : nullptr) {}
  CopyablePtr& operator=(const CopyablePtr& o) {
    p_ = o.p_ ? std::make_unique<T>(*o.p_) : nullptr;
    return *this;
  }
  CopyablePtr(CopyablePtr&&) noexcept = default;
  CopyablePtr& operator=(CopyablePtr&&) noexcept = default;

  const T* get() const { return p_.get(); }
  T& Ensure() {
    if (!p_) p_ = std::make_unique<T>();
    return *p_;
  }
  void reset() { p_.reset(); }

 private:
  std::unique_ptr<T> p_;
};

}  // namespace twinex
