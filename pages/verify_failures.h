#pragma once

#include "pages/failure_notice.h"
#include "pages/notice_texts.h"

namespace quillon::verify {

// Rows of the reset-and-verify page.
inline constexpr int kCommandRow = 1;
inline constexpr int kResetRow = 2;
inline constexpr int kReadRow = 3;
inline constexpr int kCheckRow = 4;
inline constexpr int kShutDownRow = 5;

inline constexpr StepFailure kCommandModeNotSet{
    {"NOTICE E:21", kManualResetNotice, kCommandRow, "...Command Mode NOT Set...",
     kRowShowNotice},
    true, "     Command Mode NOT Set : ", "  (E:21)"};

inline constexpr StepFailure kResetFailed{
    {"NOTICE E:22", kManualResetNotice, kResetRow, "...GPS NOT Reset...", kRowShowNotice},
    true, "     GPS Reset Failed : ", "  (E:22)"};

inline constexpr StepFailure kVersionNotRead{
    {"NOTICE E:23", kManualResetNotice, kReadRow, "...GPS Version NOT Received...",
     kNoticeRowShow},
    true, "     GPS Version NOT Read : ", "  (E:23)"};

// No version text at all: the user is spared a notice, the device is switched off.
inline constexpr StepFailure kVersionInvalid{
    {"", "", kCheckRow, "...GPS Version NOT Valid", kRowShow},
    true, "     GPS Version Invalid : ", ""};

// The detail here is the device's version, not a status text. The row is marked but never
// shown: no status update follows before the page ends.
inline constexpr StepFailure kVersionIncorrect{
    {"NOTICE E:24",
     "The GPS Version this program tried to load may not match the GPS Version currently on "
     "your Yardmark.  Please manually verify your GPS Version is the most recent by going to the "
     "\"Diagnostics\" menu on the Yardmark.  Under the \"Diagnostics\" menu, select \"GPS Data\" "
     "and press the \"Ver\" button.  If you do not see the most recent GPS version in the string "
     "that is shown, please rerun this program.",
     kCheckRow, "", kRowNotice},
    true, "    GPS Version is NOT Correct ", "  (E:24)"};

} // namespace quillon::verify
