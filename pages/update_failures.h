#pragma once

#include "pages/failure_notice.h"
#include "pages/notice_texts.h"

#include <string_view>

namespace quillon::update {

// What the firmware-load page does with the device once a step has failed.
enum class Ending {
  ShutDownThenClose,  // wait 2000 ms, switch the device off, close the page
  Close,              // wait 2000 ms, close the page; nothing more is sent to the device
  ShutDownThenCancel, // switch the device off, wait 2000 ms, end with Cancel at once
  WaitShutDownCancel, // wait 2000 ms, switch the device off, end with Cancel at once
};

struct Failure {
  StepFailure step;
  Ending ending;
};

// Rows of the firmware-load page.
inline constexpr int kFileRow = 1;
inline constexpr int kLocateRow = 2;
inline constexpr int kBatteryRow = 3;
inline constexpr int kApplicationRow = 4;
inline constexpr int kGpsVersionRow = 5;
inline constexpr int kInitialiseRow = 6;
inline constexpr int kLoadRow = 7;

inline constexpr Failure kNotFound{
    .step = {.notice = {.caption = "NOTICE E:4",
                        .message = "The program could not find your Yardmark.  Please check your "
                                   "connections and run this program again",
                        .row = kLocateRow,
                        .status = "...Yardmark NOT Found...",
                        .order = kNoticeRowShow},
             .errorLine = true,
             .logBefore = "     KV7 Not Found : ",
             .logAfter = "  (E:4)"},
    .ending = Ending::Close};

inline constexpr Failure kCommandModeNotSet{
    .step = {.notice = {.caption = "NOTICE E:5",
                        .message = kPrepareCommunicationNotice,
                        .row = kBatteryRow,
                        .status = "...Command Mode NOT Set...",
                        .order = kRowShowNotice},
             .errorLine = true,
             .logBefore = "     Command Mode Not Set : ",
             .logAfter = "  (E:5)"},
    .ending = Ending::ShutDownThenClose};

inline constexpr Failure kBatteryNotRead{
    .step = {.notice = {.caption = "NOTICE E:6",
                        .message = kPrepareCommunicationNotice,
                        .row = kBatteryRow,
                        .status = "...Battery Level NOT Read...",
                        .order = kRowShowNotice},
             .errorLine = true,
             .logBefore = "     Battery Level NOT Read : ",
             .logAfter = "  (E:6)"},
    .ending = Ending::ShutDownThenClose};

// The line names 30 whatever the threshold: support staff know the line by that text.
inline constexpr Failure kBatteryLow{
    .step = {.notice = {.caption = "NOTICE E:7",
                        .message =
                            "The Yardmark's battery has been determined too low to continue. "
                            "Please recharge or plug in your Yardmark and run this program again.",
                        .row = kBatteryRow,
                        .status = "...The Battery is too low...",
                        .order = kNoticeShow},
             .errorLine = false,
             .logBefore = "     Battery Level is below 30  (E:7)",
             .logAfter = ""},
    .ending = Ending::ShutDownThenCancel};

inline constexpr Failure kApplicationOutOfDate{
    .step = {.notice = {.caption = "NOTICE E:9",
                        .message =
                            "The Yardmark's Application Version has been determined too out of "
                            "date to continue. Please direct connect your Yardmark in order to "
                            "update your application, and then run this program again.",
                        .row = kApplicationRow,
                        .status = "...Application Version is out of date...",
                        .order = kNoticeShow},
             .errorLine = false,
             .logBefore = "     Application Version is out of date  (E:9)",
             .logAfter = ""},
    .ending = Ending::ShutDownThenCancel};

inline constexpr Failure kApplicationNotAcquired{
    .step = {.notice = {.caption = "NOTICE E:10",
                        .message = kPrepareCommunicationNotice,
                        .row = kApplicationRow,
                        .status = "...Application NOT Verified...",
                        .order = kNoticeRowShow},
             .errorLine = true,
             .logBefore = "     Application Version NOT Acquired : ",
             .logAfter = " (E:10)"},
    .ending = Ending::ShutDownThenClose};

inline constexpr Failure kGpsVersionNotReceived{
    .step = {.notice = {.caption = "NOTICE E:11",
                        .message = kPrepareCommunicationNotice,
                        .row = kGpsVersionRow,
                        .status = "...GPS Version NOT Received...",
                        .order = kNoticeRowShow},
             .errorLine = true,
             .logBefore = "    GPS Version NOT received on second try: ",
             .logAfter = "  (E:11)"},
    .ending = Ending::ShutDownThenClose};

inline constexpr Failure kGpsNotReset{
    .step = {.notice = {.caption = "NOTICE E:12",
                        .message = kPrepareCommunicationNotice,
                        .row = kGpsVersionRow,
                        .status = "...GPS NOT Reset...",
                        .order = kNoticeRowShow},
             .errorLine = true,
             .logBefore = "     GPS Version NOT Reset on second try to recieve GPS Version : ",
             .logAfter = "  (E:12)"},
    .ending = Ending::ShutDownThenClose};

inline constexpr Failure kAlreadyUpToDate{
    .step = {.notice = {.caption = "NOTICE E:13",
                        .message = "The latest firmware is already installed on your Yardmark.  "
                                   "The program will now exit.",
                        .row = kGpsVersionRow,
                        .status = "...Latest GPS is Already Loaded...",
                        .order = kRowNoticeShow},
             .errorLine = false,
             .logBefore = "    GPS Does NOT Need Update: ",
             .logAfter = "  (E:13)"},
    .ending = Ending::WaitShutDownCancel};

inline constexpr Failure kGpsVersionInvalid{
    .step = {.notice = {.caption = "NOTICE E:14",
                        .message = kPrepareCommunicationNotice,
                        .row = kGpsVersionRow,
                        .status = "...GPS Version NOT Valid",
                        .order = kNoticeRowShow},
             .errorLine = true,
             .logBefore = "     GPS Version Invalid : ",
             .logAfter = "  (E:14)"},
    .ending = Ending::ShutDownThenClose};

inline constexpr Failure kPassthroughNotStarted{
    .step = {.notice = {.caption = "NOTICE E:15",
                        .message = kPrepareGpsNotice,
                        .row = kInitialiseRow,
                        .status = "...GPS Passthrough NOT Init...",
                        .order = kNoticeRowShow},
             .errorLine = true,
             .logBefore = "     GPS Passthrough NOT started : ",
             .logAfter = "  (E:15)"},
    .ending = Ending::ShutDownThenClose};

inline constexpr Failure kBaud4800NotSet{
    .step = {.notice = {.caption = "NOTICE E:16",
                        .message = kPrepareGpsNotice,
                        .row = kInitialiseRow,
                        .status = "...Baud Rate NOT Changed...",
                        .order = kNoticeRowShow},
             .errorLine = true,
             .logBefore = "     Baud Rate NOT set to 4800 : ",
             .logAfter = "  (E:16)"},
    .ending = Ending::Close};

inline constexpr Failure kGpsUpdateNotInitialised{
    .step = {.notice = {.caption = "NOTICE E:17",
                        .message = kPrepareGpsNotice,
                        .row = kInitialiseRow,
                        .status = "...Firmware Update NOT Init...",
                        .order = kNoticeRowShow},
             .errorLine = true,
             .logBefore = "     GPS Update NOT Initialized : ",
             .logAfter = "  (E:17)"},
    .ending = Ending::Close};

// The log has always said 11500 here, while the rate set is 115200.
inline constexpr Failure kBaud115200NotSet{
    .step = {.notice = {.caption = "NOTICE E:18",
                        .message = kPrepareGpsNotice,
                        .row = kInitialiseRow,
                        .status = "...Baud Rate NOT Changed...",
                        .order = kNoticeRowShow},
             .errorLine = true,
             .logBefore = "     Baud Rate NOT changed to 11500: ",
             .logAfter = "  (E:18)"},
    .ending = Ending::Close};

inline constexpr Failure kPassthroughNotExited{
    .step = {.notice = {.caption = "NOTICE E:19",
                        .message = kPrepareGpsNotice,
                        .row = kLoadRow,
                        .status = "...GPS Passthrough NOT Exited..",
                        .order = kNoticeShow},
             .errorLine = true,
             .logBefore = "     GPS Passthrough NOT exited : ",
             .logAfter = "  (E:19)"},
    .ending = Ending::Close};

// The upload cannot finish (the loader gave up for good, the cable was pulled, or the boot
// loader went silent). The device stays in passthrough, as after E:16 to E:19.
inline constexpr Failure kUploadStalled{
    .step = {.notice = {.caption = "NOTICE E:25",
                        .message =
                            "The GPS firmware could not be loaded.  Please check your connections, "
                            "switch your Yardmark off and on again, and run this program again.",
                        .row = kLoadRow,
                        .status = "...Firmware NOT Loaded...",
                        .order = kNoticeRowShow},
             .errorLine = true,
             .logBefore = "     GPS Firmware NOT loaded : ",
             .logAfter = "  (E:25)"},
    .ending = Ending::Close};

} // namespace quillon::update
