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
    .step = 1,
    .templateId = 177,
    .caption = "",
    .headerControl = 1030,
    .header = "Step 1 of 11 :  GPS Firmware Update Introduction",
    .instructions = kIntro,
    .pictureId = kBanner,
    .pictureBefore = 0,
    .forwardLabel = kYes,
    .cancelLabel = kNo,
    .hasPrevious = false,
    .forwardIsDefault = true,
    .cancelEnabled = true,
};

const PlainPageTexts kStep2ConnectComputerTexts{
    .step = 2,
    .templateId = 149,
    .caption = "Step 2:  Make sure the Yardmark is connected.",
    .headerControl = 1031,
    .header = "Step 2 of 11 :  Make sure the Yardmark is connected.",
    .instructions = kConnectComputer,
    .pictureId = kCablePicture,
    .pictureBefore = 2,
    .forwardLabel = kNext,
    .cancelLabel = kCancel,
    .hasPrevious = true,
    .forwardIsDefault = true,
    .cancelEnabled = true,
};

const PlainPageTexts kStep3ConnectDeviceTexts{
    .step = 3,
    .templateId = 150,
    .caption = "Step 3:  Make sure the Yardmark is connected.",
    .headerControl = 1032,
    .header = "Step 3 of 11 :  Make sure the Yardmark is connected.",
    .instructions = kConnectDevice,
    .pictureId = kConnectorPicture,
    .pictureBefore = 2,
    .forwardLabel = kNext,
    .cancelLabel = kCancel,
    .hasPrevious = true,
    .forwardIsDefault = true,
    .cancelEnabled = true,
};

const PlainPageTexts kStep4TurnOnTexts{
    .step = 4,
    .templateId = 151,
    .caption = "Step 4:  Turn on the Yardmark",
    .headerControl = 1033,
    .header = "Step 4 of 11 :  Turn on the Yardmark.",
    .instructions = kTurnOn,
    .pictureId = kOnKeyPicture,
    .pictureBefore = 2,
    .forwardLabel = kNext,
    .cancelLabel = kCancel,
    .hasPrevious = true,
    .forwardIsDefault = true,
    .cancelEnabled = true,
};

const PlainPageTexts kStep5VerifyConnectionTexts{
    .step = 5,
    .templateId = 152,
    .caption = "Step 5: Verify the connection",
    .headerControl = 1034,
    .header = "Step 5 of 11 :  Verify the connection",
    .instructions = kVerifyConnection,
    .pictureId = kScreenPicture,
    .pictureBefore = 2,
    .forwardLabel = kYes,
    .cancelLabel = kNo,
    .hasPrevious = false,
    .forwardIsDefault = false,
    .cancelEnabled = true,
};

const PlainPageTexts kStep7TurnOffTexts{
    .step = 7,
    .templateId = 154,
    .caption = "Step 7:  Turn off the Yardmark",
    .headerControl = 1044,
    .header = "Step 7 of 11 :  Turn off the Yardmark",
    .instructions = kTurnOff,
    .pictureId = kOffKeyPicture,
    .pictureBefore = 2,
    .forwardLabel = kNext,
    .cancelLabel = kCancel,
    .hasPrevious = false,
    .forwardIsDefault = true,
    .cancelEnabled = false,
};

const PlainPageTexts kStep8TurnOnAgainTexts{
    .step = 8,
    .templateId = 155,
    .caption = "Step 8:  Turn on the Yardmark",
    .headerControl = 1043,
    .header = "Step 8 of 11:  Turn on the Yardmark.",
    .instructions = kTurnOnAgain,
    .pictureId = kOnKeyPicture,
    .pictureBefore = 2,
    .forwardLabel = kNext,
    .cancelLabel = kCancel,
    .hasPrevious = true,
    .forwardIsDefault = true,
    .cancelEnabled = false,
};

const PlainPageTexts kStep9VerifyKV7Texts{
    .step = 9,
    .templateId = 156,
    .caption = "Step 9: Verify Screen",
    .headerControl = 1042,
    .header = "Step 9 of 11 :  Verify the connection",
    .instructions = kVerifyScreen,
    .pictureId = kScreenPicture,
    .pictureBefore = 3,
    .forwardLabel = kYes,
    .cancelLabel = kNo,
    .hasPrevious = false,
    .forwardIsDefault = true,
    .cancelEnabled = true,
};

const PlainPageTexts kStep11FinishTexts{
    .step = 11,
    .templateId = 145,
    .caption = "Step 11: Finalize Firmware Update",
    .headerControl = 1041,
    .header = "Step 11 of 11 :  The Yardmark Has Been Updated.",
    .instructions = kFinish,
    .pictureId = kBanner,
    .pictureBefore = 0,
    .forwardLabel = "Finish",
    .cancelLabel = kCancel,
    .hasPrevious = false,
    .forwardIsDefault = true,
    .cancelEnabled = false,
};

} // namespace quillon
