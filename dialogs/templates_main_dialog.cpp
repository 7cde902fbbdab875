// The hidden main dialog and its About box. The main dialog still carries a complete small
// firmware-load window; the wizard never shows it, but it is built whole so that the host
// window behaves the same.
#include "base/version.h"
#include "dialogs/template_parts.h"

namespace quillon {
namespace {

using namespace parts;

constexpr ControlTemplate kMainControls[] = {
    // The template's height includes the drop-down list; the closed box is one line tall.
    Control(ids::kPortList, ControlKind::ComboBox, "", {7, 10, 60, 100}),
    Control(ids::kFirmwarePath, ControlKind::LineEdit, "", {80, 10, 138, 13},
            StyleCentred | StyleBordered | StyleReadOnly),
    Button(ids::kBrowse, "Browse", {214, 10, 59, 13}),
    Group(ids::kNoId, "Firmware Load Progress", {7, 34, 266, 33}),
    Progress(ids::kMainProgress, {14, 46, 259, 13}),
    Group(ids::kInstructionFrame, "<<Please follow these Instructions>>", {7, 75, 266, 32}),
    Control(ids::kInstructionBox, ControlKind::TextBox, "", {18, 87, 249, 12},
            StyleCentred | StyleReadOnly, ColourRole::WarningLine),
    Text(ids::kStateText, "StateString", {73, 118, 141, 8}, StyleCentred),
    Button(ids::kOk, "Reload GPS Firmware", {61, 167, 104, 15}, StyleDefault),
    Button(ids::kCancel, "Exit", {184, 167, 54, 15}),
};

constexpr ControlTemplate kAboutControls[] = {
    ControlTemplate{ids::kNoId, ControlKind::Icon, StyleNone, {}, {11, 17, 20, 20},
                    ColourRole::Standard, art::kAppIcon},
    Text(ids::kNoId, "Yardmark GPS Firmware Updater - V4", {40, 10, 119, 8}),
    Text(ids::kNoId, "Quillon " QUILLON_VERSION " for the KV6 and KV7", {40, 25, 130, 8}),
    Button(ids::kOk, "OK", {178, 7, 50, 16}, StyleDefault),
};

constexpr DialogTemplate kMain{tpl::kMainDialog, FrameKind::MainDialog, "KV7 Update Firmware",
                               280, 189, kMainControls};
constexpr DialogTemplate kAbout{tpl::kAbout, FrameKind::AboutBox,
                                "About Yardmark GPS Firmware Updater", 235, 55, kAboutControls};

constexpr const DialogTemplate* kMainTemplates[] = {&kMain, &kAbout};

} // namespace

std::span<const DialogTemplate* const> MainDialogTemplates() { return kMainTemplates; }

} // namespace quillon
