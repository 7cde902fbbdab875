#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "dialogs/artwork_numbers.h"

namespace quillon {

// A rectangle in dialog units: x and width in quarters of the dialog font's average character
// width, y and height in eighths of its character height. Every window of the wizard is laid
// out in these units so that it keeps its proportions with any font and on any screen.
struct DluRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

enum class ControlKind {
  Label,        // a static text
  GroupBox,     // a titled frame drawn behind the controls it groups
  PushButton,
  Picture,      // a bordered static showing one of the program's bitmaps
  ProgressBar,  // smooth, bordered, range 0 to 100
  ComboBox,     // drop-down list with an edit field
  LineEdit,     // single-line edit
  TextBox,      // multi-line edit
  Icon,         // the application icon
};

// Style flags of a control, combined with |.
enum ControlStyle : std::uint32_t {
  StyleNone = 0,
  StyleCentred = 1u << 0,       // text centred horizontally
  StyleVCentred = 1u << 1,      // text centred vertically as well
  StyleSunken = 1u << 2,        // sunken panel around a static
  StyleBordered = 1u << 3,
  StyleHidden = 1u << 4,
  StyleDisabled = 1u << 5,
  StyleDefault = 1u << 6,       // the default push button (Enter)
  StyleReadOnly = 1u << 7,
};

// Colours a control asks its window for; colour_roles.h maps them to exact RGB values.
enum class ColourRole {
  Standard,       // the platform's colours
  Header,         // white on RGB(50, 50, 200): the step title of every page
  RedText,        // red on the standard background: the warning on step 1
  WarningLine,    // red on RGB(255, 255, 100): "DO NOT UNPLUG" and the main dialog's instructions
  NavyText,       // RGB(0, 0, 125): the row states and the status line of the progress pages
};

// Control ids the windows and their logic share. Controls without an id of their own carry
// kNoId; the window still knows them by their place in the template.
namespace ids {
inline constexpr int kNoId = -1;
inline constexpr int kOk = 1;        // the forward button: YES, "Next ->", "Finish"
inline constexpr int kCancel = 2;    // the cancel button: NO, "Cancel"
inline constexpr int kPrevious = 1045;
inline constexpr int kScreenPicture = 1009;
inline constexpr int kIntroWarning = 1040;
inline constexpr int kUnplugWarning = 1029;
// Main dialog.
inline constexpr int kInstructionBox = 1000;
inline constexpr int kMainProgress = 1001;
inline constexpr int kBrowse = 1003;
inline constexpr int kFirmwarePath = 1004;
inline constexpr int kInstructionFrame = 1005;
inline constexpr int kPortList = 1007;
inline constexpr int kStateText = 1008;
} // namespace ids

struct ControlTemplate {
  int id = ids::kNoId;
  ControlKind kind = ControlKind::Label;
  std::uint32_t style = StyleNone;
  std::string_view text;
  DluRect rect;
  ColourRole colour = ColourRole::Standard;
  int image = 0; // Picture and Icon: the artwork number
};

// The window's frame. Wizard pages are tool windows that stay on top, with a caption but no
// system menu (so no close box); the main dialog and the About box have a system menu.
enum class FrameKind {
  WizardPage,
  MainDialog,
  AboutBox,
};

// The font a window is laid out in; its dialog units are measured on it. A system without the
// face uses its own sans-serif font at the same size.
struct TemplateFont {
  std::string_view face;
  int pointSize = 0;
};
inline constexpr TemplateFont kDialogFont{"MS Sans Serif", 8};

struct DialogTemplate {
  int id = 0;
  FrameKind frame = FrameKind::WizardPage;
  std::string_view caption;
  int width = 0;  // dialog units
  int height = 0;
  std::span<const ControlTemplate> controls;
  TemplateFont font = kDialogFont;

  // The first control with this id, or nullptr.
  const ControlTemplate* findControl(int controlId) const;
  // The step title a wizard page shows at its top (the control in the Header colours), or ""
  // for a window without one.
  std::string_view title() const;
};

// Template numbers of the windows.
namespace tpl {
inline constexpr int kAbout = 100;
inline constexpr int kMainDialog = 102;
inline constexpr int kLoadFirmware = 142;   // step 6
inline constexpr int kResetAndVerify = 144; // step 10
inline constexpr int kFinish = 145;         // step 11
inline constexpr int kConnectComputer = 149; // step 2
inline constexpr int kConnectDevice = 150;   // step 3
inline constexpr int kTurnOn = 151;          // step 4
inline constexpr int kVerifyConnection = 152; // step 5
inline constexpr int kTurnOff = 154;         // step 7
inline constexpr int kTurnOnAgain = 155;     // step 8
inline constexpr int kVerifyScreen = 156;    // step 9
inline constexpr int kIntro = 177;           // step 1
} // namespace tpl

// The template with this number, or nullptr when the program has none.
const DialogTemplate* FindDialogTemplate(int templateId);

// Every template of the program.
std::span<const DialogTemplate* const> AllDialogTemplates();

} // namespace quillon
