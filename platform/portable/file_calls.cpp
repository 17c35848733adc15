// The old 16-bit style file calls, over C streams; only reading is offered.
#include <cstdio>
#include <vector>

#include "portable/win32.h"

namespace {

// Open files by handle; a closed handle's slot is reused.
std::vector<std::FILE*>& Files() {
  static std::vector<std::FILE*> files;
  return files;
}

std::FILE* FileOf(HFILE handle) {
  if (handle < 0 || static_cast<std::size_t>(handle) >= Files().size()) return nullptr;
  return Files()[static_cast<std::size_t>(handle)];
}

constexpr int kAccessMask = 0x0003;

}  // namespace

HFILE _lopen(LPCSTR path, int mode) {
  if (path == nullptr || (mode & kAccessMask) != OF_READ) return HFILE_ERROR;
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return HFILE_ERROR;
  auto& files = Files();
  for (std::size_t slot = 0; slot < files.size(); ++slot) {
    if (files[slot] == nullptr) {
      files[slot] = file;
      return static_cast<HFILE>(slot);
    }
  }
  files.push_back(file);
  return static_cast<HFILE>(files.size() - 1);
}

UINT _lread(HFILE handle, LPVOID buffer, UINT bytes) {
  std::FILE* file = FileOf(handle);
  if (file == nullptr || buffer == nullptr) return static_cast<UINT>(HFILE_ERROR);
  return static_cast<UINT>(std::fread(buffer, 1, bytes, file));
}

HFILE _lclose(HFILE handle) {
  std::FILE* file = FileOf(handle);
  if (file == nullptr) return HFILE_ERROR;
  std::fclose(file);
  Files()[static_cast<std::size_t>(handle)] = nullptr;
  return 0;
}
