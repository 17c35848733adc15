#include "frame_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "png_bytes.h"

namespace {

std::string Reason() { return std::strerror(errno); }

bool WriteAll(int descriptor, const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(descriptor, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

// Opening a FIFO would block and a link would write elsewhere: only a regular file is replaced.
bool NameIsFree(const std::string& path, std::string& error) {
  struct stat found {};
  if (lstat(path.c_str(), &found) != 0) return true;
  if (S_ISREG(found.st_mode)) return true;
  error = path + ": not a regular file; refusing to replace it";
  return false;
}

bool WriteReplacing(const std::string& path, const std::vector<std::uint8_t>& bytes,
                    std::string& error) {
  if (!NameIsFree(path, error)) return false;
  std::string temporary = path + ".XXXXXX";
  const int descriptor = mkstemp(temporary.data());
  if (descriptor < 0) {
    error = path + ": " + Reason();
    return false;
  }
  // mkstemp makes the file private; frames are as readable as any file the user makes.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(descriptor, 0666 & ~mask);
  const bool written = WriteAll(descriptor, bytes);
  const int writeErrno = errno;
  const bool closed = close(descriptor) == 0;
  if (!written || !closed || rename(temporary.c_str(), path.c_str()) != 0) {
    error = path + ": " + (written ? Reason() : std::strerror(writeErrno));
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace

FrameFiles::FrameFiles(std::string directory, std::vector<long> ticks)
    : directory_(std::move(directory)), ticks_(std::move(ticks)) {}

bool FrameFiles::Wants(long tick) const {
  return enabled() && (ticks_.empty() || std::binary_search(ticks_.begin(), ticks_.end(), tick));
}

bool FrameFiles::Prepare(std::string& error) const {
  if (!enabled()) return true;
  std::error_code failure;
  std::filesystem::create_directories(directory_, failure);
  if (failure || !std::filesystem::is_directory(directory_)) {
    error =
        "--frames: cannot make directory " + directory_ + (failure ? ": " + failure.message() : "");
    return false;
  }
  return true;
}

std::string FrameFiles::PathFor(long tick) const {
  char name[32];
  std::snprintf(name, sizeof(name), "tick-%06ld.png", tick);
  return directory_ + "/" + name;
}

bool FrameFiles::Write(long tick, const std::vector<std::uint16_t>& pixels, int width, int height,
                       std::string& error) const {
  const std::string path = PathFor(tick);
  std::vector<std::uint8_t> png;
  if (!EncodeRgb565Png(pixels, width, height, png, error)) {
    error = path + ": " + error;
    return false;
  }
  return WriteReplacing(path, png, error);
}
