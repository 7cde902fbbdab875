#pragma once

#include "dialogs/dialog_template.h"

#include <string>
#include <string_view>

namespace quillon {

// What a screen reader says for a window or a control, beside what the golfer sees. The
// visible texts stay as they are; these are read out instead of them where the visible text
// would be heard as punctuation ("Next ->"), spelt out ("YES"), or is missing altogether (a
// picture, a progress bar, the step 1 window's empty caption).
struct AccessibleText {
  std::string_view name;        // empty: the control is read by its own text
  std::string_view description; // what a picture asks of the golfer, what a bar measures
  // A row state of a device page: read as its row's label followed by the state it shows
  // now ("7. Loading Firmware: WORKING"), since "WORKING" alone says nothing.
  bool nameEndsWithText = false;
  // A text that changes while the golfer watches (a row state, the status line): screen
  // readers are told of each change without the control having the focus.
  bool live = false;
};

// Every window of the program has a name, the step 1 window's empty caption included.
AccessibleText WindowAccessibleText(const DialogTemplate& window);

// Pictures, icons, progress bars, buttons and the row states have a name of their own; the
// other controls (texts, frames, edits) are read by their text.
AccessibleText ControlAccessibleText(const DialogTemplate& window, const ControlTemplate& control);

// The name to read for a control whose visible text is `shown` now.
std::string AccessibleName(const AccessibleText& text, std::string_view shown);

} // namespace quillon
