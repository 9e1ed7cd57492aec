// Loading the dialogs' pictures from the module's resources.
#include "editors/Artwork.h"

#include <map>

#include "platform/ChildWindow.h"
#include "platform/Pictures.h"

namespace kd::editors {

namespace {

std::shared_ptr<const TPicture> DecodeArtwork(ArtworkId id) {
  HINSTANCE module = platform::ModuleInstance();
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return nullptr;
  const auto* bytes = static_cast<const unsigned char*>(data);
  const size_t size = SizeofResource(module, found);
  // JPEG files begin with FF D8; everything else here is a bitmap.
  const bool jpeg = size > 2 && bytes[0] == 0xFF && bytes[1] == 0xD8;
  try {
    return platform::LoadPictureData(bytes, size, jpeg ? "jpg" : "bmp");
  } catch (const platform::PictureError&) {
    return nullptr;
  }
}

}  // namespace

std::shared_ptr<const TPicture> LoadArtwork(ArtworkId id) {
  // Decoded once: the pictures are pixels in memory (no GDI handle), and every
  // dialog would otherwise decode the same JPEG again while the author waits.
  static std::map<ArtworkId, std::shared_ptr<const TPicture>> decoded;
  auto found = decoded.find(id);
  if (found != decoded.end()) return found->second;
  std::shared_ptr<const TPicture> picture = DecodeArtwork(id);
  decoded.emplace(id, picture);
  return picture;
}

std::shared_ptr<const TPicture> ButtonGlyph(ButtonKind kind) {
  switch (kind) {
    case ButtonKind::ObjectPicker: return LoadArtwork(kArtGlyphObject);
    case ButtonKind::VariablePicker: return LoadArtwork(kArtGlyphVariable);
    case ButtonKind::Colour: return LoadArtwork(kArtGlyphColour);
    case ButtonKind::Font: return LoadArtwork(kArtGlyphFont);
    case ButtonKind::OpenPicture: return LoadArtwork(kArtGlyphOpen);
    case ButtonKind::SavePicture: return LoadArtwork(kArtGlyphSave);
    case ButtonKind::None: break;
  }
  return nullptr;
}

HICON WindowIcon() {
  return static_cast<HICON>(LoadImageW(platform::ModuleInstance(), MAKEINTRESOURCEW(kArtIcon), IMAGE_ICON, 0, 0,
                                       LR_DEFAULTSIZE | LR_SHARED));
}

}  // namespace kd::editors
