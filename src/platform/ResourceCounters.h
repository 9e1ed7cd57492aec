// Counters of the live platform resources the module has created: GDI objects
// (pens, brushes, fonts, bitmaps, regions, device contexts, metafiles, icons),
// windows and timers. Every owner class counts up when it acquires a handle and
// down when it frees it, so tests can prove that painting and exporting leave
// nothing behind. Not included: handles owned by the host or by the platform.
#pragma once

namespace kd::platform {

enum class Resource { GdiObject, Window, Timer };

void CountCreated(Resource kind);
void CountDeleted(Resource kind);

long LiveResources(Resource kind);
inline long LiveGdiObjects() { return LiveResources(Resource::GdiObject); }
inline long LiveWindows() { return LiveResources(Resource::Window); }
inline long LiveTimers() { return LiveResources(Resource::Timer); }

}  // namespace kd::platform
