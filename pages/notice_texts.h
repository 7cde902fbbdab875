#pragma once

#include <string_view>

namespace quillon {

// Message-box texts the user sees on more than one page. The blanks and quotes are the
// program's own and must stay as they are: support staff know the notices by their words.

// After a failed check of the device once the new firmware is in (step 9's final NO, and the
// reset-and-verify page).
inline constexpr std::string_view kManualResetNotice =
    "There is a connection error.  Please manually reset your GPS (see Yardmark documentation) "
    "and verify your GPS Version is the most recent by going to the \"Diagnostics\" menu on the "
    "Yardmark.  Under the \"Diagnostics\" menu, select \"GPS Data\" and press the \"Ver\" button.  "
    "If you do not see the most recent GPS version in the string that is shown, please rerun "
    "this program.";

// The firmware-load page, when the device cannot be prepared for communication.
inline constexpr std::string_view kPrepareCommunicationNotice =
    "The program could not prepare your Yardmark for communication.  Please check your "
    "connections, and run this program again.";

// The firmware-load page, when the GPS chip cannot be prepared (no final full stop).
inline constexpr std::string_view kPrepareGpsNotice =
    "The program could not prepare the Yardmark for GPS update.  Please check your connections, "
    "and run this program again";

} // namespace quillon
