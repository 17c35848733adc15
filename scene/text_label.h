// A line of text the label owns, and the rectangle it is drawn in.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/platform.h"

class TextLabel {
 public:
  TextLabel() = default;

  void SetBounds(RECT r) { bounds = r; }
  RECT GetBounds() const { return bounds; }

  // A zero number takes `format` as plain text; any other is formatted into it as "%d" does.
  void SetText(const char* format, std::int32_t number);
  // The current text, or null before the first SetText.
  const char* GetText() const { return text.get(); }

  // Writes the text white on black into the back buffer, from the bounds' top-left corner.
  void Draw();

 private:
  std::unique_ptr<char[]> text;
  RECT bounds = {0, 0, 1023, 767};
};
