// Fuzz target: the localisation file's header check and key lookup on
// arbitrary file contents (written to a private temporary file).
#include <unistd.h>

#include <cstdio>
#include <string>

#include "FuzzInput.h"
#include "host/Localisation.h"

namespace {
std::string TemporaryPath() {
  static const std::string path = "/tmp/kdfuzz-loc-" + std::to_string(getpid()) + ".loc";
  return path;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const std::string path = TemporaryPath();
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data + 4, 1, size - 4, file);
  std::fclose(file);
  const char key[5] = {static_cast<char>(data[0]), static_cast<char>(data[1]),
                       static_cast<char>(data[2]), '*', 0};
  const std::string text = kd::LocalisationLookup(path, key, "default");
  if (text.size() > 255) __builtin_trap();  // characters 5 to 259 of a line at most
  kd::LocalisationHeaderValid(path);
  std::remove(path.c_str());
  return 0;
}
