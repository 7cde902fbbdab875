#include "pages/orbfix_file.h"

namespace quillon {

std::string readOrbfixLine(std::istream& in) {
  std::string line;
  if (!std::getline(in, line))
    return {};
  if (!line.empty() && line.back() == '\r')
    line.pop_back();
  return line;
}

} // namespace quillon
