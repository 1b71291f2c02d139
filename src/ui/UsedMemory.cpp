#include "ui/UsedMemory.h"

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime (its header ships with clang only).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#elif defined(__GLIBC__)
#include <malloc.h>
#endif

namespace wiremap {

unsigned long long UsedMemoryKB() {
#if defined(__SANITIZE_ADDRESS__)
  // The sanitizer's allocator takes the place of the C library's heap.
  return __sanitizer_get_current_allocated_bytes() / 1024;
#elif defined(__GLIBC__)
  const struct mallinfo2 Info = mallinfo2();
  return (static_cast<unsigned long long>(Info.uordblks) + Info.hblkhd) / 1024;
#else
  return 0;
#endif
}

}  // namespace wiremap
