#include "base/utf16.h"

#include <windows.h>

namespace quillon {

std::wstring ToWide(std::string_view utf8) {
  if (utf8.empty())
    return {};
  const int inLength = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLength, nullptr, 0);
  if (length <= 0)
    return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLength, wide.data(), length);
  return wide;
}

std::string ToUtf8(std::wstring_view wide) {
  if (wide.empty())
    return {};
  const int inLength = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), inLength, nullptr, 0, nullptr, nullptr);
  if (length <= 0)
    return {};
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), inLength, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

} // namespace quillon
