#pragma once

#include <string>
#include <string_view>

namespace quillon {

// The program's texts and paths are UTF-8; Windows' own calls (files, ports, the registry,
// windows) take UTF-16. These convert at that boundary and nowhere else, so a folder named
// "Łukasz" or "測試" is reached on every Windows, whatever its code page. Invalid UTF-8
// becomes U+FFFD rather than vanishing: a notice that quotes a damaged file name still says
// something, and a damaged path names no file rather than some other one.
std::wstring ToWide(std::string_view utf8);
// And back, for what Windows hands the program (the executable's own path).
std::string ToUtf8(std::wstring_view wide);

} // namespace quillon
