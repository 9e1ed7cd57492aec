// A corpus of valid metafiles recorded by the system's own GDI (Wine's under
// the test rig): scenes of text, every pen and brush kind, bitmaps of every
// depth, paths, regions, transforms, gradients, palettes and one of
// thousands of records, each recorded as an enhanced and a Windows metafile.
// Not here: loading them (the tests do), metafiles from other programs.
#pragma once

#include <string>
#include <vector>

namespace kdtest {

struct RecordedMetafile {
  std::string name;  // scene name plus ".emf" or ".wmf"
  std::vector<unsigned char> bytes;
};

// Every scene as an enhanced metafile and, where the Windows metafile
// format can hold the scene, as a placeable Windows metafile.
std::vector<RecordedMetafile> RecordedMetafiles();

}  // namespace kdtest
