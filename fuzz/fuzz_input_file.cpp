#include "fuzz_input_file.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

void RemoveInputFile() { std::remove(FuzzInputPath().c_str()); }

}  // namespace

const std::string& FuzzInputPath() {
  static const std::string path = [] {
    std::atexit(RemoveInputFile);
    return (std::filesystem::temp_directory_path() /
            ("paddleball-fuzz-" + std::to_string(getpid()) + ".bmp"))
        .string();
  }();
  return path;
}

bool WriteFuzzInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(FuzzInputPath().c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}
