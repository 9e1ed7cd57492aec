// Implements the live-resource counters. Everything runs on the host's
// user-interface thread, but atomics keep a stray worker thread from tearing
// the counts.
#include "platform/ResourceCounters.h"

#include <atomic>

namespace kd::platform {
namespace {

std::atomic<long> counters[3];

std::atomic<long>& CounterOf(Resource kind) { return counters[static_cast<int>(kind)]; }

}  // namespace

void CountCreated(Resource kind) { ++CounterOf(kind); }
void CountDeleted(Resource kind) { --CounterOf(kind); }
long LiveResources(Resource kind) { return CounterOf(kind).load(); }

}  // namespace kd::platform
