// An allocator for large, short-lived working arrays (the entries a table sorts on open): it
// asks the system for huge pages where it offers them, so filling 24 MB takes a dozen page
// faults instead of six thousand. Only a hint; ordinary pages serve where there are none.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <new>

namespace wf {

template <class T>
class HugePageAllocator {
 public:
  using value_type = T;

  HugePageAllocator() = default;
  template <class U>
  HugePageAllocator(const HugePageAllocator<U>&) {}

  T* allocate(std::size_t n) {
    if (n > std::size_t(-1) / sizeof(T)) throw std::bad_array_new_length();
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kHugePage) {
      void* small = std::malloc(bytes == 0 ? 1 : bytes);
      if (small == nullptr) throw std::bad_alloc();
      return static_cast<T*>(small);
    }
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* memory = std::aligned_alloc(kHugePage, rounded);
    if (memory == nullptr) throw std::bad_alloc();
    ::madvise(memory, rounded, MADV_HUGEPAGE);
    return static_cast<T*>(memory);
  }
  void deallocate(T* p, std::size_t) { std::free(p); }

  template <class U>
  bool operator==(const HugePageAllocator<U>&) const {
    return true;
  }

 private:
  static constexpr std::size_t kHugePage = std::size_t{2} << 20;
};

}  // namespace wf
