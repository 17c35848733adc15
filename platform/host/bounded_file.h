// Reading a whole regular file of bounded size, saying why when it cannot be read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace host {

// The whole file, or nothing, with `reason` set, when it is missing, unreadable, not a
// regular file or larger than `maxBytes`. A named pipe or device is refused, never waited on.
std::optional<std::vector<std::uint8_t>> ReadBoundedFile(const char* path, std::size_t maxBytes,
                                                         std::string& reason);

}  // namespace host
