#include "display_fixture.h"

#include <SDL.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <memory>

#include "display/display_device.h"
#include "display/sprite_loading.h"

void DisplayTest::SetUp() {
  FreshGame::SetUp();
  previous_ = std::filesystem::current_path();
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  scratch_ = std::filesystem::temp_directory_path() /
             ("paddleball-display-" + std::to_string(getpid()) + "-" + test->name());
  std::filesystem::remove_all(scratch_);
  std::filesystem::create_directories(scratch_ / "images");
  std::filesystem::current_path(scratch_);
}

void DisplayTest::TearDown() {
  std::filesystem::current_path(previous_);
  std::filesystem::remove_all(scratch_);
  FreshGame::TearDown();
}

void DisplayTest::WriteBitmap(const std::string& path, int width, int height,
                              const std::function<Colour(int, int)>& colourAt) {
  std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> picture(
      SDL_CreateRGBSurfaceWithFormat(0, width, height, 24, SDL_PIXELFORMAT_BGR24), SDL_FreeSurface);
  ASSERT_TRUE(picture) << SDL_GetError();
  for (int y = 0; y < height; ++y) {
    auto* row = static_cast<std::uint8_t*>(picture->pixels) + y * picture->pitch;
    for (int x = 0; x < width; ++x) {
      const Colour c = colourAt(x, y);
      row[3 * x] = c.b;
      row[3 * x + 1] = c.g;
      row[3 * x + 2] = c.r;
    }
  }
  ASSERT_EQ(SDL_SaveBMP(picture.get(), path.c_str()), 0) << SDL_GetError();
}

void DisplayTest::WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

void DisplayTest::WriteScenePictures() {
  WriteBitmap("images/arena2.bmp", 800, 600, [](int, int) { return kBlue; });
  WriteBitmap("images/example2.bmp", 88, 104, [](int, int) { return kWhite; });
  WriteBitmap("images/paddle4.bmp", 144, 32, [](int, int) { return kWhite; });
}

void DisplayTest::Start() {
  InitDisplay();
  LoadScene();
}

void Fill(IDirectDrawSurface* surface, std::uint16_t raw) {
  DDSURFACEDESC desc = {};
  desc.dwSize = sizeof(desc);
  ASSERT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DD_OK);
  for (DWORD y = 0; y < desc.dwHeight; ++y) {
    auto* row = reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(desc.lpSurface) +
                                                 static_cast<std::ptrdiff_t>(y) * desc.lPitch);
    std::fill(row, row + desc.dwWidth, raw);
  }
  surface->Unlock(nullptr);
}

std::uint16_t PixelOf(IDirectDrawSurface* surface, int x, int y) {
  DDSURFACEDESC desc = {};
  desc.dwSize = sizeof(desc);
  if (surface->Lock(nullptr, &desc, 0, nullptr) != DD_OK) {
    ADD_FAILURE() << "surface did not lock";
    return 0;
  }
  std::uint16_t raw = 0;
  std::memcpy(&raw,
              static_cast<std::uint8_t*>(desc.lpSurface) +
                  static_cast<std::ptrdiff_t>(y) * desc.lPitch + x * 2,
              sizeof(raw));
  surface->Unlock(nullptr);
  return raw;
}

std::uint16_t DisplayTest::Shown(int x, int y) const {
  return host_.screen().at(static_cast<std::size_t>(y) * host_.screenWidth() + x);
}

int DisplayTest::CountOther(int left, int top, int right, int bottom, std::uint16_t raw) const {
  int count = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) count += Shown(x, y) != raw;
  }
  return count;
}
