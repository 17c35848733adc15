// The committed pictures as the game loads and draws them: walls where the rules have them,
// black exactly where the ball and the paddle are transparent, and the generator's output.
#include <SDL.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "arena_image.h"
#include "ball_image.h"
#include "display/display_device.h"
#include "display/sprite_loading.h"
#include "display_fixture.h"
#include "paddle_image.h"
#include "scene/scene_objects.h"

namespace {

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

const std::filesystem::path kImages = std::filesystem::path(PADDLEBALL_SOURCE_DIR) / "images";

int Brightest(std::uint16_t raw) {
  return std::max({(raw >> 11) << 3, ((raw >> 5) & 0x3F) << 2, (raw & 0x1F) << 3});
}
bool WallEdge(std::uint16_t raw) { return Brightest(raw) >= 150; }
bool Field(std::uint16_t raw) { return (raw >> 11) << 3 < 64 && ((raw >> 5) & 0x3F) << 2 < 80; }

class GamePicturesTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    for (const char* name : {"arena2.bmp", "example2.bmp", "paddle4.bmp"}) {
      std::filesystem::copy_file(kImages / name, scratch_ / "images" / name);
    }
    InitDisplay();
    LoadScene();
    ASSERT_TRUE(host_.debugLines().empty());
  }
};

TEST_F(GamePicturesTest, StretchedArenaHasItsWallsExactlyAtTheRulesLines) {
  arena->Draw(backBuffer);
  PresentFrame();
  constexpr int kLeftWall = 28, kRightWall = 996, kCeiling = 28;
  for (int y = kCeiling; y < 768; ++y) {
    ASSERT_TRUE(WallEdge(Shown(kLeftWall - 1, y))) << y;
    ASSERT_TRUE(Field(Shown(kLeftWall, y))) << y;
    ASSERT_TRUE(Field(Shown(kRightWall - 1, y))) << y;
    ASSERT_TRUE(WallEdge(Shown(kRightWall, y))) << y;
  }
  for (int x = kLeftWall; x < kRightWall; ++x) {
    ASSERT_TRUE(WallEdge(Shown(x, kCeiling - 1))) << x;
    ASSERT_TRUE(Field(Shown(x, kCeiling))) << x;
    ASSERT_TRUE(Field(Shown(x, 767))) << x << ": the bottom is open";
  }
}

// Raw 0 in the loaded surface exactly where the file is pure black.
void ExpectBlackIsExactlyTheKey(IDirectDrawSurface* surface, const std::filesystem::path& file) {
  SurfacePtr loaded(SDL_LoadBMP(file.string().c_str()), SDL_FreeSurface);
  ASSERT_TRUE(loaded) << SDL_GetError();
  SurfacePtr rgb(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGB24, 0), SDL_FreeSurface);
  ASSERT_TRUE(rgb);
  int transparent = 0;
  for (int y = 0; y < rgb->h; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(rgb->pixels) + y * rgb->pitch;
    for (int x = 0; x < rgb->w; ++x) {
      const bool black = row[3 * x] == 0 && row[3 * x + 1] == 0 && row[3 * x + 2] == 0;
      const std::uint16_t raw = PixelOf(surface, x, y);
      ASSERT_EQ(raw == 0, black) << file << " at " << x << "," << y;
      transparent += black;
    }
  }
  // The corners are see-through and most of the picture is not.
  EXPECT_GT(transparent, 0);
  EXPECT_LT(transparent, rgb->w * rgb->h / 3);
  EXPECT_EQ(PixelOf(surface, 0, 0), 0);
  EXPECT_EQ(PixelOf(surface, rgb->w - 1, rgb->h - 1), 0);
}

TEST_F(GamePicturesTest, BallAndPaddleAreTransparentExactlyWhereBlack) {
  ExpectBlackIsExactlyTheKey(ball->GetSurface(), kImages / "example2.bmp");
  ExpectBlackIsExactlyTheKey(paddle->GetSurface(), kImages / "paddle4.bmp");
}

std::string Contents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(GeneratedPictures, CommittedFilesAreWhatTheGeneratorDraws) {
  const auto scratch = std::filesystem::temp_directory_path() / "paddleball-generated-pictures";
  std::filesystem::create_directories(scratch);
  const struct {
    const char* name;
    IndexedImage image;
  } pictures[] = {
      {"arena2.bmp", DrawArena()}, {"example2.bmp", DrawBall()}, {"paddle4.bmp", DrawPaddle()}};
  for (const auto& picture : pictures) {
    std::string error;
    ASSERT_TRUE(picture.image.SaveBmp((scratch / picture.name).string(), error)) << error;
    EXPECT_EQ(Contents(scratch / picture.name), Contents(kImages / picture.name))
        << picture.name << " is stale: run paddleball-make-images images";
  }
  std::filesystem::remove_all(scratch);
}

}  // namespace
