// Host text blocks in the platform's global memory (GlobalAlloc with
// GMEM_FIXED, GlobalFree). Implements the allocator only; the slot rule
// itself is portable (HostText.cpp).
#include "host/GlobalBlocks.h"

#include <windows.h>

namespace kd {

namespace {
class GlobalMemoryBlocks final : public BlockAllocator {
 public:
  char* Allocate(std::size_t bytes) override {
    return static_cast<char*>(GlobalAlloc(GMEM_FIXED, bytes));
  }
  void Free(char* block) override { GlobalFree(block); }
};
}  // namespace

BlockAllocator& GlobalBlocks() {
  static GlobalMemoryBlocks blocks;
  return blocks;
}

}  // namespace kd
