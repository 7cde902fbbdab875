#include "win32/dialog_bytes.h"

#include "base/utf16.h"

#include <commctrl.h>

namespace quillon {
namespace {

// The dialog manager's own numbers for the predefined control classes.
constexpr unsigned kButtonClass = 0x0080;
constexpr unsigned kEditClass = 0x0081;
constexpr unsigned kStaticClass = 0x0082;
constexpr unsigned kComboBoxClass = 0x0085;
constexpr unsigned kOrdinalMark = 0xFFFF;

bool has(const ControlTemplate& control, ControlStyle flag) {
  return (control.style & flag) != 0;
}

DWORD frameStyle(FrameKind frame) {
  constexpr DWORD kCommon = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
  switch (frame) {
  case FrameKind::WizardPage:
    // No system menu, hence no close box; above every other window; centred on the screen,
    // as the owner, the main dialog, is never shown.
    return kCommon | DS_SYSMODAL | DS_CENTER;
  case FrameKind::AboutBox:
    return kCommon | WS_SYSMENU | DS_CENTER;
  case FrameKind::MainDialog:
    break;
  }
  return kCommon | WS_SYSMENU;
}

DWORD frameExStyle(FrameKind frame) {
  return frame == FrameKind::WizardPage ? WS_EX_TOOLWINDOW | WS_EX_TOPMOST : WS_EX_APPWINDOW;
}

// A line of the dialog font is 8 dialog units tall.
constexpr int kLineHeight = 8;

// A label with room for one line only keeps its text on that line: where a font runs wider
// than the one it was laid out for, the end is cut off instead of wrapping out of sight.
DWORD labelStyle(const ControlTemplate& control) {
  const bool oneLine = control.rect.height < 2 * kLineHeight;
  DWORD style = SS_NOPREFIX;
  if (has(control, StyleCentred))
    style |= SS_CENTER;
  else
    style |= oneLine ? SS_LEFTNOWORDWRAP : SS_LEFT;
  if (has(control, StyleVCentred) || (oneLine && has(control, StyleCentred)))
    style |= SS_CENTERIMAGE; // a single line, centred vertically
  if (has(control, StyleSunken))
    style |= SS_SUNKEN;
  return style;
}

DWORD editStyle(const ControlTemplate& control) {
  DWORD style = has(control, StyleCentred) ? ES_CENTER : ES_LEFT;
  if (has(control, StyleReadOnly))
    style |= ES_READONLY;
  return style;
}

// The control's class-specific style bits.
DWORD kindStyle(const ControlTemplate& control) {
  switch (control.kind) {
  case ControlKind::Label:
    return labelStyle(control);
  case ControlKind::GroupBox:
    return BS_GROUPBOX;
  case ControlKind::PushButton:
    return WS_TABSTOP | (has(control, StyleDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  case ControlKind::Picture:
    // The window draws the bitmap itself, scaled to the frame (picture_control.h).
    return SS_OWNERDRAW;
  case ControlKind::ProgressBar:
    return PBS_SMOOTH;
  case ControlKind::ComboBox:
    return CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
  case ControlKind::LineEdit:
    return editStyle(control) | ES_AUTOHSCROLL | WS_TABSTOP;
  case ControlKind::TextBox:
    return editStyle(control) | ES_MULTILINE;
  case ControlKind::Icon:
    return SS_ICON;
  }
  return SS_LEFT;
}

DWORD controlStyle(const ControlTemplate& control) {
  DWORD style = WS_CHILD | kindStyle(control);
  if (!has(control, StyleHidden))
    style |= WS_VISIBLE;
  if (has(control, StyleDisabled))
    style |= WS_DISABLED;
  if (has(control, StyleBordered))
    style |= WS_BORDER;
  return style;
}

// "MS Sans Serif" is a bitmap font on Windows, drawn in a few fixed sizes only. Its scalable
// twin of the same metrics keeps the windows sharp at every scale a per-monitor aware program
// meets.
std::string_view faceOnWindows(std::string_view face) {
  return face == "MS Sans Serif" ? "Microsoft Sans Serif" : face;
}

} // namespace

DialogBytes::DialogBytes(const DialogTemplate& dialogTemplate) {
  writeHeader(dialogTemplate);
  for (const ControlTemplate& control : dialogTemplate.controls)
    writeControl(control);
}

void DialogBytes::writeHeader(const DialogTemplate& dialogTemplate) {
  word(1);            // dlgVer
  word(kOrdinalMark); // signature: the extended template
  dword(0);           // helpID
  dword(frameExStyle(dialogTemplate.frame));
  dword(frameStyle(dialogTemplate.frame));
  word(static_cast<unsigned>(dialogTemplate.controls.size()));
  word(0); // x and y: DS_CENTER or the window itself places it
  word(0);
  word(static_cast<unsigned>(dialogTemplate.width));
  word(static_cast<unsigned>(dialogTemplate.height));
  word(0); // no menu
  word(0); // the standard dialog class
  text(dialogTemplate.caption);
  word(static_cast<unsigned>(dialogTemplate.font.pointSize));
  word(FW_NORMAL);
  word(DEFAULT_CHARSET << 8); // italic = 0, then the character set
  text(faceOnWindows(dialogTemplate.font.face));
}

void DialogBytes::writeControl(const ControlTemplate& control) {
  alignToDword();
  dword(0); // helpID
  dword(0); // extended style
  dword(controlStyle(control));
  word(static_cast<unsigned>(control.rect.x));
  word(static_cast<unsigned>(control.rect.y));
  word(static_cast<unsigned>(control.rect.width));
  word(static_cast<unsigned>(control.rect.height));
  dword(static_cast<DWORD>(control.id)); // kNoId is the dialog manager's IDC_STATIC, -1
  switch (control.kind) {
  case ControlKind::PushButton:
  case ControlKind::GroupBox:
    ordinal(kButtonClass);
    break;
  case ControlKind::LineEdit:
  case ControlKind::TextBox:
    ordinal(kEditClass);
    break;
  case ControlKind::ComboBox:
    ordinal(kComboBoxClass);
    break;
  case ControlKind::ProgressBar:
    text("msctls_progress32");
    break;
  case ControlKind::Label:
  case ControlKind::Picture:
  case ControlKind::Icon:
    ordinal(kStaticClass);
    break;
  }
  if (control.kind == ControlKind::Icon)
    ordinal(static_cast<unsigned>(control.image)); // the dialog manager loads the icon resource
  else
    text(control.text);
  word(0); // no creation data
}

void DialogBytes::word(unsigned value) {
  words_.push_back(static_cast<WORD>(value & 0xFFFFu));
}

void DialogBytes::dword(DWORD value) {
  word(value & 0xFFFFu);
  word(value >> 16);
}

void DialogBytes::text(std::string_view utf8) {
  for (const wchar_t c : ToWide(utf8))
    word(static_cast<unsigned>(c));
  word(0);
}

void DialogBytes::ordinal(unsigned value) {
  word(kOrdinalMark);
  word(value);
}

void DialogBytes::alignToDword() {
  if (words_.size() % 2 != 0)
    word(0);
}

} // namespace quillon
