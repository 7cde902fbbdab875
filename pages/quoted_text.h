#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

// The longest piece of a file (a name, a line) that a notice quotes. A longer one would turn a
// message box into pages of text: it keeps its beginning and its end, which name the place and
// the file, around an ellipsis.
inline constexpr std::size_t kLongestQuote = 120;

// `text` as a notice quotes it: unchanged up to kLongestQuote characters, otherwise cut in the
// middle to that length with "..." in place of what was left out, never inside a UTF-8
// character.
std::string quotedInNotice(std::string_view text);

} // namespace quillon
