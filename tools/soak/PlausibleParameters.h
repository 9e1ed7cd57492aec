// Parameter texts an author would write for each action: keywords of the
// action, colours, record lists, fonts and numbers in their ranges, now and
// then a wide pen or a long arrow. The chart name and picture files are the
// caller's.
#pragma once

#include <random>
#include <string>
#include <vector>

namespace kdsoak {

class PlausibleParameters {
 public:
  explicit PlausibleParameters(std::mt19937& random) : random_(random) {}

  // Texts for parameters 2.. of action `id` (`count` in all, the name
  // included); `picture` stands for an image path.
  std::vector<std::string> For(int id, int count, const std::string& picture);

  std::string Colour();
  std::string Records();

 private:
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  std::string Pick(const std::vector<std::string>& from) {
    return from[static_cast<size_t>(Between(0, static_cast<int>(from.size()) - 1))];
  }
  std::string Switch() { return Pick({"true", "false", "True", "FALSE"}); }
  std::string Font();
  std::string Number(int low, int high) { return std::to_string(Between(low, high)); }
  std::string PenWidth();
  std::string Value();
  std::string Token(const std::string& token, const std::string& picture);

  std::mt19937& random_;
};

}  // namespace kdsoak
