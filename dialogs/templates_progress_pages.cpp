// The two self-running device pages: step 6 loads the firmware, step 10 resets the GPS and
// checks its version. Both have rows of state texts, a status line and a progress bar, and two
// tiny hidden buttons that only carry the dialog's OK and Cancel results.
#include "dialogs/template_parts.h"

namespace quillon {
namespace {

using namespace parts;

constexpr std::string_view kDoNotUnplug = "    DO NOT UNPLUG YOUR YARDMARK !    ";
constexpr std::uint32_t kCentred = StyleCentred;
constexpr std::uint32_t kHiddenButton = StyleHidden;

constexpr ProgressRow kLoadRows[] = {
    {"1. Locate the Firmware File:", 1015},   {"2. Locating the Yardmark:", 1016},
    {"3. Checking the Battery Level:", 1017}, {"4. Checking Application:", 1045},
    {"5. Checking GPS Version:", 1018},       {"6. Initializing the Yardmark:", 1019},
    {"7. Loading Firmware:", 1020},
};
constexpr int kLoadStatus = 1022;
constexpr int kLoadProgress = 1021;

// The row and status texts of the template are placeholders; the page replaces them before
// they are first shown.
constexpr ControlTemplate kLoadFirmwareControls[] = {
    Title(1035, "Step 6 of 11 :  Load the Updated GPS Firmware.", {7, 7, 175, 11}),
    Group(ids::kNoId, "Instructions", {7, 25, 175, 52}),
    Text(ids::kNoId,
         "Please wait while the program attempts to locate your Yardmark and update the GPS "
         "firmware to the most current version.  ",
         {18, 35, 152, 27}),
    Text(ids::kUnplugWarning, kDoNotUnplug, {31, 62, 129, 10}, kCentred, ColourRole::WarningLine),
    Group(1037, "Status", {7, 83, 175, 144}),
    Text(kLoadStatus, "StatusString", {13, 93, 162, 8}, kCentred, ColourRole::NavyText),
    Group(ids::kNoId, "", {125, 100, 44, 93}),
    RowLabel(kLoadRows[0], {24, 107, 97, 8}),
    RowState(kLoadRows[0], "Complete", {127, 107, 39, 8}),
    RowLabel(kLoadRows[1], {24, 120, 97, 8}),
    RowState(kLoadRows[1], "Working", {127, 120, 39, 8}),
    RowLabel(kLoadRows[2], {24, 132, 97, 8}),
    RowState(kLoadRows[2], "Working", {127, 132, 39, 8}),
    RowLabel(kLoadRows[3], {24, 144, 78, 8}),
    RowState(kLoadRows[3], "Working", {132, 144, 30, 8}),
    RowLabel(kLoadRows[4], {24, 156, 97, 8}),
    RowState(kLoadRows[4], "Working", {127, 156, 39, 8}),
    RowLabel(kLoadRows[5], {24, 168, 97, 8}),
    RowState(kLoadRows[5], "Working", {127, 168, 39, 8}),
    RowLabel(kLoadRows[6], {24, 180, 97, 8}),
    RowState(kLoadRows[6], "Working", {127, 180, 39, 8}),
    Group(ids::kNoId, "Firmware Upgrade Progress", {13, 195, 164, 27}),
    Progress(kLoadProgress, {20, 205, 150, 11}),
    Button(ids::kOk, "Next ->", {123, 228, 6, 6}, StyleDefault | kHiddenButton),
    Button(ids::kCancel, "Cancel", {175, 228, 8, 6}, kHiddenButton),
};

constexpr ProgressRow kVerifyRows[] = {
    {"1. Locating the Yardmark:", 1016},    {"2. Resetting the GPS:", 1023},
    {"3. Retrieving the Version:", 1024},   {"4. Verifying Version Number:", 1025},
    {"5. Turning Off Yardmark:", 1026},
};
constexpr int kVerifyStatus = 1028;
constexpr int kVerifyProgress = 1027;

constexpr ControlTemplate kResetAndVerifyControls[] = {
    Title(1034, "Step 10 of 11 :  Reset the GPS and Verify the Version.", {8, 6, 175, 12}),
    Group(ids::kNoId, "Instructions", {8, 27, 175, 52}),
    Text(ids::kNoId,
         "Please wait while the program attempts to reset your GPS and verify the GPS was updated "
         "correctly.",
         {18, 38, 159, 25}),
    Text(ids::kUnplugWarning, kDoNotUnplug, {21, 65, 149, 10}, kCentred, ColourRole::WarningLine),
    Group(ids::kNoId, "Status", {8, 89, 175, 139}),
    Text(kVerifyStatus, "Static", {25, 99, 143, 8}, kCentred, ColourRole::NavyText),
    Group(ids::kNoId, "", {118, 114, 42, 74}),
    RowLabel(kVerifyRows[0], {27, 124, 88, 8}),
    RowState(kVerifyRows[0], "Complete", {121, 124, 36, 8}),
    RowLabel(kVerifyRows[1], {27, 137, 88, 8}),
    RowState(kVerifyRows[1], "Working", {121, 137, 36, 8}),
    RowLabel(kVerifyRows[2], {27, 150, 88, 8}),
    RowState(kVerifyRows[2], "--", {121, 150, 36, 8}),
    RowLabel(kVerifyRows[3], {27, 163, 88, 8}),
    RowState(kVerifyRows[3], "--", {121, 163, 36, 8}),
    RowLabel(kVerifyRows[4], {27, 176, 83, 8}),
    RowState(kVerifyRows[4], "--", {121, 176, 36, 8}),
    Group(ids::kNoId, "Verification Progress", {16, 196, 158, 27}),
    Progress(kVerifyProgress, {21, 206, 145, 11}),
    Button(ids::kOk, "Next ->", {123, 228, 6, 6}, StyleDefault | kHiddenButton),
    Button(ids::kCancel, "Cancel", {175, 228, 8, 6}, kHiddenButton),
};

constexpr DialogTemplate kLoadFirmware{tpl::kLoadFirmware, FrameKind::WizardPage,
                                       "Step 6:  Load the GPS Firmware", 190, 241,
                                       kLoadFirmwareControls};
constexpr DialogTemplate kResetAndVerify{tpl::kResetAndVerify, FrameKind::WizardPage,
                                         "Step 10: Reset GPS and Verify Version Number", 190, 241,
                                         kResetAndVerifyControls};

constexpr const DialogTemplate* kProgressPages[] = {&kLoadFirmware, &kResetAndVerify};

} // namespace

const ProgressPageControls kFirmwareLoadPageControls{tpl::kLoadFirmware, kLoadRows, kLoadStatus,
                                                     kLoadProgress};
const ProgressPageControls kResetAndVerifyPageControls{tpl::kResetAndVerify, kVerifyRows,
                                                       kVerifyStatus, kVerifyProgress};

std::span<const DialogTemplate* const> ProgressPageTemplates() { return kProgressPages; }

} // namespace quillon
