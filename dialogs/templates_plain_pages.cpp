// The nine instruction and screen-check pages: 190 x 241 dialog units (step 11: 189), the
// step title at the top, the instructions and picture under it, the buttons in one row at
// y = 220.
#include "dialogs/template_parts.h"

namespace quillon {
namespace {

using namespace parts;

constexpr DluRect kTitleRect{7, 7, 176, 11};
constexpr int kButtonY = 220;
constexpr int kButtonW = 50;
constexpr int kButtonH = 14;
constexpr DluRect ButtonAt(int x) { return {x, kButtonY, kButtonW, kButtonH}; }

constexpr int kPageW = 190;
constexpr int kPageH = 241;
constexpr int kFinishW = 189;

// The banner under the title (steps 1 and 11), the photograph under the instructions (steps
// 2, 3, 4, 7 and 8) and the ready screen between the texts of the screen checks (5 and 9).
constexpr int kBannerY = 22;
constexpr int kPhotoY = 76;
constexpr int kScreenY = 88;

constexpr std::string_view kClickNext = "Click \"Next ->\" to continue.";
constexpr DluRect kInstructionRect{7, 24, 176, 34};
constexpr DluRect kClickNextRect{7, 60, 176, 10};

// Step 1.
constexpr ControlTemplate kIntroControls[] = {
    Title(1030, "Step 1 of 11 :  GPS Firmware Update Introduction", kTitleRect),
    CentredPicture(ids::kNoId, art::kBanner, kPageW, kBannerY),
    Text(ids::kNoId,
         "This application updates the GPS firmware used by your Yardmark to receive and handle "
         "satellite information. This update is intended to insure a high-level of accuracy "
         "provided by the Yardmark.",
         {7, 51, 176, 42}),
    Text(ids::kIntroWarning,
         "If you choose to continue, please follow the directions exactly. Failure to do so may "
         "cause your Yardmark to not function properly. ",
         {7, 95, 176, 26}, StyleNone, ColourRole::RedText),
    Text(ids::kNoId,
         "For more information regarding this update, please visit the Tolvane website.",
         {7, 123, 176, 18}),
    Text(ids::kNoId, "The entire update process will take about 5 minutes to complete.  ",
         {7, 143, 176, 18}),
    Text(ids::kNoId, "* For KV6 and KV7 ONLY *", {7, 167, 176, 10}, StyleCentred),
    Text(ids::kNoId, "Do you want to continue with the GPS Firmware Update?", {7, 196, 176, 18}),
    Button(ids::kOk, "YES", ButtonAt(36), StyleDefault),
    Button(ids::kCancel, "NO", ButtonAt(106)),
};

// Steps 2, 3, 4 and 8: instructions, "Click Next", a picture, and Previous / Next / Cancel.
constexpr ControlTemplate kConnectComputerControls[] = {
    Title(1031, "Step 2 of 11 :  Make sure the Yardmark is connected.", kTitleRect),
    Text(ids::kNoId,
         "Make sure the cable provided with your Yardmark is firmly connected to your computer "
         "as shown below.  An adapter may be required to make this connection.",
         kInstructionRect),
    Text(ids::kNoId, kClickNext, kClickNextRect),
    CentredPicture(ids::kNoId, art::kCableAtComputer, kPageW, kPhotoY),
    Button(ids::kPrevious, "<- Previous", ButtonAt(7)),
    Button(ids::kOk, "Next ->", ButtonAt(71), StyleDefault),
    Button(ids::kCancel, "Cancel", ButtonAt(133)),
};

constexpr ControlTemplate kConnectDeviceControls[] = {
    Title(1032, "Step 3 of 11 :  Make sure the Yardmark is connected.", kTitleRect),
    Text(ids::kNoId,
         "Make sure that the other end of the cable is firmly plugged into the hole on the right "
         "side of your Yardmark as shown below.  Your connector may vary.",
         kInstructionRect),
    Text(ids::kNoId, kClickNext, kClickNextRect),
    CentredPicture(ids::kNoId, art::kCableAtDevice, kPageW, kPhotoY),
    Button(ids::kPrevious, "<- Previous", ButtonAt(7)),
    Button(ids::kOk, "Next ->", ButtonAt(71), StyleDefault),
    Button(ids::kCancel, "Cancel", ButtonAt(133)),
};

constexpr ControlTemplate kTurnOnControls[] = {
    Title(1033, "Step 4 of 11 :  Turn on the Yardmark.", kTitleRect),
    Text(ids::kNoId,
         "Please turn on your Yardmark by pressing the Center Soft Key, as shown below.",
         kInstructionRect),
    Text(ids::kNoId, kClickNext, kClickNextRect),
    CentredPicture(ids::kNoId, art::kCentreKeyOn, kPageW, kPhotoY),
    Button(ids::kPrevious, "<- Previous", ButtonAt(7)),
    Button(ids::kOk, "Next ->", ButtonAt(71), StyleDefault),
    Button(ids::kCancel, "Cancel", ButtonAt(133)),
};

// Steps 5 and 9: the screen checks. YES is not the default button on step 5.
constexpr std::string_view kWaitForStartUp =
    "Please wait as your Yardmark finishes its start-up process. Your Yardmark screen should "
    "match the screen shown below.";
constexpr std::string_view kSelectConnect =
    "You may need to select \"Connect\" on the Yardmark before this screen will appear. If your "
    "screen still does not match the one below, please check your cable connection.";
constexpr std::string_view kDoesItMatch = "Does your Yardmark screen match the one shown here?";
constexpr DluRect kWaitRect{7, 22, 176, 26};
constexpr DluRect kSelectConnectRect{7, 50, 176, 34};
constexpr DluRect kQuestionRect{7, 184, 176, 18};

constexpr ControlTemplate kVerifyConnectionControls[] = {
    Title(1034, "Step 5 of 11 :  Verify the connection", kTitleRect),
    Text(ids::kNoId, kWaitForStartUp, kWaitRect),
    Text(ids::kNoId, kSelectConnect, kSelectConnectRect),
    CentredPicture(ids::kScreenPicture, art::kReadyScreen, kPageW, kScreenY),
    Text(ids::kNoId, kDoesItMatch, kQuestionRect),
    Button(ids::kOk, "YES", ButtonAt(79)),
    Button(ids::kCancel, "NO", ButtonAt(133)),
};

constexpr ControlTemplate kTurnOffControls[] = {
    Title(1044, "Step 7 of 11 :  Turn off the Yardmark", kTitleRect),
    Text(ids::kNoId,
         "Please turn off your Yardmark by pressing the Right Soft Key labeled \"OFF\", as shown "
         "below.",
         kInstructionRect),
    Text(ids::kNoId, kClickNext, kClickNextRect),
    CentredPicture(ids::kNoId, art::kOffKey, kPageW, kPhotoY),
    Button(ids::kOk, "Next ->", ButtonAt(79), StyleDefault),
    Button(ids::kCancel, "Cancel", ButtonAt(133), StyleDisabled),
};

constexpr ControlTemplate kTurnOnAgainControls[] = {
    Title(1043, "Step 8 of 11:  Turn on the Yardmark.", kTitleRect),
    Text(ids::kNoId,
         "Please turn on your Yardmark by pressing the Center Soft Key, as shown below. ",
         kInstructionRect),
    Text(ids::kNoId, kClickNext, kClickNextRect),
    CentredPicture(ids::kNoId, art::kCentreKeyOn, kPageW, kPhotoY),
    Button(ids::kPrevious, "<- Previous", ButtonAt(7)),
    Button(ids::kOk, "Next ->", ButtonAt(71), StyleDefault),
    Button(ids::kCancel, "Cancel", ButtonAt(133), StyleDisabled),
};

// Step 9 keeps an older wording in a static at the place of the first text; the two would
// overlap, so only the step 5 wording is shown.
constexpr ControlTemplate kVerifyScreenControls[] = {
    Title(1042, "Step 9 of 11 :  Verify the connection", kTitleRect),
    Text(ids::kNoId, kWaitForStartUp, kWaitRect),
    Text(ids::kNoId,
         "Please wait as your KV7 finishes its start-up process. Your KV7 screen should match the "
         "screen shown below. If not, please check your cable connection.",
         {7, 22, 176, 27}, StyleHidden),
    Text(ids::kNoId, kSelectConnect, kSelectConnectRect),
    CentredPicture(ids::kScreenPicture, art::kReadyScreen, kPageW, kScreenY),
    Text(ids::kNoId, kDoesItMatch, kQuestionRect),
    Button(ids::kOk, "YES", ButtonAt(79), StyleDefault),
    Button(ids::kCancel, "NO", ButtonAt(133)),
};

constexpr ControlTemplate kFinishControls[] = {
    Title(1041, "Step 11 of 11 :  The Yardmark Has Been Updated.", kTitleRect),
    CentredPicture(ids::kNoId, art::kBanner, kFinishW, kBannerY),
    Text(ids::kNoId,
         "Congratulations! Your Yardmark has been updated to the latest GPS firmware version.",
         {7, 56, 176, 20}),
    Text(ids::kNoId,
         "To insure that the update was successful, it is recommended that you test your Yardmark "
         "outdoors before using it on a course.",
         {7, 84, 176, 28}),
    Text(ids::kNoId,
         "If you have any issues with your Yardmark after applying this update, please visit the "
         "Tolvane website.",
         {7, 120, 176, 28}),
    Button(ids::kOk, "Finish", ButtonAt(79), StyleDefault),
    Button(ids::kCancel, "Cancel", ButtonAt(133), StyleDisabled),
};

constexpr DialogTemplate kIntro{tpl::kIntro, FrameKind::WizardPage, "", kPageW, kPageH,
                                kIntroControls};
constexpr DialogTemplate kConnectComputer{tpl::kConnectComputer, FrameKind::WizardPage,
                                          "Step 2:  Make sure the Yardmark is connected.", kPageW,
                                          kPageH, kConnectComputerControls};
constexpr DialogTemplate kConnectDevice{tpl::kConnectDevice, FrameKind::WizardPage,
                                        "Step 3:  Make sure the Yardmark is connected.", kPageW,
                                        kPageH, kConnectDeviceControls};
constexpr DialogTemplate kTurnOn{tpl::kTurnOn, FrameKind::WizardPage,
                                 "Step 4:  Turn on the Yardmark", kPageW, kPageH, kTurnOnControls};
constexpr DialogTemplate kVerifyConnection{tpl::kVerifyConnection, FrameKind::WizardPage,
                                           "Step 5: Verify the connection", kPageW, kPageH,
                                           kVerifyConnectionControls};
constexpr DialogTemplate kTurnOff{tpl::kTurnOff, FrameKind::WizardPage,
                                  "Step 7:  Turn off the Yardmark", kPageW, kPageH,
                                  kTurnOffControls};
constexpr DialogTemplate kTurnOnAgain{tpl::kTurnOnAgain, FrameKind::WizardPage,
                                      "Step 8:  Turn on the Yardmark", kPageW, kPageH,
                                      kTurnOnAgainControls};
constexpr DialogTemplate kVerifyScreen{tpl::kVerifyScreen, FrameKind::WizardPage,
                                       "Step 9: Verify Screen", kPageW, kPageH,
                                       kVerifyScreenControls};
constexpr DialogTemplate kFinish{tpl::kFinish, FrameKind::WizardPage,
                                 "Step 11: Finalize Firmware Update", kFinishW, kPageH,
                                 kFinishControls};

constexpr const DialogTemplate* kPlainPages[] = {
    &kIntro,    &kConnectComputer, &kConnectDevice, &kTurnOn, &kVerifyConnection,
    &kTurnOff,  &kTurnOnAgain,     &kVerifyScreen,  &kFinish,
};

} // namespace

std::span<const DialogTemplate* const> PlainPageTemplates() { return kPlainPages; }

} // namespace quillon
