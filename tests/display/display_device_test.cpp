// Taking the display at start-up, each step's failure, and presenting frames by flipping.
#include <gtest/gtest.h>

#include <ostream>

#include "display_fixture.h"
#include "game/frame_tick.h"

namespace {

using portable::Call;

struct StartUpFailure {
  const char* name;
  Call call;
  const char* message;
  // Which of the display, the primary, the back buffer and the screen still exist.
  bool directDraw, primary, back, screen;
};

// Names the case in test listings, instead of its bytes (pointers among them).
void PrintTo(const StartUpFailure& failure, std::ostream* out) { *out << failure.name; }

class StartUpFailureTest : public DisplayTest,
                           public ::testing::WithParamInterface<StartUpFailure> {};

TEST_P(StartUpFailureTest, ShowsItsMessageOnceAndGoesOnWhereItCan) {
  const StartUpFailure& failure = GetParam();
  portable::FailNext(failure.call);
  InitDisplay();
  ASSERT_EQ(host_.messages().size(), 1u);
  EXPECT_EQ(host_.messages()[0].text, failure.message);
  EXPECT_TRUE(QuitRequested());
  EXPECT_EQ(directDraw != nullptr, failure.directDraw);
  EXPECT_EQ(primarySurface != nullptr, failure.primary);
  EXPECT_EQ(backBuffer != nullptr, failure.back);
  EXPECT_EQ(host_.screenOpen(), failure.screen);
  // The rest of start-up and the frames that follow until the quit is taken still run.
  LoadScene();
  EXPECT_EQ(paddle->GetWidth(), 144) << "a sprite without a surface keeps its size";
  for (int tick = 0; tick < 3; ++tick) FrameTick();
  EXPECT_EQ(host_.messages().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, StartUpFailureTest,
    ::testing::Values(StartUpFailure{"DirectDrawCreate", Call::kDirectDrawCreate,
                                     "DirectDrawCreate Failed!", false, false, false, false},
                      StartUpFailure{"SetCooperativeLevel", Call::kSetCooperativeLevel,
                                     "SetCooperativeLevel Failed!", true, true, true, true},
                      StartUpFailure{"SetDisplayMode", Call::kSetDisplayMode,
                                     "SetDisplayMode Failed!", true, true, true, false},
                      StartUpFailure{"CreatePrimarySurface", Call::kCreatePrimarySurface,
                                     "CreateSurface Failed!", true, false, false, true},
                      StartUpFailure{"GetAttachedSurface", Call::kGetAttachedSurface,
                                     "GetAttached Surface Failed!", true, true, false, true}),
    [](const ::testing::TestParamInfo<StartUpFailure>& info) { return info.param.name; });

TEST_F(DisplayTest, FailedFlipsPresentOnceOrGiveUpAndRequestQuit) {
  Start();
  ASSERT_TRUE(host_.messages().empty());
  host_.ClearRecords();
  portable::FailNext(Call::kFlip, 5);
  PresentFrame();
  EXPECT_EQ(host_.framesShown(), 1);
  EXPECT_FALSE(QuitRequested());
  // The lost pictures came back: the next frame shows the arena again.
  arena->Draw(backBuffer);
  PresentFrame();
  EXPECT_EQ(Shown(512, 384), Raw(kBlue));
  // A flip that never succeeds must not hang the frame.
  portable::FailNext(Call::kFlip, portable::kForever);
  PresentFrame();
  EXPECT_EQ(host_.framesShown(), 2);
  EXPECT_TRUE(QuitRequested());
}

}  // namespace
