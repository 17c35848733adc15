#include "mouse_script.h"

#include <charconv>
#include <cstdint>
#include <string_view>

namespace {

constexpr std::string_view kSpace = " \t\r\v\f";

std::string_view NextToken(std::string_view& rest) {
  const std::size_t start = rest.find_first_not_of(kSpace);
  if (start == std::string_view::npos) {
    rest = {};
    return {};
  }
  rest.remove_prefix(start);
  const std::size_t end = std::min(rest.find_first_of(kSpace), rest.size());
  std::string_view token = rest.substr(0, end);
  rest.remove_prefix(end);
  return token;
}

// A whole token as a decimal integer of the given range; a leading '+' is allowed.
template <typename T>
bool ParseInteger(std::string_view token, T& value) {
  const bool plus = !token.empty() && token.front() == '+';
  if (plus) token.remove_prefix(1);
  if (token.empty() || (plus && (token.front() < '0' || token.front() > '9'))) return false;
  const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  return error == std::errc() && end == token.data() + token.size();
}

}  // namespace

bool ParseScriptLine(const std::string& line, ScriptedRead& read, bool& blank) {
  std::string_view rest(line);
  rest = rest.substr(0, rest.find('#'));
  const std::string_view movement = NextToken(rest);
  blank = movement.empty();
  if (blank) return true;
  const std::string_view button = NextToken(rest);
  std::int32_t parsedMovement = 0;
  int parsedButton = 0;
  if (!ParseInteger(movement, parsedMovement) || !ParseInteger(button, parsedButton) ||
      parsedButton < 0 || parsedButton > 255 || !NextToken(rest).empty()) {
    return false;
  }
  read.movement = parsedMovement;
  read.button = static_cast<std::uint8_t>(parsedButton);
  return true;
}

bool MouseScript::Next(ScriptedRead& read, std::string& error) {
  std::string line;
  while (std::getline(input_, line)) {
    ++lineNumber_;
    bool blank = false;
    if (!ParseScriptLine(line, read, blank)) {
      error = "line " + std::to_string(lineNumber_) +
              ": expected two integers, a movement from -2147483648 to 2147483647 and a "
              "button byte from 0 to 255, but got \"" +
              line + "\"";
      return false;
    }
    if (!blank) return true;
  }
  exhausted_ = true;
  read = ScriptedRead{};
  return true;
}
