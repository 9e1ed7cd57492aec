// Host text blocks: every text that crosses the boundary lives in a block of
// exactly length + 1 bytes from the host's allocator, and whoever replaces the
// text in a slot frees the block it replaces. The allocator is a parameter so
// the rule can be proved natively on a counting allocator.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "host/HostInterface.h"

namespace kd {

class BlockAllocator {
 public:
  virtual ~BlockAllocator() = default;
  // Returns null when the block cannot be had.
  virtual char* Allocate(std::size_t bytes) = 0;
  virtual void Free(char* block) = 0;
};

// A host call could not be made or answered (missing callback, no memory).
class HostError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Frees the slot's block, if any, and stores a new block holding `text`.
// On allocation failure the slot is left as it was and HostError is thrown.
void HostStringSet(BlockAllocator& blocks, HostText* slot, std::string_view text);

// Frees the slot's block, if any, and nulls the slot.
void HostStringRelease(BlockAllocator& blocks, HostText* slot);

// Reads a host text; a null pointer is the empty text.
inline std::string HostTextValue(const char* text) { return text ? std::string(text) : std::string(); }

struct HostAnswer {
  std::string text;
  bool accepted = false;
};

// Asks the host through the interface-access callback: the question goes out in
// a block of the module's, the answer comes back in the same slot, and the slot
// is released whatever happens in between.
HostAnswer AskHost(BlockAllocator& blocks, InterfaceAccessFn access, int32_t code,
                   std::string_view question);

}  // namespace kd
