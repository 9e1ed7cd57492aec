// The outlines of elliptic sectors and whole ellipses in device coordinates,
// unrounded: where the GDI device rounds each arc point to a pixel, these lie
// on the true ellipse, and so their edges can be smoothed. Filled as they are,
// they cover the pixels GDI's polygon through the rounded points covers; a
// pen follows them half a pixel on, through the pixel centres (PixelCentre).
// Not here: rendering (AaRaster).
#pragma once

#include <vector>

#include "engine/Geometry.h"
#include "raster/AaRaster.h"

namespace kd::raster {

// Sector of the ellipse inscribed in bounds (right and bottom edges
// excluded, the outline through the pixel centres), from the ray through
// start counter-clockwise to the ray through end, both leaving the centre of
// bounds; equal points give the whole ellipse. The first point is the
// sector's corner, the integer centre of bounds, which neighbouring sectors
// share exactly, as they share the points on their common ray.
std::vector<TPointF> SectorShape(const TRect& bounds, TPoint start, TPoint end);
// The same sector between exact angles, counter-clockwise from the right.
std::vector<TPointF> SectorShape(const TRect& bounds, double fromAngle, double toAngle);

// The ellipse inscribed in bounds, outline through the pixel centres.
std::vector<TPointF> EllipseShape(const TRect& bounds);

}  // namespace kd::raster
