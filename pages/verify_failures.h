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

inline constexpr StepFailure kCommandModeNotSet{.notice = {.caption = "NOTICE E:21",
                                                           .message = kManualResetNotice,
                                                           .row = kCommandRow,
                                                           .status = "...Command Mode NOT Set...",
                                                           .order = kRowShowNotice},
                                                .errorLine = true,
                                                .logBefore = "     Command Mode NOT Set : ",
                                                .logAfter = "  (E:21)"};

inline constexpr StepFailure kResetFailed{.notice = {.caption = "NOTICE E:22",
                                                     .message = kManualResetNotice,
                                                     .row = kResetRow,
                                                     .status = "...GPS NOT Reset...",
                                                     .order = kRowShowNotice},
                                          .errorLine = true,
                                          .logBefore = "     GPS Reset Failed : ",
                                          .logAfter = "  (E:22)"};

inline constexpr StepFailure kVersionNotRead{.notice = {.caption = "NOTICE E:23",
                                                        .message = kManualResetNotice,
                                                        .row = kReadRow,
                                                        .status = "...GPS Version NOT Received...",
                                                        .order = kNoticeRowShow},
                                             .errorLine = true,
                                             .logBefore = "     GPS Version NOT Read : ",
                                             .logAfter = "  (E:23)"};

// No version text at all: the user is spared a notice, the device is switched off.
inline constexpr StepFailure kVersionInvalid{.notice = {.caption = "",
                                                        .message = "",
                                                        .row = kCheckRow,
                                                        .status = "...GPS Version NOT Valid",
                                                        .order = kRowShow},
                                             .errorLine = true,
                                             .logBefore = "     GPS Version Invalid : ",
                                             .logAfter = ""};

// The detail here is the device's version, not a status text. The row is marked but never
// shown: no status update follows before the page ends.
inline constexpr StepFailure kVersionIncorrect{
    .notice =
        {.caption = "NOTICE E:24",
         .message =
             "The GPS Version this program tried to load may not match the GPS Version currently "
             "on your Yardmark.  Please manually verify your GPS Version is the most recent by "
             "going to the \"Diagnostics\" menu on the Yardmark.  Under the \"Diagnostics\" menu, "
             "select \"GPS Data\" and press the \"Ver\" button.  If you do not see the most recent "
             "GPS version in the string that is shown, please rerun this program.",
         .row = kCheckRow,
         .status = "",
         .order = kRowNotice},
    .errorLine = true,
    .logBefore = "    GPS Version is NOT Correct ",
    .logAfter = "  (E:24)"};

} // namespace quillon::verify
