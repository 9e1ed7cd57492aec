// Windows bitmap (BMP) files: writing an off-screen image, and the export of
// a chart panel (drawn afresh in colour into an image of its own). Not here:
// reading BMP files (Pictures), other file formats.
#pragma once

#include <string>

#include "platform/GdiDevice.h"

namespace kd {
class TChart;
}

namespace kd::platform {

// Writes `image` as an uncompressed bottom-up BMP of 24 or 32 bits per pixel
// (a monochrome image is written in those depths too). The file name is used
// unchanged; an existing file is overwritten. False when the file cannot be
// created or written; a partly written file is removed again.
bool WriteBitmapFile(const std::string& fileName, const GdiOffscreenImage& image, int bitsPerPixel = 24);

// Draws `chart` as a panel of width x height into a fresh colour image,
// without the chart's off-screen image and in colour even when the chart is
// monochrome, and writes it. False when drawing or writing fails; the image
// is freed either way.
bool ExportChartBitmap(TChart& chart, int width, int height, const std::string& fileName,
                       int bitsPerPixel = 24);

}  // namespace kd::platform
