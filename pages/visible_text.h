#pragma once

#include <string>
#include <string_view>

namespace quillon {

// Text read from a file, looked at before it is trusted, logged or shown.

// A NUL, or any other control character but TAB (CR and LF end lines before this is asked).
bool isControlCharacter(char c);

// True when `text` is well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF.
bool isUtf8(std::string_view text);

// `text` with every control character (TAB included) and every byte that is not part of a
// UTF-8 character written as \xNN, so a log line or a notice shows what a damaged line holds
// and a line of the log keeps its fields.
std::string visibleText(std::string_view text);

} // namespace quillon
