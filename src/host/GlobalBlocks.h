// The platform's global memory as the host text allocator.
#pragma once

#include "host/HostText.h"

namespace kd {

// Fixed GlobalAlloc blocks: the only kind the host accepts and frees.
BlockAllocator& GlobalBlocks();

}  // namespace kd
