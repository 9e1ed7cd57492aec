// The engine refuses bad property values with an exception carrying a fixed
// English text; the action layer turns it into a false result.
#pragma once

#include <stdexcept>
#include <string>

namespace kd {

class EngineError : public std::runtime_error {
 public:
  explicit EngineError(const std::string& message) : std::runtime_error(message) {}
};

class LegendException : public EngineError {
 public:
  using EngineError::EngineError;
};

}  // namespace kd
