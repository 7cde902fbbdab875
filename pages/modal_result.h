#pragma once

namespace quillon {

// What a page's modal run hands back to the driver. The values are the dialog framework's
// own, and the log and the driver's table are written in terms of them.
namespace modal {
inline constexpr int kOk = 1;          // forward: Next, YES, Finish, or the device work succeeded
inline constexpr int kCancel = 2;      // Cancel, Previous, Escape, a final NO, a device failure
inline constexpr int kAbort = 3;       // no page produces it; the driver still handles it
inline constexpr int kNotCreated = -1; // the page's window could not be created
} // namespace modal

} // namespace quillon
