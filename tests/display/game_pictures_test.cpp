// The committed pictures as the game loads and draws them: walls where the rules have them,
// black exactly where the ball and the paddle are transparent, and the generator's output.
#include <gtest/gtest.h>

#include "arena_image.h"
#include "ball_image.h"
#include "display_fixture.h"
#include "paddle_image.h"

namespace {

const std::filesystem::path kImages = std::filesystem::path(PADDLEBALL_SOURCE_DIR) / "images";

bool WallEdge(std::uint16_t raw) {
  return std::max({(raw >> 11) << 3, ((raw >> 5) & 0x3F) << 2, (raw & 0x1F) << 3}) >= 150;
}
bool Field(std::uint16_t raw) { return (raw >> 11) << 3 < 64 && ((raw >> 5) & 0x3F) << 2 < 80; }

class GamePicturesTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    for (const char* name : {"arena2.bmp", "example2.bmp", "paddle4.bmp"})
      std::filesystem::copy_file(kImages / name, std::filesystem::path("images") / name,
                                 std::filesystem::copy_options::overwrite_existing);
    Start();
    ASSERT_TRUE(host_.debugLines().empty());
  }
};

TEST_F(GamePicturesTest, StretchedArenaHasItsWallsExactlyAtTheRulesLines) {
  arena->Draw(backBuffer);
  PresentFrame();
  constexpr int kLeftWall = 28, kRightWall = 996, kCeiling = 28;
  for (int y = kCeiling; y < 768; ++y) {
    ASSERT_TRUE(WallEdge(Shown(kLeftWall - 1, y)) && Field(Shown(kLeftWall, y))) << y;
    ASSERT_TRUE(Field(Shown(kRightWall - 1, y)) && WallEdge(Shown(kRightWall, y))) << y;
  }
  for (int x = kLeftWall; x < kRightWall; ++x) {
    ASSERT_TRUE(WallEdge(Shown(x, kCeiling - 1)) && Field(Shown(x, kCeiling))) << x;
    ASSERT_TRUE(Field(Shown(x, 767))) << x << ": the bottom is open";
  }
}

// The pictures as the generator draws them, which the committed files are (the test below).
TEST_F(GamePicturesTest, BallAndPaddleAreTransparentExactlyWhereBlack) {
  for (const auto& [surface, image] :
       {std::pair{ball->GetSurface(), DrawBall()}, std::pair{paddle->GetSurface(), DrawPaddle()}}) {
    SCOPED_TRACE(image.width());
    int transparent = 0, wrong = 0;
    ASSERT_TRUE(ForEachPixel(surface, [&](int x, int y, std::uint16_t& raw) {
      const bool black = image.palette()[image.IndexAt(x, y)] == std::array<std::uint8_t, 3>{};
      transparent += black;
      wrong += (raw == 0) != black;
    }));
    EXPECT_EQ(wrong, 0);
    // The corners are see-through and most of the picture is not.
    EXPECT_LT(transparent, image.width() * image.height() / 3);
    EXPECT_EQ(PixelAt(surface, 0, 0), 0);
    EXPECT_EQ(PixelAt(surface, image.width() - 1, image.height() - 1), 0);
  }
}

TEST_F(DisplayTest, CommittedPicturesAreWhatTheGeneratorDraws) {
  const std::pair<const char*, IndexedImage> pictures[] = {
      {"arena2.bmp", DrawArena()}, {"example2.bmp", DrawBall()}, {"paddle4.bmp", DrawPaddle()}};
  for (const auto& [name, image] : pictures) {
    std::string error;
    ASSERT_TRUE(image.SaveBmp(name, error)) << error;
    EXPECT_EQ(Contents(name), Contents(kImages / name))
        << name << " is stale: run paddleball-make-images images";
  }
}

}  // namespace
