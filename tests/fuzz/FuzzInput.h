// Splits a fuzzer's bytes into the few texts and numbers a target needs, so
// every target reads its input the same way. Not here: the targets themselves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace kdfuzz {

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  // The bytes up to the next NUL (or the end), without it.
  std::string Text() {
    const size_t start = pos_;
    while (pos_ < size_ && data_[pos_] != 0) ++pos_;
    std::string text(reinterpret_cast<const char*>(data_ + start), pos_ - start);
    if (pos_ < size_) ++pos_;
    return text;
  }

  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

  double Number() {
    double value = 0;
    if (size_ - pos_ >= sizeof value) {
      std::memcpy(&value, data_ + pos_, sizeof value);
      pos_ += sizeof value;
    }
    return value;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace kdfuzz
