#pragma once

#include <string>
#include <string_view>

namespace quillon {

// The program's texts are UTF-8; Windows' windows speak UTF-16. This converts at the window
// boundary and nowhere else. Invalid UTF-8 becomes U+FFFD rather than vanishing, so a notice
// that quotes a damaged file name still says something.
std::wstring ToWide(std::string_view utf8);

} // namespace quillon
