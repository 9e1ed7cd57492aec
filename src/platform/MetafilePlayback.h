// Plays an enhanced metafile record by record within bounds, so that a
// well-formed picture cannot freeze the host: records whose shapes, pens or
// fonts would reach far beyond the target under the transform in force are
// skipped, records that only talk to a printer driver are not passed on, and
// a frame stops once it has used its time; later frames then play only the
// records the first one reached. Not here: checking the records' structure
// (formats/PictureChecks, done when the picture is loaded).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Win32.h"

namespace kd::platform {

class BoundedMetafilePlayer {
 public:
  // Plays `metafile` scaled into `dest` on `dc`.
  void Play(HDC dc, HENHMETAFILE metafile, const RECT& dest);

  // Records one frame plays; SIZE_MAX until a frame runs out of time.
  size_t RecordLimit() const { return recordLimit_; }
  // Records skipped as too costly in the last frame.
  size_t SkippedRecords() const { return skipped_; }

 private:
  size_t recordLimit_ = SIZE_MAX;
  size_t skipped_ = 0;
};

}  // namespace kd::platform
