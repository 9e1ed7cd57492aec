// The eight entry points' behaviour. Exports.cpp wraps each in the host's
// calling convention and a catch-all, so nothing ever unwinds into the host.
#pragma once

#include <cstdint>

#include "host/HostInterface.h"

namespace kd {

void RegisterPlugIn(RegisterActionFn registerAction, OpaqueCallback second, OpaqueCallback third,
                    SetVariableFn setVariable);
void InitPlugIn(intptr_t hostValue, HostText* name, HostText* author, HostText* description);
bool ExecAction(int32_t id, HostText* params, int32_t high);
bool EditAction(int32_t id, HostText* slots, int32_t high);
void Message(int32_t code);
void About();
void RegisterScriptProcessor(OpaqueCallback processor);
void RegisterInterfaceAccess(InterfaceAccessFn access);

// Texts nbInitPlugIn hands to the host.
inline constexpr const char* kPlugInName = "kdPieChart";
inline constexpr const char* kPlugInAuthor = "kdPieChart developers";
inline constexpr const char* kPlugInDescription = "Drawing pie charts in VisualNeo.";

}  // namespace kd
