// The host's plug-in interface: entry point and callback types, shared by the
// plug-in and by every host built from this tree (demo host, test host).
//
// The host passes the first three arguments in EAX, EDX, ECX and pushes the
// rest left to right, callee popping; GCC says this with regparm(3) + stdcall,
// stack arguments declared in reverse. On x86_64 the test build uses the one
// platform convention on both sides.
#pragma once

#include <cstdint>

#if defined(__i386__)
#define KD_HOSTCALL __attribute__((regparm(3), stdcall))
#else
#define KD_HOSTCALL
#endif

namespace kd {

// Pascal-style text pointer: a GlobalAlloc'd ANSI block or null.
using HostText = char*;

// (id, name, hint, types[high], count): the open array travels as address + highest index.
using RegisterActionFn = void(KD_HOSTCALL*)(int32_t id, const char* name, const char* hint,
                                            int32_t count, int32_t high, const unsigned char* types);
using SetVariableFn = void(KD_HOSTCALL*)(const char* name, const char* value);
using InterfaceAccessFn = bool(KD_HOSTCALL*)(int32_t code, HostText* text);

// Callbacks the module keeps but never calls.
using OpaqueCallback = void*;

// Entry points as the host calls them.
using RegisterPlugInFn = void(KD_HOSTCALL*)(RegisterActionFn reg, OpaqueCallback second,
                                            OpaqueCallback third, SetVariableFn setVariable);
using InitPlugInFn = void(KD_HOSTCALL*)(intptr_t hostValue, HostText* name, HostText* author,
                                        HostText* description);
using ExecActionFn = bool(KD_HOSTCALL*)(int32_t id, HostText* params, int32_t high);
using EditActionFn = bool(KD_HOSTCALL*)(int32_t id, HostText* slots, int32_t high);
using MessageFn = void(KD_HOSTCALL*)(int32_t code, int32_t reserved);
using AboutFn = void(KD_HOSTCALL*)();
using RegisterScriptProcessorFn = void(KD_HOSTCALL*)(OpaqueCallback processor);
using RegisterInterfaceAccessFn = void(KD_HOSTCALL*)(InterfaceAccessFn access);

// Interface-access request codes the module uses.
enum : int32_t {
  kRequestWindowHandle = 7,
  kRequestPickObject = 8,
  kRequestPickVariable = 14,
};

// nbMessage code after which every chart is closed and freed.
constexpr int32_t kMessageLeaveRunMode = 2;

// Window message the host sends to child windows of its rectangle objects.
constexpr unsigned kHostRectangleMessage = 0x400 + 250;
constexpr intptr_t kHostRectangleResized = 4;

}  // namespace kd
