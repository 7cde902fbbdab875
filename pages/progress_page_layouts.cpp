#include "pages/progress_page.h"

#include <array>

namespace quillon {
namespace {

constexpr std::string_view kDoNotUnplug = "    DO NOT UNPLUG YOUR YARDMARK !    ";

constexpr std::array<std::string_view, 7> kLoadRows{
    "1. Locate the Firmware File:", "2. Locating the Yardmark:", "3. Checking the Battery Level:",
    "4. Checking Application:",     "5. Checking GPS Version:",  "6. Initializing the Yardmark:",
    "7. Loading Firmware:"};
constexpr std::array<int, 7> kLoadRowControls{1015, 1016, 1017, 1045, 1018, 1019, 1020};

constexpr std::array<std::string_view, 5> kVerifyRows{
    "1. Locating the Yardmark:", "2. Resetting the GPS:", "3. Retrieving the Version:",
    "4. Verifying Version Number:", "5. Turning Off Yardmark:"};
constexpr std::array<int, 5> kVerifyRowControls{1016, 1023, 1024, 1025, 1026};

} // namespace

const ProgressPageLayout kFirmwareLoadLayout{
    .templateId = 142,
    .caption = "Step 6:  Load the GPS Firmware",
    .headerControl = 1035,
    .header = "Step 6 of 11 :  Load the Updated GPS Firmware.",
    .instructions = "Please wait while the program attempts to locate your Yardmark and update the "
                    "GPS firmware to the most current version.  ",
    .warning = kDoNotUnplug,
    .rowLabels = kLoadRows,
    .rowControls = kLoadRowControls,
    .statusControl = 1022,
    .progressControl = 1021,
    .progressLabel = "Firmware Upgrade Progress",
};

const ProgressPageLayout kResetAndVerifyLayout{
    .templateId = 144,
    .caption = "Step 10: Reset GPS and Verify Version Number",
    .headerControl = 1034,
    .header = "Step 10 of 11 :  Reset the GPS and Verify the Version.",
    .instructions = "Please wait while the program attempts to reset your GPS and verify the GPS "
                    "was updated correctly.",
    .warning = kDoNotUnplug,
    .rowLabels = kVerifyRows,
    .rowControls = kVerifyRowControls,
    .statusControl = 1028,
    .progressControl = 1027,
    .progressLabel = "Verification Progress",
};

} // namespace quillon
