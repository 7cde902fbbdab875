#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillon {

// The checks the firmware-load page makes on what the Yardmark reports.

// Versions are decimal numbers, so "1.10" is below "1.9". Text that is not a number counts
// as 0. Equal passes.
bool applicationVersionAccepted(std::string_view deviceVersion, std::string_view minimum);

// Only an exact, case-sensitive match of the whole text means the firmware is already there:
// a newer version is replaced all the same.
bool gpsUpdateNeeded(std::string_view deviceVersion, std::string_view target);

// The progress bar position for the bytes the boot loader has acknowledged, rounded, out of
// the image's estimated size; at most 100. None when the size gives no scale (0 or less), so
// the bar stays where it is.
std::optional<int> uploadPercent(std::uint32_t bytesSent, std::int32_t estimatedSize);

// The decimal number a version text begins with (leading blanks, optional sign), 0 when it
// begins with none. Independent of the user's locale.
double leadingDecimal(std::string_view text);

} // namespace quillon
