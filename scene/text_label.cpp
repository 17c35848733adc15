#include "scene/text_label.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace {

// Formats `number` into `format`, sizing the buffer from the formatted length first.
std::unique_ptr<char[]> Format(const char* format, std::int32_t number) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  const int length = std::snprintf(nullptr, 0, format, static_cast<int>(number));
  if (length < 0) return nullptr;
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[static_cast<std::size_t>(length) + 1]);
  if (buffer)
    std::snprintf(buffer.get(), static_cast<std::size_t>(length) + 1, format,
                  static_cast<int>(number));
#pragma GCC diagnostic pop
  return buffer;
}

std::unique_ptr<char[]> Copy(const char* source) {
  const std::size_t size = std::strlen(source) + 1;
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[size]);
  if (buffer) std::memcpy(buffer.get(), source, size);
  return buffer;
}

}  // namespace

void TextLabel::SetText(const char* format, std::int32_t number) {
  if (format == nullptr) return;
  std::unique_ptr<char[]> next = number == 0 ? Copy(format) : Format(format, number);
  // Out of memory: the label keeps the text it had.
  if (next) text = std::move(next);
}
