// Parameter texts a careless or hostile script may pass: empty and huge texts,
// stray quotes and delimiters, every byte, extreme numbers, and the keywords
// of the actions, so that many calls get past the first conversion and reach
// the engine with extreme values. Seeded, so a failure can be replayed.
#pragma once

#include <random>
#include <string>
#include <vector>

namespace kdhost {

class HostileTexts {
 public:
  explicit HostileTexts(unsigned seed) : random_(seed) {}

  std::string Next();
  // A chart name: mostly `existing` (in either case), sometimes a missing one or junk.
  std::string ChartName(const std::string& existing);
  // One of the extreme numbers.
  std::string Number() { return Pick(kNumbers); }

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  std::mt19937& Random() { return random_; }

 private:
  std::string Pick(const std::vector<std::string>& from) { return from[Below(static_cast<int>(from.size()))]; }
  std::string Soup(const std::string& alphabet, int length);
  std::string RandomBytes(int length);
  std::string AllBytes();
  std::string Huge();

  static const std::vector<std::string> kQuotes;
  static const std::vector<std::string> kNumbers;
  static const std::vector<std::string> kWords;

  std::mt19937 random_;
};

}  // namespace kdhost
