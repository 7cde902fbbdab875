// The names a screen reader reads for the program's windows, pictures, progress bars and
// buttons: one table for the Qt and the Win32 windows alike.
#include "dialogs/accessible_names.h"

#include "dialogs/progress_page_controls.h"

#include <algorithm>
#include <span>

namespace quillon {
namespace {

template <class Key> struct Entry {
  Key key;
  AccessibleText text;
};

// The step and what it is about, said the way the step titles say it, without their
// punctuation. The windows without a step are named by their captions.
constexpr Entry<int> kWindows[] = {
    {tpl::kIntro, {"Step 1 of 11: GPS Firmware Update Introduction", {}}},
    {tpl::kConnectComputer, {"Step 2 of 11: Make sure the Yardmark is connected", {}}},
    {tpl::kConnectDevice, {"Step 3 of 11: Make sure the Yardmark is connected", {}}},
    {tpl::kTurnOn, {"Step 4 of 11: Turn on the Yardmark", {}}},
    {tpl::kVerifyConnection, {"Step 5 of 11: Verify the connection", {}}},
    {tpl::kLoadFirmware, {"Step 6 of 11: Load the Updated GPS Firmware", {}}},
    {tpl::kTurnOff, {"Step 7 of 11: Turn off the Yardmark", {}}},
    {tpl::kTurnOnAgain, {"Step 8 of 11: Turn on the Yardmark", {}}},
    {tpl::kVerifyScreen, {"Step 9 of 11: Verify the connection", {}}},
    {tpl::kResetAndVerify, {"Step 10 of 11: Reset the GPS and Verify the Version", {}}},
    {tpl::kFinish, {"Step 11 of 11: The Yardmark Has Been Updated", {}}},
    {tpl::kMainDialog, {"KV7 Update Firmware", {}}},
    {tpl::kAbout, {"About Yardmark GPS Firmware Updater", {}}},
};

// What each picture shows, and what it asks the golfer to do or to compare.
constexpr Entry<int> kPictures[] = {
    {art::kAppIcon, {"Quillon", "A handheld GPS with a flag on its screen."}},
    {art::kBanner,
     {"Yardmark GPS Firmware Update",
      "A golf green with its flag under satellite signals, titled Yardmark GPS Firmware "
      "Update."}},
    {art::kCableAtComputer,
     {"The Yardmark's cable plugged into the computer",
      "The cable's plug goes firmly into the serial port on the side of the computer."}},
    {art::kCableAtDevice,
     {"The cable plugged into the right side of the Yardmark",
      "The other end of the cable goes firmly into the hole on the right side of the "
      "Yardmark."}},
    {art::kCentreKeyOn,
     {"The Yardmark's Center Soft Key",
      "The Yardmark is off; press the Center Soft Key, the middle one of the three keys under "
      "the screen, to turn it on."}},
    {art::kOffKey,
     {"The Yardmark's Right Soft Key, labeled OFF",
      "The Yardmark is on; press the Right Soft Key, labeled OFF on the screen, to turn it "
      "off."}},
    {art::kReadyScreen,
     {"The Yardmark screen reading PC Link Ready",
      "The screen of a Yardmark ready for the computer: YARDMARK at the top, PC Link Ready in "
      "the middle, and the soft keys Menu, Connect and OFF. Does your Yardmark's screen match "
      "it?"}},
};

// Named after what they measure: the frames around them say the same on the screen.
constexpr Entry<int> kProgressBars[] = {
    {1021,
     {"Firmware Upgrade Progress", "How much of the new GPS firmware the Yardmark has taken."}},
    {1027,
     {"Verification Progress", "How far the GPS reset and the check of its version have come."}},
    {ids::kMainProgress, {"Firmware Load Progress", "How much of the firmware has been loaded."}},
};

// Buttons whose labels would be read as punctuation or spelt out; the others are read by
// their labels.
constexpr Entry<std::string_view> kButtons[] = {
    {"Next ->", {"Next", {}}},
    {"<- Previous", {"Previous", {}}},
    {"YES", {"Yes", {}}},
    {"NO", {"No", {}}},
};

constexpr AccessibleText kStatusLine{{}, "What the wizard is doing now.", false, true};

template <class Key> AccessibleText find(std::span<const Entry<Key>> table, const Key& key) {
  const auto found = std::find_if(table.begin(), table.end(),
                                  [&key](const Entry<Key>& entry) { return entry.key == key; });
  return found == table.end() ? AccessibleText{} : found->text;
}

const ProgressPageControls* deviceControlsOf(const DialogTemplate& window) {
  for (const ProgressPageControls* controls :
       {&kFirmwareLoadPageControls, &kResetAndVerifyPageControls}) {
    if (controls->templateId == window.id)
      return controls;
  }
  return nullptr;
}

// A row state or the status line of a device page; nothing for any other control.
AccessibleText deviceText(const DialogTemplate& window, const ControlTemplate& control) {
  const ProgressPageControls* device = deviceControlsOf(window);
  if (!device || control.id == ids::kNoId)
    return {};
  if (control.id == device->statusControl)
    return kStatusLine;
  for (const ProgressRow& row : device->rows) {
    if (row.stateControl == control.id)
      return {row.label, {}, true, true};
  }
  return {};
}

} // namespace

AccessibleText WindowAccessibleText(const DialogTemplate& window) {
  return find<int>(kWindows, window.id);
}

AccessibleText ControlAccessibleText(const DialogTemplate& window, const ControlTemplate& control) {
  switch (control.kind) {
  case ControlKind::Picture:
  case ControlKind::Icon:
    return find<int>(kPictures, control.image);
  case ControlKind::ProgressBar:
    return find<int>(kProgressBars, control.id);
  case ControlKind::PushButton: {
    const AccessibleText named = find<std::string_view>(kButtons, control.text);
    return named.name.empty() ? AccessibleText{control.text, {}} : named;
  }
  case ControlKind::Label:
    return deviceText(window, control);
  case ControlKind::GroupBox:
  case ControlKind::ComboBox:
  case ControlKind::LineEdit:
  case ControlKind::TextBox:
    break;
  }
  return {};
}

std::string AccessibleName(const AccessibleText& text, std::string_view shown) {
  std::string name(text.name.empty() ? shown : text.name);
  if (text.nameEndsWithText && !text.name.empty())
    name.append(" ").append(shown);
  return name;
}

} // namespace quillon
