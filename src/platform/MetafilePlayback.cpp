// Implements the bounded metafile playback. Costs are judged in device
// pixels: a record's points, the pen width and the font size are taken
// through the DC's current world and page transforms (in doubles, so no
// value overflows). Not here: structural checks of the records.
#include "platform/MetafilePlayback.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace kd::platform {
namespace {

// The time one frame may spend playing a picture.
constexpr DWORD kFrameBudgetMs = 250;

struct Limits {
  double centerX, centerY;
  double reach;     // how far from the target's centre a point may lie
  double penWidth;  // widest pen, in device pixels
  double fontSize;  // tallest or widest font, in device pixels
};

Limits LimitsFor(const RECT& dest) {
  const double width = std::abs(static_cast<double>(dest.right) - dest.left);
  const double height = std::abs(static_cast<double>(dest.bottom) - dest.top);
  const double diagonal = std::hypot(width, height);
  Limits limits;
  limits.centerX = (static_cast<double>(dest.left) + dest.right) / 2;
  limits.centerY = (static_cast<double>(dest.top) + dest.bottom) / 2;
  limits.reach = std::max(32768.0, 16 * std::max(width, height));
  limits.penWidth = std::max(64.0, 2 * diagonal);
  limits.fontSize = std::max(256.0, diagonal);
  return limits;
}

// Logical to device coordinates: the world transform, then the page mapping.
struct DeviceTransform {
  double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;

  double X(double x, double y) const { return x * m11 + y * m21 + dx; }
  double Y(double x, double y) const { return x * m12 + y * m22 + dy; }
  // The most a length can grow.
  double Scale() const { return std::max(std::abs(m11) + std::abs(m21), std::abs(m12) + std::abs(m22)); }
};

DeviceTransform CurrentTransform(HDC dc) {
  XFORM world{1, 0, 0, 1, 0, 0};
  GetWorldTransform(dc, &world);
  POINT windowOrg{}, viewportOrg{};
  SIZE windowExt{1, 1}, viewportExt{1, 1};
  GetWindowOrgEx(dc, &windowOrg);
  GetViewportOrgEx(dc, &viewportOrg);
  GetWindowExtEx(dc, &windowExt);
  GetViewportExtEx(dc, &viewportExt);
  const double sx = windowExt.cx != 0 ? static_cast<double>(viewportExt.cx) / windowExt.cx : 1;
  const double sy = windowExt.cy != 0 ? static_cast<double>(viewportExt.cy) / windowExt.cy : 1;
  DeviceTransform t;
  t.m11 = world.eM11 * sx;
  t.m21 = world.eM21 * sx;
  t.dx = (world.eDx - windowOrg.x) * sx + viewportOrg.x;
  t.m12 = world.eM12 * sy;
  t.m22 = world.eM22 * sy;
  t.dy = (world.eDy - windowOrg.y) * sy + viewportOrg.y;
  return t;
}

int32_t I32(const BYTE* p) {
  int32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
int16_t I16(const BYTE* p) {
  int16_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
uint32_t U32(const BYTE* p) { return static_cast<uint32_t>(I32(p)); }

// Record types the MinGW headers do not name.
enum : DWORD {
  kEmrDrawEscape = 105, kEmrExtEscape = 106, kEmrSmallTextOut = 108, kEmrForceUfiMapping = 109,
  kEmrNamedEscape = 110, kEmrSetLinkedUfis = 119,
};

class RecordCost {
 public:
  RecordCost(HDC dc, const ENHMETARECORD* record, const Limits& limits)
      : dc_(dc), r_(reinterpret_cast<const BYTE*>(record)), size_(record->nSize),
        limits_(limits), transform_(CurrentTransform(dc)) {}

  // False when the record would reach too far, or draw with too wide a pen
  // or too large a font.
  bool Affordable() const {
    switch (U32(r_)) {
      case EMR_ELLIPSE: case EMR_RECTANGLE: case EMR_ROUNDRECT: case EMR_ARC: case EMR_CHORD:
      case EMR_PIE: case EMR_ARCTO:
        return Box(8) && PenFits();
      case EMR_ANGLEARC: return Circle() && PenFits();
      case EMR_LINETO: return Point(I32(r_ + 8), I32(r_ + 12)) && PenFits();
      case EMR_SETPIXELV: case EMR_EXTFLOODFILL: return Point(I32(r_ + 8), I32(r_ + 12));
      case EMR_POLYBEZIER: case EMR_POLYGON: case EMR_POLYLINE: case EMR_POLYBEZIERTO:
      case EMR_POLYLINETO: case EMR_POLYDRAW:
        return Points(28, U32(r_ + 24), false) && PenFits();
      case EMR_POLYBEZIER16: case EMR_POLYGON16: case EMR_POLYLINE16: case EMR_POLYBEZIERTO16:
      case EMR_POLYLINETO16: case EMR_POLYDRAW16:
        return Points(28, U32(r_ + 24), true) && PenFits();
      case EMR_POLYPOLYLINE: case EMR_POLYPOLYGON:
        return Points(32 + 4ull * U32(r_ + 24), U32(r_ + 28), false) && PenFits();
      case EMR_POLYPOLYLINE16: case EMR_POLYPOLYGON16:
        return Points(32 + 4ull * U32(r_ + 24), U32(r_ + 28), true) && PenFits();
      case EMR_STROKEPATH: case EMR_STROKEANDFILLPATH: case EMR_WIDENPATH: return PenFits();
      case EMR_FRAMERGN: return Length(I32(r_ + 32)) && Length(I32(r_ + 36));
      case EMR_BITBLT: case EMR_STRETCHBLT: case EMR_MASKBLT: case EMR_ALPHABLEND:
      case EMR_TRANSPARENTBLT:
        return Sized(24, 32);
      case EMR_STRETCHDIBITS: return Point(I32(r_ + 24), I32(r_ + 28)) && Sized(24, 72);
      case EMR_SETDIBITSTODEVICE: return Point(I32(r_ + 24), I32(r_ + 28));
      case EMR_PLGBLT: return Points(24, 3, false);
      case EMR_GRADIENTFILL: return Vertices();
      case EMR_EXTTEXTOUTA: case EMR_EXTTEXTOUTW:
        return Point(I32(r_ + 36), I32(r_ + 40)) && FontFits();
      case kEmrSmallTextOut: return Point(I32(r_ + 8), I32(r_ + 12)) && FontFits();
      case EMR_POLYTEXTOUTA: case EMR_POLYTEXTOUTW: return FontFits();
      default: return true;
    }
  }

 private:
  bool Point(double x, double y) const {
    return std::abs(transform_.X(x, y) - limits_.centerX) <= limits_.reach &&
           std::abs(transform_.Y(x, y) - limits_.centerY) <= limits_.reach;
  }
  bool Length(double length) const { return std::abs(length) * transform_.Scale() <= limits_.penWidth; }
  bool Box(size_t at) const {
    const double left = I32(r_ + at), top = I32(r_ + at + 4);
    const double right = I32(r_ + at + 8), bottom = I32(r_ + at + 12);
    return Point(left, top) && Point(right, bottom) && Point(left, bottom) && Point(right, top);
  }
  bool Circle() const {
    const double x = I32(r_ + 8), y = I32(r_ + 12), radius = U32(r_ + 16);
    return Point(x - radius, y - radius) && Point(x + radius, y + radius);
  }
  // A destination given as x, y at `at` and width, height at `sizeAt`.
  bool Sized(size_t at, size_t sizeAt) const {
    const double x = I32(r_ + at), y = I32(r_ + at + 4);
    return Point(x, y) && Point(x + I32(r_ + sizeAt), y + I32(r_ + sizeAt + 4));
  }
  bool Points(uint64_t at, uint64_t count, bool shortPoints) const {
    const uint64_t pointBytes = shortPoints ? 4 : 8;
    if (at + count * pointBytes > size_) return false;
    for (uint64_t i = 0; i < count; ++i) {
      const BYTE* p = r_ + at + i * pointBytes;
      const bool fits = shortPoints ? Point(I16(p), I16(p + 2)) : Point(I32(p), I32(p + 4));
      if (!fits) return false;
    }
    return true;
  }
  bool Vertices() const {
    const uint64_t count = U32(r_ + 24);
    if (36 + 16 * count > size_) return false;
    for (uint64_t i = 0; i < count; ++i) {
      if (!Point(I32(r_ + 36 + 16 * i), I32(r_ + 40 + 16 * i))) return false;
    }
    return true;
  }
  bool PenFits() const {
    HGDIOBJ pen = GetCurrentObject(dc_, OBJ_PEN);
    if (GetObjectType(pen) == OBJ_EXTPEN) {
      const int bytes = GetObjectW(pen, 0, nullptr);
      if (bytes < static_cast<int>(sizeof(EXTLOGPEN) - sizeof(DWORD))) return true;
      std::vector<BYTE> buffer(static_cast<size_t>(bytes) + sizeof(DWORD));
      GetObjectW(pen, bytes, buffer.data());
      const auto* pen32 = reinterpret_cast<const EXTLOGPEN*>(buffer.data());
      if ((pen32->elpPenStyle & PS_TYPE_MASK) != PS_GEOMETRIC) return true;
      return Length(pen32->elpWidth);
    }
    LOGPEN logPen{};
    if (GetObjectW(pen, sizeof logPen, &logPen) != sizeof logPen) return true;
    return Length(logPen.lopnWidth.x);
  }
  bool FontFits() const {
    LOGFONTW font{};
    if (GetObjectW(GetCurrentObject(dc_, OBJ_FONT), sizeof font, &font) == 0) return true;
    const double scale = transform_.Scale();
    return std::abs(static_cast<double>(font.lfHeight)) * scale <= limits_.fontSize &&
           std::abs(static_cast<double>(font.lfWidth)) * scale <= limits_.fontSize;
  }

  HDC dc_;
  const BYTE* r_;
  uint64_t size_;
  const Limits& limits_;
  DeviceTransform transform_;
};

// Records for printer drivers and colour management: nothing to draw on screen.
bool DriverOnly(DWORD type) {
  switch (type) {
    case kEmrDrawEscape: case kEmrExtEscape: case kEmrNamedEscape: case EMR_GLSRECORD:
    case EMR_GLSBOUNDEDRECORD: case EMR_PIXELFORMAT: case EMR_SETICMPROFILEA:
    case EMR_SETICMPROFILEW: case EMR_COLORMATCHTOTARGETW: case kEmrForceUfiMapping:
    case kEmrSetLinkedUfis:
      return true;
    default:
      return false;
  }
}

struct PlayState {
  Limits limits;
  DWORD start;  // GetTickCount: unsigned differences stay right across its wrap
  size_t recordLimit;
  size_t played = 0;
  size_t skipped = 0;
  bool ranOut = false;
};

int CALLBACK PlayBoundedRecord(HDC dc, HANDLETABLE* table, const ENHMETARECORD* record, int handles,
                               LPARAM param) {
  auto& state = *reinterpret_cast<PlayState*>(param);
  try {
    if (state.played >= state.recordLimit) return FALSE;
    if (GetTickCount() - state.start > kFrameBudgetMs) {
      state.ranOut = true;
      return FALSE;
    }
    ++state.played;
    if (DriverOnly(record->iType) || !RecordCost(dc, record, state.limits).Affordable()) {
      ++state.skipped;
      return TRUE;
    }
    PlayEnhMetaFileRecord(dc, table, record, static_cast<UINT>(handles));
    return TRUE;
  } catch (...) {
    return FALSE;  // no exception may cross the system's enumeration
  }
}

}  // namespace

void BoundedMetafilePlayer::Play(HDC dc, HENHMETAFILE metafile, const RECT& dest) {
  PlayState state{LimitsFor(dest), GetTickCount(), recordLimit_};
  EnumEnhMetaFile(dc, metafile, PlayBoundedRecord, &state, &dest);
  if (state.ranOut) recordLimit_ = state.played;
  skipped_ = state.skipped;
}

}  // namespace kd::platform
