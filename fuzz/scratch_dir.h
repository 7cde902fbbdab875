#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace quillon::fuzz {

// One private directory under the system's temporary directory for the whole process, made
// on first use and removed with everything in it when the process ends normally. Fuzz
// targets write each input there as the file the code under test expects to open.
const std::filesystem::path& scratchDirectory();

// Writes `size` bytes to `name` in the scratch directory, replacing what was there, and
// returns the file's path.
std::filesystem::path writeScratchFile(const std::string& name, const std::uint8_t* data,
                                       std::size_t size);

// The whole content of a file, or an empty string when it cannot be read.
std::string readWholeFile(const std::filesystem::path& path);

} // namespace quillon::fuzz
