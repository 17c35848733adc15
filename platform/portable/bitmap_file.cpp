#include "portable/bitmap_file.h"

#include <SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "portable/gdi.h"

namespace portable {
namespace {

constexpr WORD kMagic = 0x4D42;  // "BM"
constexpr std::size_t kFileHeaderBytes = 14;
constexpr DWORD kCoreHeaderBytes = 12;
constexpr DWORD kInfoHeaderBytes = 40;
constexpr DWORD kLargestHeaderBytes = 124;
constexpr DWORD kBiRgb = 0;
constexpr DWORD kBiRle8 = 1;
constexpr DWORD kBiRle4 = 2;
constexpr DWORD kBiBitfields = 3;
constexpr DWORD kBitfieldMaskBytes = 12;
constexpr DWORD kMaxColours = 256;

template <typename T>
T ReadAt(const std::uint8_t* bytes, std::size_t offset) {
  T value;
  std::memcpy(&value, bytes + offset, sizeof(T));
  return value;
}

// What the headers claim, in the terms of the full info header.
struct Claims {
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative for a top-down picture
  int bitCount = 0;
  int planes = 0;
  DWORD compression = kBiRgb;
  DWORD coloursUsed = 0;
};

std::optional<Claims> ReadClaims(const std::vector<std::uint8_t>& file, DWORD headerBytes) {
  const std::uint8_t* info = file.data() + kFileHeaderBytes;
  Claims claims;
  if (headerBytes == kCoreHeaderBytes) {
    claims.width = ReadAt<WORD>(info, 4);
    claims.height = ReadAt<WORD>(info, 6);
    claims.planes = ReadAt<WORD>(info, 8);
    claims.bitCount = ReadAt<WORD>(info, 10);
    return claims;
  }
  if (headerBytes < kInfoHeaderBytes || headerBytes > kLargestHeaderBytes) return std::nullopt;
  const auto header = ReadAt<BITMAPINFOHEADER>(info, 0);
  claims.width = header.biWidth;
  claims.height = header.biHeight;
  claims.planes = header.biPlanes;
  claims.bitCount = header.biBitCount;
  claims.compression = header.biCompression;
  claims.coloursUsed = header.biClrUsed;
  return claims;
}

bool ClaimsAreSane(const Claims& claims, std::size_t pixelOffset, std::size_t fileSize) {
  const std::int64_t rows = claims.height < 0 ? -claims.height : claims.height;
  if (claims.width <= 0 || rows <= 0 || claims.width > kMaxBitmapSide || rows > kMaxBitmapSide ||
      claims.width * rows > kMaxBitmapPixels || claims.planes != 1) {
    return false;
  }
  switch (claims.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      return false;
  }
  if (claims.coloursUsed > kMaxColours || pixelOffset > fileSize) return false;
  if (claims.compression == kBiRle8 || claims.compression == kBiRle4) {
    return claims.height > 0;  // run-length pictures are bottom-up; the decoder bounds the runs
  }
  if (claims.compression != kBiRgb && claims.compression != kBiBitfields) return false;
  // Uncompressed rows must all be in the file: a truncated file is refused, not half-read.
  const std::int64_t rowBytes = ((claims.width * claims.bitCount + 31) / 32) * 4;
  return static_cast<std::int64_t>(fileSize - pixelOffset) >= rowBytes * rows;
}

bool HeadersAreSane(const std::vector<std::uint8_t>& file) {
  if (file.size() < kFileHeaderBytes + sizeof(DWORD) || file.size() > kMaxBitmapFileBytes) {
    return false;
  }
  const auto fileHeader = ReadAt<BITMAPFILEHEADER>(file.data(), 0);
  const auto headerBytes = ReadAt<DWORD>(file.data(), kFileHeaderBytes);
  if (fileHeader.bfType != kMagic || headerBytes > file.size() - kFileHeaderBytes) return false;
  const std::optional<Claims> claims = ReadClaims(file, headerBytes);
  return claims && ClaimsAreSane(*claims, fileHeader.bfOffBits, file.size());
}

struct SurfaceFree {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadBitmapFile(const char* path, std::string& reason) {
  if (path == nullptr) {
    reason = "no file name";
    return std::nullopt;
  }
  // Non-blocking, so that a named pipe in place of a picture cannot stall the game.
  const int descriptor = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) {
    reason = std::strerror(errno);
    return std::nullopt;
  }
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(fdopen(descriptor, "rb"), &std::fclose);
  if (!file) {
    reason = std::strerror(errno);
    close(descriptor);
    return std::nullopt;
  }
  struct stat status {};
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
    reason = "not a regular file";
    return std::nullopt;
  }
  if (static_cast<std::uint64_t>(status.st_size) > kMaxBitmapFileBytes) {
    reason = "larger than " + std::to_string(kMaxBitmapFileBytes >> 20) + " MB";
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(status.st_size));
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    reason = std::ferror(file.get()) != 0 ? std::strerror(errno) : "shorter than it was";
    return std::nullopt;
  }
  return bytes;
}

std::optional<PixelBuffer> DecodeBitmap(const std::vector<std::uint8_t>& file) {
  if (!HeadersAreSane(file)) return std::nullopt;
  SDL_RWops* stream = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
  if (stream == nullptr) return std::nullopt;
  SurfacePtr decoded(SDL_LoadBMP_RW(stream, 1));
  if (!decoded) return std::nullopt;
  SurfacePtr converted(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_RGB565, 0));
  if (!converted || SDL_LockSurface(converted.get()) != 0) return std::nullopt;
  PixelBuffer pixels(converted->w, converted->h);
  const auto* row = static_cast<const std::uint8_t*>(converted->pixels);
  for (int y = 0; y < converted->h; ++y, row += converted->pitch) {
    std::memcpy(pixels.Row(y), row, static_cast<std::size_t>(converted->w) * sizeof(std::uint16_t));
  }
  SDL_UnlockSurface(converted.get());
  return pixels;
}

std::optional<std::vector<std::uint8_t>> FileFromPackedDib(const std::uint8_t* dib,
                                                           std::size_t size) {
  if (dib == nullptr || size < kInfoHeaderBytes || size > kMaxBitmapFileBytes) return std::nullopt;
  const auto header = ReadAt<BITMAPINFOHEADER>(dib, 0);
  if (header.biSize < kInfoHeaderBytes || header.biSize > kLargestHeaderBytes) return std::nullopt;
  // The colour table follows the header; the bits follow the table.
  DWORD colours = header.biClrUsed;
  if (colours == 0 && header.biBitCount <= 8) colours = 1u << header.biBitCount;
  if (colours > kMaxColours) return std::nullopt;
  DWORD tableBytes = colours * sizeof(RGBQUAD);
  if (header.biCompression == kBiBitfields && header.biSize == kInfoHeaderBytes) {
    tableBytes += kBitfieldMaskBytes;
  }
  std::vector<std::uint8_t> file(kFileHeaderBytes + size);
  const BITMAPFILEHEADER fileHeader{
      kMagic, static_cast<DWORD>(file.size()), 0, 0,
      static_cast<DWORD>(kFileHeaderBytes + header.biSize + tableBytes)};
  std::memcpy(file.data(), &fileHeader, kFileHeaderBytes);
  std::memcpy(file.data() + kFileHeaderBytes, dib, size);
  return file;
}

}  // namespace portable
