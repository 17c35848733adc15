// A fuzz input written to a file of its own, for the code paths that read from a path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The per-process file the input goes to; removed when the process exits.
const std::string& FuzzInputPath();
// Replaces the file's contents with the input; false when it cannot be written.
bool WriteFuzzInput(const std::uint8_t* data, std::size_t size);
