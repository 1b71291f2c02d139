#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace wiremap {

// Memory for the large flat arrays of a big project: pins, keys, orders, nets. Their
// pages are all touched once, and on a virtual machine faulting in hundreds of megabytes
// a small page at a time cost more than the work done on them. On Linux an array of a
// megabyte or more is therefore asked for in huge pages; elsewhere it is ordinary memory.
template <class T>
class TLargeAllocator {
 public:
  using value_type = T;

  TLargeAllocator() = default;
  template <class U>
  TLargeAllocator(const TLargeAllocator<U>&) noexcept {}

  T* allocate(size_t ACount) { return static_cast<T*>(Allocate(ACount * sizeof(T))); }
  void deallocate(T* AAddress, size_t ACount) noexcept { Free(AAddress, ACount * sizeof(T)); }

  friend bool operator==(const TLargeAllocator&, const TLargeAllocator&) { return true; }

 private:
  static constexpr size_t HugePage = size_t{2} << 20;
  static constexpr size_t LargeSize = size_t{1} << 20;

  static void* Allocate(size_t ABytes) {
#if defined(__linux__)
    if (ABytes >= LargeSize) {
      const size_t Rounded = (ABytes + HugePage - 1) / HugePage * HugePage;
      void* Address = std::aligned_alloc(HugePage, Rounded);
      if (!Address) throw std::bad_alloc();
      madvise(Address, Rounded, MADV_HUGEPAGE);  // only advice: ordinary pages still work
      return Address;
    }
#endif
    return ::operator new(ABytes);
  }

  static void Free(void* AAddress, [[maybe_unused]] size_t ABytes) noexcept {
#if defined(__linux__)
    if (ABytes >= LargeSize) return std::free(AAddress);
#endif
    ::operator delete(AAddress);
  }
};

template <class T>
using TLargeVector = std::vector<T, TLargeAllocator<T>>;

using TLargeString = std::basic_string<char, std::char_traits<char>, TLargeAllocator<char>>;

}  // namespace wiremap
