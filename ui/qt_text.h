#pragma once

#include <string_view>

#include <QString>

namespace quillon {

// The program's texts are UTF-8 (plain ASCII for all of its own wording).
inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace quillon
