// Owners of the GDI handles the module creates: pens, brushes, fonts, bitmaps,
// regions, memory device contexts, metafiles and icons, each freed with its
// owner and counted in the live GDI object counter; plus a window DC borrowed
// for a scope, a paint scope, and a scope that restores a DC's selected object.
// Not here: the drawing itself (GdiDevice) and pictures (Pictures).
#pragma once

#include "platform/Win32.h"

#include <utility>

#include "platform/ResourceCounters.h"

namespace kd::platform {

struct DeleteGdiObject {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DeleteMemoryDC {
  void operator()(HDC h) const { DeleteDC(h); }
};
struct DeleteEnhMetaFileHandle {
  void operator()(HENHMETAFILE h) const { DeleteEnhMetaFile(h); }
};
struct DestroyIconHandle {
  void operator()(HICON h) const { DestroyIcon(h); }
};

// Sole owner of one handle; null means empty. Moving hands the handle over
// without touching the counter.
template <class Handle, class Free>
class OwnedGdiHandle {
 public:
  OwnedGdiHandle() = default;
  explicit OwnedGdiHandle(Handle h) { Reset(h); }
  ~OwnedGdiHandle() { Reset(); }
  OwnedGdiHandle(const OwnedGdiHandle&) = delete;
  OwnedGdiHandle& operator=(const OwnedGdiHandle&) = delete;
  OwnedGdiHandle(OwnedGdiHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  OwnedGdiHandle& operator=(OwnedGdiHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }

  // Frees the held handle and takes h (which may be null: creation failed).
  void Reset(Handle h = nullptr) {
    if (handle_ != nullptr) {
      Free()(handle_);
      CountDeleted(Resource::GdiObject);
    }
    handle_ = h;
    if (handle_ != nullptr) CountCreated(Resource::GdiObject);
  }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  Handle handle_ = nullptr;
};

using Pen = OwnedGdiHandle<HPEN, DeleteGdiObject>;
using Brush = OwnedGdiHandle<HBRUSH, DeleteGdiObject>;
using Font = OwnedGdiHandle<HFONT, DeleteGdiObject>;
using Bitmap = OwnedGdiHandle<HBITMAP, DeleteGdiObject>;
using Region = OwnedGdiHandle<HRGN, DeleteGdiObject>;
using MemoryDC = OwnedGdiHandle<HDC, DeleteMemoryDC>;
using EnhMetaFile = OwnedGdiHandle<HENHMETAFILE, DeleteEnhMetaFileHandle>;
using Icon = OwnedGdiHandle<HICON, DestroyIconHandle>;

// A window's DC (or the screen's, for a null window) for one scope.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {
    if (dc_ != nullptr) CountCreated(Resource::GdiObject);
  }
  ~WindowDC() {
    if (dc_ == nullptr) return;
    ReleaseDC(window_, dc_);
    CountDeleted(Resource::GdiObject);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;

  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint for one scope: EndPaint follows whatever the drawing does.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;

  HDC DC() const { return dc_; }
  const RECT& Area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back at scope end, so
// an owned object is never deleted while still selected.
class SelectionScope {
 public:
  SelectionScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectionScope() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectionScope(const SelectionScope&) = delete;
  SelectionScope& operator=(const SelectionScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Saves the whole DC state (clip region, modes, selections) for one scope.
class SavedDCState {
 public:
  explicit SavedDCState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDCState() {
    if (saved_ != 0) RestoreDC(dc_, saved_);
  }
  SavedDCState(const SavedDCState&) = delete;
  SavedDCState& operator=(const SavedDCState&) = delete;

 private:
  HDC dc_;
  int saved_;
};

}  // namespace kd::platform
