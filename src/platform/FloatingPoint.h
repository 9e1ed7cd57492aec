// The floating-point environment at the module's borders: the x87 control
// word and MXCSR read and written, a scope that gives our code the masked
// environment it is written for and gives the caller back its own, and the
// inverse scope for calls back into the host. Portable (no windows.h): the
// native tests use it as well. Leaves out: rounding or precision of its own.
#pragma once

#include <cstdint>

namespace kd::platform {

struct FloatControl {
  uint16_t x87 = 0;
  uint32_t mxcsr = 0;
  bool operator==(const FloatControl& other) const { return x87 == other.x87 && mxcsr == other.mxcsr; }
  bool operator!=(const FloatControl& other) const { return !(*this == other); }
};

// Every exception masked, 64-bit x87 precision, round to nearest.
inline constexpr FloatControl kMaskedControl{0x037F, 0x1F80};
// What a Delphi program runs with: invalid operation, division by zero and
// overflow unmasked in both units.
inline constexpr FloatControl kDelphiControl{0x1332, 0x1900};
// MXCSR's sticky exception flags.
inline constexpr uint32_t kMxcsrFlags = 0x3F;

#if defined(__i386__) || defined(__x86_64__)
inline FloatControl ReadFloatControl() {
  FloatControl control;
  __asm__ __volatile__("fnstcw %0" : "=m"(control.x87));
  __asm__ __volatile__("stmxcsr %0" : "=m"(control.mxcsr));
  return control;
}

inline void WriteFloatControl(const FloatControl& control) {
  __asm__ __volatile__("fldcw %0" : : "m"(control.x87));
  __asm__ __volatile__("ldmxcsr %0" : : "m"(control.mxcsr));
}

// The x87 status word's summary bit: an unmasked exception waits to fire.
inline bool X87ExceptionPending() {
  uint16_t status = 0;
  __asm__ __volatile__("fnstsw %0" : "=m"(status));
  return (status & 0x80) != 0;
}

// Pending x87 exceptions would fire in the caller's next x87 instruction once
// its unmasked control word is back; MXCSR's flags only record.
inline void ClearFloatFlags() {
  __asm__ __volatile__("fnclex");
  uint32_t mxcsr = 0;
  __asm__ __volatile__("stmxcsr %0" : "=m"(mxcsr));
  mxcsr &= ~kMxcsrFlags;
  __asm__ __volatile__("ldmxcsr %0" : : "m"(mxcsr));
}
#else
inline FloatControl ReadFloatControl() { return kMaskedControl; }
inline void WriteFloatControl(const FloatControl&) {}
inline void ClearFloatFlags() {}
inline bool X87ExceptionPending() { return false; }
#endif

namespace detail {
// While our code runs on this thread: the words of the host's code that
// called into it. Null while the host's code runs.
inline thread_local const FloatControl* hostControl = nullptr;
}  // namespace detail

// Held by every entry into the module: export, window, dialog and subclass
// procedure. The caller's words come back on every path, our flags cleared.
// An entry from our own code (a dialog procedure under our modal loop)
// leaves the host's words known as they were.
class FloatingPointScope {
 public:
  FloatingPointScope() : caller_(ReadFloatControl()), outer_(detail::hostControl) {
    if (!outer_) detail::hostControl = &caller_;
    WriteFloatControl(kMaskedControl);
  }
  ~FloatingPointScope() {
    ClearFloatFlags();
    WriteFloatControl(caller_);
    detail::hostControl = outer_;
  }
  FloatingPointScope(const FloatingPointScope&) = delete;
  FloatingPointScope& operator=(const FloatingPointScope&) = delete;

 private:
  FloatControl caller_;
  const FloatControl* outer_;
};

// Held around a call out of the module into the host's code (its callbacks):
// the host's words for the call, ours again afterwards. Outside any
// FloatingPointScope it does nothing.
class HostFloatingPointScope {
 public:
  HostFloatingPointScope() : host_(detail::hostControl) {
    if (!host_) return;
    ours_ = ReadFloatControl();
    detail::hostControl = nullptr;
    ClearFloatFlags();
    WriteFloatControl(*host_);
  }
  ~HostFloatingPointScope() {
    if (!host_) return;
    ClearFloatFlags();
    WriteFloatControl(ours_);
    detail::hostControl = host_;
  }
  HostFloatingPointScope(const HostFloatingPointScope&) = delete;
  HostFloatingPointScope& operator=(const HostFloatingPointScope&) = delete;

 private:
  const FloatControl* host_;
  FloatControl ours_;
};

}  // namespace kd::platform
