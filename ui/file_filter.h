#pragma once

#include <string>
#include <string_view>

namespace quillon {

// Turns a file-open filter written as "Description|pattern|Description|pattern||" into the
// form Qt's file dialog takes: "Description (pattern);;Description (pattern)". Several patterns
// of one entry, separated by ';', become blank-separated. Stops at the first empty field, as
// the "||" ending marks.
std::string ConvertFileFilter(std::string_view filter);

} // namespace quillon
