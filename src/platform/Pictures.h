// Pictures the engine draws as back images (and dialogs show): loading bmp,
// ico, wmf (placeable too), emf through GDI and jpg/jpeg through libjpeg, by
// the file's extension, each file first passing the portable picture checks
// (formats/PictureChecks). A damaged file is refused whole: the caller keeps
// whatever picture it had. Not here: writing pictures (BitmapFile), drawing
// them (each picture draws itself on a GdiDevice), gif/png.
#pragma once

#include <memory>
#include <string>

#include "engine/Device.h"
#include "formats/PictureChecks.h"

namespace kd::platform {

using kd::PictureError;

// Loads the picture file `fileName` (used unchanged, ANSI code page). The
// extension picks the format, letters in any case; any other extension is
// refused with "Unknown picture file extension (.<ext>)". Throws PictureError.
std::unique_ptr<TPicture> LoadPictureFile(const std::string& fileName);

// The same for a file's contents already in memory; `extension` without the dot.
std::unique_ptr<TPicture> LoadPictureData(const unsigned char* data, size_t size,
                                          const std::string& extension);

}  // namespace kd::platform
