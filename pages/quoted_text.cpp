#include "pages/quoted_text.h"

namespace quillon {
namespace {

constexpr std::string_view kEllipsis = "...";

bool continuesCharacter(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

std::string quotedInNotice(std::string_view text) {
  if (text.size() <= kLongestQuote)
    return std::string(text);
  const std::size_t kept = kLongestQuote - kEllipsis.size();
  // The end names the file: it gets the larger half.
  std::size_t headEnd = kept / 2;
  while (headEnd > 0 && continuesCharacter(text[headEnd]))
    --headEnd;
  std::size_t tailStart = text.size() - (kept - kept / 2);
  while (tailStart < text.size() && continuesCharacter(text[tailStart]))
    ++tailStart;
  std::string quoted(text.substr(0, headEnd));
  quoted.append(kEllipsis).append(text.substr(tailStart));
  return quoted;
}

} // namespace quillon
