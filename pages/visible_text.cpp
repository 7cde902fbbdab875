#include "pages/visible_text.h"

#include <algorithm>

namespace quillon {
namespace {

std::string hexEscape(char c) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  const auto byte = static_cast<unsigned char>(c);
  return std::string("\\x") + kDigits[byte >> 4] + kDigits[byte & 0x0F];
}

bool continues(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The bytes of the well-formed UTF-8 character `text` begins with, 0 when it begins with
// none: no overlong forms, no surrogates, nothing above U+10FFFF.
std::size_t utf8CharacterLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text.front());
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead < 0x80)
    return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    low = lead == 0xE0 ? 0xA0 : 0x80;
    high = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;
  } else {
    return 0;
  }
  if (text.size() < length)
    return 0;
  const auto second = static_cast<unsigned char>(text[1]);
  if (second < low || second > high)
    return 0;
  return std::all_of(text.begin() + 2, text.begin() + static_cast<std::ptrdiff_t>(length),
                     continues)
             ? length
             : 0;
}

} // namespace

// A TAB is harmless in a value; every other control character, NUL first, is no text.
bool isControlCharacter(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte < 0x20 && byte != '\t') || byte == 0x7F;
}

bool isUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = utf8CharacterLength(text.substr(at));
    if (length == 0)
      return false;
    at += length;
  }
  return true;
}

std::string visibleText(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = utf8CharacterLength(text.substr(at));
    // A TAB too: the log's fields are separated by TABs.
    if (length == 0 || isControlCharacter(text[at]) || text[at] == '\t') {
      shown += hexEscape(text[at]);
      ++at;
    } else {
      shown.append(text.substr(at, length));
      at += length;
    }
  }
  return shown;
}

} // namespace quillon
