// The demo host's script language, in the host's style: one action per line,
// the action name followed by its parameters in double quotes; a double quote
// inside a parameter is written twice; [Name] stands for the host variable
// Name; lines starting with "." are comments.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace kddemo {

struct ScriptLine {
  int number = 0;
  std::string command;
  std::vector<std::string> params;
};

// Splits one line; returns false with a reason for a line it cannot read.
bool ParseLine(const std::string& text, ScriptLine& line, std::string& error);

// Replaces every [Name] by the variable's value (unknown variables read as empty).
std::string Substitute(const std::string& text, const std::map<std::string, std::string>& variables);

// A variable parameter names its variable with or without brackets: "[Colour]" or "Colour".
std::string VariableName(const std::string& param);

}  // namespace kddemo
