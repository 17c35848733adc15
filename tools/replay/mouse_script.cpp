#include "mouse_script.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace {

constexpr std::string_view kSpace = " \t\r\v\f";
constexpr std::size_t kLongestLine = 4096;  // far above any read; bounds what a line can hold
constexpr std::size_t kLongestQuote = 80;   // of a bad line, in a message

enum class LineRead { kLine, kTooLong, kEnd };

// Reads up to the newline, holding at most the limit; past it the rest is left unread.
LineRead ReadLine(std::istream& input, std::string& line) {
  line.clear();
  std::streambuf* source = input.rdbuf();
  for (int c = source->sbumpc(); c != std::char_traits<char>::eof(); c = source->sbumpc()) {
    if (c == '\n') return LineRead::kLine;
    if (line.size() == kLongestLine) return LineRead::kTooLong;
    line.push_back(static_cast<char>(c));
  }
  return line.empty() ? LineRead::kEnd : LineRead::kLine;
}

// The start of a line, quoted so that it prints as one line of plain text.
std::string Quote(std::string_view line) {
  std::string quoted = "\"";
  for (const char c : line.substr(0, kLongestQuote)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '"' || byte == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte >= 0x7f) {
      char escaped[8];
      std::snprintf(escaped, sizeof(escaped), "\\x%02x", byte);
      quoted += escaped;
    } else {
      quoted += c;
    }
  }
  quoted += '"';
  if (line.size() > kLongestQuote) quoted += "...";
  return quoted;
}

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
  for (LineRead got = ReadLine(input_, line); got != LineRead::kEnd; got = ReadLine(input_, line)) {
    ++lineNumber_;
    const std::string where = "line " + std::to_string(lineNumber_) + ": ";
    bool blank = false;
    if (got == LineRead::kTooLong) {
      error = where + "longer than " + std::to_string(kLongestLine) + " bytes: " + Quote(line);
      return false;
    }
    if (!ParseScriptLine(line, read, blank)) {
      error = where +
              "expected two integers, a movement from -2147483648 to 2147483647 and a "
              "button byte from 0 to 255, but got " +
              Quote(line);
      return false;
    }
    if (!blank) return true;
  }
  exhausted_ = true;
  read = ScriptedRead{};
  return true;
}
