#include "trace.h"

#include <cstdio>

#include "game/game_state.h"
#include "scene/scene_objects.h"

namespace {

void AppendString(const char* text, std::string& out) {
  if (text == nullptr) {
    out += "null";
    return;
  }
  out += '"';
  for (const char* c = text; *c != '\0'; ++c) {
    const auto byte = static_cast<unsigned char>(*c);
    if (byte == '"' || byte == '\\') {
      out += '\\';
      out += *c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof(escaped), "\\u%04x", byte);
      out += escaped;
    } else {
      out += *c;
    }
  }
  out += '"';
}

void AppendRect(const RECT& r, std::string& out) {
  out += '[' + std::to_string(r.left) + ',' + std::to_string(r.top) + ',' +
         std::to_string(r.right) + ',' + std::to_string(r.bottom) + ']';
}

const char* Bool(bool value) { return value ? "true" : "false"; }

}  // namespace

void WriteTickRecord(const TickRecord& record, std::string& out) {
  out += "{\"tick\":" + std::to_string(record.tick);
  out += std::string(",\"attractMode\":") + Bool(attractMode);
  out += std::string(",\"playing\":") + Bool(playing);
  out += ",\"lives\":" + std::to_string(lives);
  out += ",\"hits\":" + std::to_string(hits);
  out += ",\"level\":" + std::to_string(level);
  out += ",\"speedBonus\":" + std::to_string(speedBonus);
  out += ",\"ball\":";
  AppendRect(ball->GetBounds(), out);
  out += ",\"ballVelocity\":[" + std::to_string(ball->GetVelocityX()) + ',' +
         std::to_string(ball->GetVelocityY()) + ']';
  out += ",\"paddle\":";
  AppendRect(paddle->GetBounds(), out);
  out += ",\"labels\":{\"score\":";
  AppendString(scoreLabel->GetText(), out);
  out += ",\"lives\":";
  AppendString(livesLabel->GetText(), out);
  out += ",\"level\":";
  AppendString(levelLabel->GetText(), out);
  out += ",\"title\":";
  AppendString(titleLabel->GetText(), out);
  out += "},\"cues\":[";
  for (std::size_t i = 0; i < record.cues.size(); ++i) {
    if (i > 0) out += ',';
    AppendString(record.cues[i].c_str(), out);
  }
  out += std::string("],\"quit\":") + Bool(record.quit) + '}';
}
