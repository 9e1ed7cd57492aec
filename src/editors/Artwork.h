// The dialogs' own pictures, built into the module as resources: the left
// strip (a JPEG through our JPEG decoder), the button glyphs, the About
// picture and the window icon, decoded once per module. A module without
// them (the code linked into a test program) shows empty places instead.
#pragma once

#include "platform/Win32.h"

#include <memory>

#include "editors/EditorForm.h"
#include "engine/Device.h"

namespace kd::editors {

enum ArtworkId : int {
  kArtIcon = 100,
  kArtStrip = 101,
  kArtAbout = 102,
  kArtGlyphObject = 110,
  kArtGlyphVariable = 111,
  kArtGlyphColour = 112,
  kArtGlyphFont = 113,
  kArtGlyphOpen = 114,
  kArtGlyphSave = 115,
  kArtGlyphAdd = 116,
  kArtGlyphDelete = 117,
  kArtGlyphRotateUp = 118,
  kArtGlyphRotateDown = 119,
};

// Null when the resource is missing or damaged.
std::shared_ptr<const TPicture> LoadArtwork(ArtworkId id);
std::shared_ptr<const TPicture> ButtonGlyph(ButtonKind kind);
// Shared by the system: never destroyed. Null when missing.
HICON WindowIcon();

}  // namespace kd::editors
