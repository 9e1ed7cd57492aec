// The floating-point scope at the module's borders, on this machine's own
// x87 and SSE units: a caller running with exceptions unmasked gets no
// exception from the arithmetic inside, its words back exactly, and no x87
// exception left pending; calls back out see the caller's words.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/FloatingPoint.h"

#if defined(__i386__) || defined(__x86_64__)
namespace {

using kd::platform::FloatControl;
using kd::platform::FloatingPointScope;
using kd::platform::HostFloatingPointScope;
using kd::platform::ReadFloatControl;
using kd::platform::WriteFloatControl;

volatile double big = 1e308;
volatile long double bigX87 = 1e4000L;
volatile double zero = 0.0;

// Runs `body` as a caller with the Delphi words (and one sticky MXCSR flag of
// its own), then puts this program's masked words back.
template <class Body>
void AsUnmaskedCaller(Body body) {
  kd::platform::ClearFloatFlags();
  FloatControl caller = kd::platform::kDelphiControl;
  caller.mxcsr |= 0x20;  // an inexact result of the caller's own
  WriteFloatControl(caller);
  caller = ReadFloatControl();
  body(caller);
  kd::platform::ClearFloatFlags();
  WriteFloatControl(kd::platform::kMaskedControl);
}

TEST(FloatingPointScope, OverflowDivisionAndInvalidInsideRaiseNothingAndLeaveTheCallersWords) {
  // Each would trap in the caller's words; inside the scope they only set flags.
  void (*const cases[])() = {
      [] { volatile double r = big + big; (void)r; },
      [] { volatile double r = 1.0 / zero; (void)r; },
      [] { volatile double r = zero / zero; (void)r; },
      [] { volatile long double r = bigX87 * bigX87; (void)r; },
      [] { throw std::runtime_error("left by an exception"); },
  };
  for (auto operation : cases) {
    AsUnmaskedCaller([&](const FloatControl& caller) {
      try {
        FloatingPointScope scope;
        EXPECT_EQ(ReadFloatControl().x87, kd::platform::kMaskedControl.x87);
        operation();
      } catch (const std::runtime_error&) {
      }
      EXPECT_EQ(ReadFloatControl(), caller);
      EXPECT_FALSE(kd::platform::X87ExceptionPending());
    });
  }
}

TEST(FloatingPointScope, CallsBackOutRunInTheCallersWordsEvenFromANestedEntry) {
  AsUnmaskedCaller([](const FloatControl& caller) {
    FloatingPointScope entry;
    FloatingPointScope nested;  // a dialog procedure under our own modal loop
    {
      HostFloatingPointScope callback;
      EXPECT_EQ(ReadFloatControl(), caller);
      FloatingPointScope reentry;  // the host calls into us again meanwhile
      EXPECT_EQ(ReadFloatControl().mxcsr & ~kd::platform::kMxcsrFlags, kd::platform::kMaskedControl.mxcsr);
    }
    EXPECT_EQ(ReadFloatControl().mxcsr & ~kd::platform::kMxcsrFlags, kd::platform::kMaskedControl.mxcsr);
  });
}

TEST(FloatingPointScope, CallBackOutsideAnyEntryChangesNothing) {
  const FloatControl before = ReadFloatControl();
  {
    HostFloatingPointScope callback;
    EXPECT_EQ(ReadFloatControl(), before);
  }
  EXPECT_EQ(ReadFloatControl(), before);
}

}  // namespace
#endif
