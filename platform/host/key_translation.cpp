#include "host/key_translation.h"

namespace host {

KeyUse TranslateKey(const KeyReport& key, Event& event) {
  // A key held down is one press: the keyboard's repeats reach nobody, so that a held Escape
  // that freed the page's pointer does not then end the game.
  if (key.repeat) return KeyUse::kNobody;
  // Alt+Enter belongs to the desktop, as a window manager's own keys do: the game never sees it.
  if (key.alt && key.virtualKey == kEnterKey) {
    return key.down ? KeyUse::kWindowMode : KeyUse::kNobody;
  }
  // A key pressed while Alt is held is a system key, as Windows reports it.
  using enum Event::Kind;
  event.kind = key.alt ? (key.down ? kSysKeyDown : kSysKeyUp) : (key.down ? kKeyDown : kKeyUp);
  event.virtualKey = key.virtualKey != 0 ? key.virtualKey : kUnknownKey;
  return KeyUse::kGame;
}

}  // namespace host
