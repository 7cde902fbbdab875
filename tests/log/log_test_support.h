#pragma once

#include "testsupport/scratch_folder.h"
#include "testsupport/stderr_capture.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quillon::test {

std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& bytes);
// Lines ended by CR LF; a line without its CR LF is returned as it stands, last.
std::vector<std::string> splitCrLfLines(const std::string& bytes);
std::vector<std::string> splitTabs(const std::string& line);

} // namespace quillon::test
