#pragma once

namespace wiremap {

// Bytes currently allocated from the program's heap, in whole kilobytes (rounded down),
// measured afresh on every call. Under the address sanitizer its allocator's figure.
unsigned long long UsedMemoryKB();

}  // namespace wiremap
