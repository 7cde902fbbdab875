#pragma once

#include <span>
#include <string_view>

namespace quillon {

// One row of a device page: what it checks, and the id of the state text beside it.
struct ProgressRow {
  std::string_view label;
  int stateControl;
};

// The controls of a device page's window that its page changes while it runs. The template
// is built from the same rows, so the page, its window and the demo's printout name each row
// alike.
struct ProgressPageControls {
  int templateId;
  std::span<const ProgressRow> rows; // top to bottom, numbered from 1 by the page
  int statusControl;
  int progressControl;
};

extern const ProgressPageControls kFirmwareLoadPageControls;  // step 6
extern const ProgressPageControls kResetAndVerifyPageControls; // step 10

} // namespace quillon
