#include "host/sdl/virtual_keys.h"

#include <array>
#include <utility>

namespace host {
namespace {

constexpr std::uint32_t kLetterA = 'A';
constexpr std::uint32_t kDigitZero = '0';
constexpr std::uint32_t kF1 = 0x70;
constexpr std::uint32_t kNumpadZero = 0x60;

// Keys with no arithmetic relation between the two code sets.
constexpr std::array<std::pair<SDL_Keycode, std::uint32_t>, 45> kNamedKeys = {{
    {SDLK_BACKSPACE, 0x08},   {SDLK_TAB, 0x09},         {SDLK_RETURN, 0x0D},
    {SDLK_KP_ENTER, 0x0D},    {SDLK_LSHIFT, 0x10},      {SDLK_RSHIFT, 0x10},
    {SDLK_LCTRL, 0x11},       {SDLK_RCTRL, 0x11},       {SDLK_LALT, 0x12},
    {SDLK_RALT, 0x12},        {SDLK_PAUSE, 0x13},       {SDLK_CAPSLOCK, 0x14},
    {SDLK_ESCAPE, 0x1B},      {SDLK_SPACE, 0x20},       {SDLK_PAGEUP, 0x21},
    {SDLK_PAGEDOWN, 0x22},    {SDLK_END, 0x23},         {SDLK_HOME, 0x24},
    {SDLK_LEFT, 0x25},        {SDLK_UP, 0x26},          {SDLK_RIGHT, 0x27},
    {SDLK_DOWN, 0x28},        {SDLK_PRINTSCREEN, 0x2C}, {SDLK_INSERT, 0x2D},
    {SDLK_DELETE, 0x2E},      {SDLK_LGUI, 0x5B},        {SDLK_RGUI, 0x5C},
    {SDLK_KP_MULTIPLY, 0x6A}, {SDLK_KP_PLUS, 0x6B},     {SDLK_KP_MINUS, 0x6D},
    {SDLK_KP_PERIOD, 0x6E},   {SDLK_KP_DIVIDE, 0x6F},   {SDLK_NUMLOCKCLEAR, 0x90},
    {SDLK_SCROLLLOCK, 0x91},  {SDLK_SEMICOLON, 0xBA},   {SDLK_EQUALS, 0xBB},
    {SDLK_COMMA, 0xBC},       {SDLK_MINUS, 0xBD},       {SDLK_PERIOD, 0xBE},
    {SDLK_SLASH, 0xBF},       {SDLK_BACKQUOTE, 0xC0},   {SDLK_QUOTE, 0xDE},
    {SDLK_LEFTBRACKET, 0xDB}, {SDLK_BACKSLASH, 0xDC},   {SDLK_RIGHTBRACKET, 0xDD},
}};

}  // namespace

std::uint32_t VirtualKeyFor(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return kLetterA + static_cast<std::uint32_t>(key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return kDigitZero + static_cast<std::uint32_t>(key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return kF1 + static_cast<std::uint32_t>(key - SDLK_F1);
  if (key >= SDLK_F13 && key <= SDLK_F24) {
    return kF1 + 12 + static_cast<std::uint32_t>(key - SDLK_F13);
  }
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) {
    return kNumpadZero + 1 + static_cast<std::uint32_t>(key - SDLK_KP_1);
  }
  if (key == SDLK_KP_0) return kNumpadZero;
  for (const auto& [sdlKey, virtualKey] : kNamedKeys) {
    if (sdlKey == key) return virtualKey;
  }
  return kUnknownKey;
}

}  // namespace host
