#include "host/LocalisedText.h"

#include "platform/HostProgram.h"
#include "host/Localisation.h"

namespace kd {

namespace {
std::string LocalisationFile() { return LocalisationFilePath(platform::HostProgramFolder()); }
}  // namespace

std::string Localised(const char* key, const std::string& defaultText) {
  return LocalisationLookup(LocalisationFile(), key, defaultText);
}

std::optional<std::string> LocalisedOnly(const char* key) {
  return LocalisationFind(LocalisationFile(), key);
}

void CheckLocalisationHeader() {
  if (!LocalisationHeaderValid(LocalisationFile()))
    platform::ShowMessage(kLocalisationInvalidMessage);
}

}  // namespace kd
