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
    // In memory where the system offers it: every input is written and read back, some
    // several times, and a disk's file system makes that most of a run's time.
    std::error_code failure;
    const std::filesystem::path folder = std::filesystem::is_directory("/dev/shm", failure)
                                             ? "/dev/shm"
                                             : std::filesystem::temp_directory_path();
    return (folder / ("paddleball-fuzz-" + std::to_string(getpid()))).string();
  }();
  return path;
}

bool WriteFuzzInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(FuzzInputPath().c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}
