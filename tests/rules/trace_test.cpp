// The replay's trace: each label and cue a JSON string, whatever bytes it holds.
#include <gtest/gtest.h>

#include <string>

#include "scene/scene_objects.h"
#include "support/fresh_game.h"
#include "trace.h"

using TraceTest = FreshGame;

TEST_F(TraceTest, QuotesBackslashesAndControlBytesAreEscaped) {
  titleLabel->SetText("say \"hi\" \\ now\t\x01", 0);
  TickRecord record;
  record.cues = {"sounds/\"odd\".wav"};
  std::string line;
  WriteTickRecord(record, line);
  EXPECT_NE(line.find(R"("title":"say \"hi\" \\ now\u0009\u0001")"), std::string::npos) << line;
  EXPECT_NE(line.find(R"("cues":["sounds/\"odd\".wav"])"), std::string::npos) << line;
}
