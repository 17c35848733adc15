#include "host/bounded_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace host {

std::optional<std::vector<std::uint8_t>> ReadBoundedFile(const char* path, std::size_t maxBytes,
                                                         std::string& reason) {
  if (path == nullptr) {
    reason = "no file name";
    return std::nullopt;
  }
  // Non-blocking, so that a named pipe in place of a file cannot stall the game.
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
  if (static_cast<std::uint64_t>(status.st_size) > maxBytes) {
    reason = "larger than " + std::to_string(maxBytes >> 20) + " MB";
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(status.st_size));
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
    reason = std::ferror(file.get()) != 0 ? std::strerror(errno) : "shorter than it was";
    return std::nullopt;
  }
  return bytes;
}

}  // namespace host
