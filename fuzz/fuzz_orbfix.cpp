// The Orbfix.dat reader on arbitrary bytes. The wizard reads exactly five lines; whatever the
// file holds, each value must be its line without the line end (LF, CR LF, CR CR LF or a CR
// alone), a missing line must read as empty, and nothing may appear that the file did not
// hold.

#include "fuzz/fuzz_check.h"
#include "pages/orbfix_file.h"

#include <array>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kValues = 5;

// Line i of the file as the wizard must see it: up to its line end, without it; empty when
// the file has fewer lines.
std::array<std::string, kValues> expectedValues(std::string_view file) {
  std::array<std::string, kValues> values;
  for (auto& value : values) {
    if (file.empty())
      break;
    const std::size_t end = file.find_first_of("\r\n");
    value = file.substr(0, end);
    if (end == std::string_view::npos)
      break;
    file.remove_prefix(end);
    std::size_t lineEnd = 1;
    if (file.starts_with("\r\n"))
      lineEnd = 2;
    else if (file.starts_with("\r\r\n"))
      lineEnd = 3;
    file.remove_prefix(lineEnd);
  }
  return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  std::istringstream in(file);
  std::array<std::string, kValues> values;
  for (auto& value : values)
    value = quillon::readOrbfixLine(in);

  const std::array<std::string, kValues> expected = expectedValues(file);
  std::size_t total = 0;
  for (std::size_t i = 0; i < kValues; ++i) {
    QUILLON_FUZZ_CHECK(values[i].find_first_of("\r\n") == std::string::npos,
                       "a value holds a line end");
    QUILLON_FUZZ_CHECK(values[i] == expected[i], "a value is not its line of the file");
    total += values[i].size();
  }
  QUILLON_FUZZ_CHECK(total <= size, "the values hold more than the file");
  return 0;
}
