#include "Script.h"

namespace kddemo {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
}  // namespace

bool ParseLine(const std::string& text, ScriptLine& line, std::string& error) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  size_t start = i;
  while (i < text.size() && !IsBlank(text[i]) && text[i] != '"') ++i;
  line.command = text.substr(start, i - start);
  line.params.clear();
  while (true) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i >= text.size()) break;
    if (text[i] != '"') {
      error = "parameters must be in double quotes (column " + std::to_string(i + 1) + ")";
      return false;
    }
    std::string param;
    ++i;
    for (;;) {
      if (i >= text.size()) {
        error = "a parameter has no closing double quote";
        return false;
      }
      if (text[i] == '"') {
        if (i + 1 < text.size() && text[i + 1] == '"') {
          param += '"';
          i += 2;
          continue;
        }
        ++i;
        break;
      }
      param += text[i++];
    }
    line.params.push_back(param);
  }
  return true;
}

std::string Substitute(const std::string& text, const std::map<std::string, std::string>& variables) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    size_t close = text[i] == '[' ? text.find(']', i + 1) : std::string::npos;
    if (close == std::string::npos) {
      out += text[i];
      continue;
    }
    auto it = variables.find(text.substr(i + 1, close - i - 1));
    if (it != variables.end()) out += it->second;
    i = close;
  }
  return out;
}

std::string VariableName(const std::string& param) {
  if (param.size() >= 2 && param.front() == '[' && param.back() == ']') return param.substr(1, param.size() - 2);
  return param;
}

}  // namespace kddemo
