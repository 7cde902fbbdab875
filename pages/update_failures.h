#pragma once

#include <string_view>

#include "pages/failure_notice.h"
#include "pages/notice_texts.h"

namespace quillon::update {

// What the firmware-load page does with the device once a step has failed.
enum class Ending {
  ShutDownThenClose,   // wait 2000 ms, switch the device off, close the page
  Close,               // wait 2000 ms, close the page; nothing more is sent to the device
  ShutDownThenCancel,  // switch the device off, wait 2000 ms, end with Cancel at once
  WaitShutDownCancel,  // wait 2000 ms, switch the device off, end with Cancel at once
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
    {{"NOTICE E:4",
      "The program could not find your Yardmark.  Please check your connections and run this "
      "program again",
      kLocateRow, "...Yardmark NOT Found...", kNoticeRowShow},
     true, "     KV7 Not Found : ", "  (E:4)"},
    Ending::Close};

inline constexpr Failure kCommandModeNotSet{
    {{"NOTICE E:5", kPrepareCommunicationNotice, kBatteryRow, "...Command Mode NOT Set...",
      kRowShowNotice},
     true, "     Command Mode Not Set : ", "  (E:5)"},
    Ending::ShutDownThenClose};

inline constexpr Failure kBatteryNotRead{
    {{"NOTICE E:6", kPrepareCommunicationNotice, kBatteryRow, "...Battery Level NOT Read...",
      kRowShowNotice},
     true, "     Battery Level NOT Read : ", "  (E:6)"},
    Ending::ShutDownThenClose};

// The line names 30 whatever the threshold: support staff know the line by that text.
inline constexpr Failure kBatteryLow{
    {{"NOTICE E:7",
      "The Yardmark's battery has been determined too low to continue. Please recharge or plug "
      "in your Yardmark and run this program again.",
      kBatteryRow, "...The Battery is too low...", kNoticeShow},
     false, "     Battery Level is below 30  (E:7)", ""},
    Ending::ShutDownThenCancel};

inline constexpr Failure kApplicationOutOfDate{
    {{"NOTICE E:9",
      "The Yardmark's Application Version has been determined too out of date to continue. "
      "Please direct connect your Yardmark in order to update your application, and then run "
      "this program again.",
      kApplicationRow, "...Application Version is out of date...", kNoticeShow},
     false, "     Application Version is out of date  (E:9)", ""},
    Ending::ShutDownThenCancel};

inline constexpr Failure kApplicationNotAcquired{
    {{"NOTICE E:10", kPrepareCommunicationNotice, kApplicationRow,
      "...Application NOT Verified...", kNoticeRowShow},
     true, "     Application Version NOT Acquired : ", " (E:10)"},
    Ending::ShutDownThenClose};

inline constexpr Failure kGpsVersionNotReceived{
    {{"NOTICE E:11", kPrepareCommunicationNotice, kGpsVersionRow,
      "...GPS Version NOT Received...", kNoticeRowShow},
     true, "    GPS Version NOT received on second try: ", "  (E:11)"},
    Ending::ShutDownThenClose};

inline constexpr Failure kGpsNotReset{
    {{"NOTICE E:12", kPrepareCommunicationNotice, kGpsVersionRow, "...GPS NOT Reset...",
      kNoticeRowShow},
     true, "     GPS Version NOT Reset on second try to recieve GPS Version : ", "  (E:12)"},
    Ending::ShutDownThenClose};

inline constexpr Failure kAlreadyUpToDate{
    {{"NOTICE E:13",
      "The latest firmware is already installed on your Yardmark.  The program will now exit.",
      kGpsVersionRow, "...Latest GPS is Already Loaded...", kRowNoticeShow},
     false, "    GPS Does NOT Need Update: ", "  (E:13)"},
    Ending::WaitShutDownCancel};

inline constexpr Failure kGpsVersionInvalid{
    {{"NOTICE E:14", kPrepareCommunicationNotice, kGpsVersionRow, "...GPS Version NOT Valid",
      kNoticeRowShow},
     true, "     GPS Version Invalid : ", "  (E:14)"},
    Ending::ShutDownThenClose};

inline constexpr Failure kPassthroughNotStarted{
    {{"NOTICE E:15", kPrepareGpsNotice, kInitialiseRow, "...GPS Passthrough NOT Init...",
      kNoticeRowShow},
     true, "     GPS Passthrough NOT started : ", "  (E:15)"},
    Ending::ShutDownThenClose};

inline constexpr Failure kBaud4800NotSet{
    {{"NOTICE E:16", kPrepareGpsNotice, kInitialiseRow, "...Baud Rate NOT Changed...",
      kNoticeRowShow},
     true, "     Baud Rate NOT set to 4800 : ", "  (E:16)"},
    Ending::Close};

inline constexpr Failure kGpsUpdateNotInitialised{
    {{"NOTICE E:17", kPrepareGpsNotice, kInitialiseRow, "...Firmware Update NOT Init...",
      kNoticeRowShow},
     true, "     GPS Update NOT Initialized : ", "  (E:17)"},
    Ending::Close};

// The log has always said 11500 here, while the rate set is 115200.
inline constexpr Failure kBaud115200NotSet{
    {{"NOTICE E:18", kPrepareGpsNotice, kInitialiseRow, "...Baud Rate NOT Changed...",
      kNoticeRowShow},
     true, "     Baud Rate NOT changed to 11500: ", "  (E:18)"},
    Ending::Close};

inline constexpr Failure kPassthroughNotExited{
    {{"NOTICE E:19", kPrepareGpsNotice, kLoadRow, "...GPS Passthrough NOT Exited..",
      kNoticeShow},
     true, "     GPS Passthrough NOT exited : ", "  (E:19)"},
    Ending::Close};

// The upload cannot finish (the loader gave up for good, the cable was pulled, or the boot
// loader went silent). The device stays in passthrough, as after E:16 to E:19.
inline constexpr Failure kUploadStalled{
    {{"NOTICE E:25",
      "The GPS firmware could not be loaded.  Please check your connections, switch your "
      "Yardmark off and on again, and run this program again.",
      kLoadRow, "...Firmware NOT Loaded...", kNoticeRowShow},
     true, "     GPS Firmware NOT loaded : ", "  (E:25)"},
    Ending::Close};

} // namespace quillon::update
