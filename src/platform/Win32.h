// windows.h for the platform layer, minus the macros that would rename engine
// members: TextOut would turn TDevice::TextOut into TextOutA in one file and
// not in another. Platform code calls the A functions by their full names.
#pragma once

#include <windows.h>

#undef TextOut
