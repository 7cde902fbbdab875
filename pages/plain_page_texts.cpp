#include "pages/plain_page_texts.h"

#include <array>

namespace quillon {
namespace {

constexpr std::string_view kClickNext = "Click \"Next ->\" to continue.";
constexpr std::string_view kYes = "YES";
constexpr std::string_view kNo = "NO";
constexpr std::string_view kNext = "Next ->";
constexpr std::string_view kCancel = "Cancel";

constexpr int kBanner = 141;
constexpr int kScreenPicture = 135;
constexpr int kCablePicture = 176;
constexpr int kConnectorPicture = 161;
constexpr int kOnKeyPicture = 166;
constexpr int kOffKeyPicture = 167;

constexpr std::array kIntro{
    Instruction{"This application updates the GPS firmware used by your Yardmark to receive and "
                "handle satellite information. This update is intended to insure a high-level of "
                "accuracy provided by the Yardmark."},
    Instruction{"If you choose to continue, please follow the directions exactly. Failure to do "
                "so may cause your Yardmark to not function properly. ",
                InstructionStyle::Warning},
    Instruction{"For more information regarding this update, please visit the Tolvane website."},
    Instruction{"The entire update process will take about 5 minutes to complete.  "},
    Instruction{"* For KV6 and KV7 ONLY *", InstructionStyle::Centred},
    Instruction{"Do you want to continue with the GPS Firmware Update?"},
};

constexpr std::array kConnectComputer{
    Instruction{"Make sure the cable provided with your Yardmark is firmly connected to your "
                "computer as shown below.  An adapter may be required to make this connection."},
    Instruction{kClickNext},
};

constexpr std::array kConnectDevice{
    Instruction{"Make sure that the other end of the cable is firmly plugged into the hole on the "
                "right side of your Yardmark as shown below.  Your connector may vary."},
    Instruction{kClickNext},
};

constexpr std::array kTurnOn{
    Instruction{"Please turn on your Yardmark by pressing the Center Soft Key, as shown below."},
    Instruction{kClickNext},
};

constexpr std::string_view kWaitForStartUp =
    "Please wait as your Yardmark finishes its start-up process. Your Yardmark screen should "
    "match the screen shown below.";
constexpr std::string_view kSelectConnect =
    "You may need to select \"Connect\" on the Yardmark before this screen will appear. If your "
    "screen still does not match the one below, please check your cable connection.";
constexpr std::string_view kScreenQuestion = "Does your Yardmark screen match the one shown here?";

constexpr std::array kVerifyConnection{
    Instruction{kWaitForStartUp},
    Instruction{kSelectConnect},
    Instruction{kScreenQuestion},
};

constexpr std::array kTurnOff{
    Instruction{"Please turn off your Yardmark by pressing the Right Soft Key labeled \"OFF\", as "
                "shown below."},
    Instruction{kClickNext},
};

constexpr std::array kTurnOnAgain{
    Instruction{"Please turn on your Yardmark by pressing the Center Soft Key, as shown below. "},
    Instruction{kClickNext},
};

constexpr std::array kVerifyScreen{
    Instruction{kWaitForStartUp},
    Instruction{"Please wait as your KV7 finishes its start-up process. Your KV7 screen should "
                "match the screen shown below. If not, please check your cable connection.",
                InstructionStyle::Overlaid},
    Instruction{kSelectConnect},
    Instruction{kScreenQuestion},
};

constexpr std::array kFinish{
    Instruction{"Congratulations! Your Yardmark has been updated to the latest GPS firmware "
                "version."},
    Instruction{"To insure that the update was successful, it is recommended that you test your "
                "Yardmark outdoors before using it on a course."},
    Instruction{"If you have any issues with your Yardmark after applying this update, please "
                "visit the Tolvane website."},
};

} // namespace

const PlainPageTexts kStep1IntroTexts{
    1,     177, "", 1030, "Step 1 of 11 :  GPS Firmware Update Introduction", kIntro, kBanner,
    0,  kYes, kNo, false, true, true};
const PlainPageTexts kStep2ConnectComputerTexts{
    2,     149, "Step 2:  Make sure the Yardmark is connected.", 1031,
    "Step 2 of 11 :  Make sure the Yardmark is connected.", kConnectComputer, kCablePicture,
    2, kNext, kCancel, true, true, true};
const PlainPageTexts kStep3ConnectDeviceTexts{
    3,     150, "Step 3:  Make sure the Yardmark is connected.", 1032,
    "Step 3 of 11 :  Make sure the Yardmark is connected.", kConnectDevice, kConnectorPicture,
    2, kNext, kCancel, true, true, true};
const PlainPageTexts kStep4TurnOnTexts{
    4,     151, "Step 4:  Turn on the Yardmark", 1033, "Step 4 of 11 :  Turn on the Yardmark.",
    kTurnOn, kOnKeyPicture, 2, kNext, kCancel, true, true, true};
const PlainPageTexts kStep5VerifyConnectionTexts{
    5,     152, "Step 5: Verify the connection", 1034, "Step 5 of 11 :  Verify the connection",
    kVerifyConnection, kScreenPicture, 2, kYes, kNo, false, false, true};
const PlainPageTexts kStep7TurnOffTexts{
    7,     154, "Step 7:  Turn off the Yardmark", 1044, "Step 7 of 11 :  Turn off the Yardmark",
    kTurnOff, kOffKeyPicture, 2, kNext, kCancel, false, true, false};
const PlainPageTexts kStep8TurnOnAgainTexts{
    8,     155, "Step 8:  Turn on the Yardmark", 1043, "Step 8 of 11:  Turn on the Yardmark.",
    kTurnOnAgain, kOnKeyPicture, 2, kNext, kCancel, true, true, false};
const PlainPageTexts kStep9VerifyKV7Texts{
    9,     156, "Step 9: Verify Screen", 1042, "Step 9 of 11 :  Verify the connection",
    kVerifyScreen, kScreenPicture, 3, kYes, kNo, false, true, true};
const PlainPageTexts kStep11FinishTexts{
    11,    145, "Step 11: Finalize Firmware Update", 1041,
    "Step 11 of 11 :  The Yardmark Has Been Updated.", kFinish, kBanner, 0, "Finish", kCancel,
    false, true, false};

} // namespace quillon
