// The native windows under Windows (or wine on a display): every template becomes a whole
// window, a page takes its keys as the golfer presses them, a device page keeps painting
// without taking input, and a page's brushes go with it.

#include "base/version.h"
#include "dialogs/colour_roles.h"
#include "pages/modal_result.h"
#include "pages/plain_page.h"
#include "tests/windows/check_runner.h"
#include "win32/about_box.h"
#include "win32/progress_page_window.h"
#include "win32/template_window.h"
#include "win32/win32_page_runner.h"

#include <string>
#include <vector>
#include <windows.h>

namespace quillon::wintest {
namespace {

class BareWindow final : public TemplateWindow {
public:
  using TemplateWindow::TemplateWindow;

protected:
  std::optional<INT_PTR> onMessage(UINT, WPARAM, LPARAM) override { return std::nullopt; }
};

std::string Narrow(const std::wstring& wide) {
  std::string narrow;
  for (const wchar_t c : wide)
    narrow += c < 0x80 ? static_cast<char>(c) : '?';
  return narrow;
}

std::string WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

std::string ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return Narrow(name);
}

const char* ExpectedClass(ControlKind kind) {
  switch (kind) {
  case ControlKind::PushButton:
  case ControlKind::GroupBox:
    return "Button";
  case ControlKind::LineEdit:
  case ControlKind::TextBox:
    return "Edit";
  case ControlKind::ComboBox:
    return "ComboBox";
  case ControlKind::ProgressBar:
    return "msctls_progress32";
  default:
    return "Static";
  }
}

// What the golfer can see of a control: its class, text, and whether it shows and takes input.
std::string Described(const std::string& cls, const std::string& text, bool visible, bool enabled) {
  return cls + " \"" + text + "\"" + (visible ? " shown" : " hidden") +
         (enabled ? " enabled" : " disabled");
}

int ChildCount(HWND window) {
  int count = 0;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    ++count;
  return count;
}

void EveryTemplateBuildsItsWholeWindow(Checks& checks) {
  for (const DialogTemplate* dialog : AllDialogTemplates()) {
    BareWindow window(*dialog);
    const std::string name = "template " + std::to_string(dialog->id);
    if (!checks.expect(window.create(nullptr), name + " creates a window", __FILE__, __LINE__))
      continue;
    WCHECK_EQ(WindowText(window.hwnd()), std::string(dialog->caption));
    WCHECK_EQ(ChildCount(window.hwnd()), static_cast<int>(dialog->controls.size()));
    for (const ControlTemplate& control : dialog->controls) {
      if (control.kind == ControlKind::Picture || control.kind == ControlKind::Icon) {
        const UINT type = control.kind == ControlKind::Icon ? IMAGE_ICON : IMAGE_BITMAP;
        HANDLE image =
            LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(control.image), type, 0, 0, LR_SHARED);
        checks.expect(image != nullptr, name + ": picture " + std::to_string(control.image),
                      __FILE__, __LINE__);
      }
      if (control.id == ids::kNoId || dialog->findControl(control.id) != &control)
        continue;
      HWND made = GetDlgItem(window.hwnd(), control.id);
      const bool hasText = control.kind != ControlKind::Icon;
      const std::string expected =
          name + " " + std::to_string(control.id) + ": " +
          Described(ExpectedClass(control.kind), hasText ? std::string(control.text) : "",
                    (control.style & StyleHidden) == 0, (control.style & StyleDisabled) == 0);
      const std::string actual =
          name + " " + std::to_string(control.id) + ": " +
          (made ? Described(ClassOf(made), hasText ? WindowText(made) : "",
                            (GetWindowLongW(made, GWL_STYLE) & WS_VISIBLE) != 0,
                            IsWindowEnabled(made) != FALSE)
                : "missing");
      WCHECK_EQ(actual, expected);
    }
  }
}

// A page on step 2 whose golfer's keys are waiting for its window as soon as it exists.
class ScriptedPage final : public PlainPage {
public:
  explicit ScriptedPage(std::vector<WPARAM> keys)
      : PlainPage(2, tpl::kConnectComputer), keys_(std::move(keys)) {}

  void onShow() override {
    const DialogTemplate& dialog = *FindDialogTemplate(templateId());
    HWND window =
        FindWindowW(nullptr, std::wstring(dialog.caption.begin(), dialog.caption.end()).c_str());
    for (const WPARAM key : keys_)
      PostMessageW(GetDlgItem(window, ids::kOk), WM_KEYDOWN, key, 0);
  }
  void onKeyDown(int key, PageWindow& window) override {
    seen.push_back(key);
    PlainPage::onKeyDown(key, window);
  }

  std::vector<int> seen;

private:
  std::vector<WPARAM> keys_;
};

void KeysReachThePageAsTheGolferPressesThem(Checks& checks) {
  Win32PageRunner runner(nullptr);

  ScriptedPage enter({VK_RETURN});
  WCHECK_EQ(runner.run(enter), modal::kOk);

  // Every key goes to the page first, F9 included, whichever control has the focus; Escape
  // is the cancel route, not Previous.
  ScriptedPage escape({VK_F9, VK_ESCAPE});
  WCHECK_EQ(runner.run(escape), modal::kCancel);
  WCHECK((escape.seen == std::vector<int>{VK_F9, VK_ESCAPE}));
  WCHECK(!escape.previousPressed);

  // From "Next ->" Tab goes to "Cancel" and on round to "<- Previous", which Enter presses.
  ScriptedPage previous({VK_TAB, VK_TAB, VK_RETURN});
  WCHECK_EQ(runner.run(previous), modal::kCancel);
  WCHECK(previous.previousPressed);
}

// Counts the golfer's input that reaches the control it is posted to.
int inputSeen = 0;
WNDPROC staticProcedure = nullptr;
LRESULT CALLBACK CountingInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN || message == WM_LBUTTONDOWN)
    ++inputSeen;
  return CallWindowProcW(staticProcedure, window, message, wParam, lParam);
}

void DevicePageKeepsPaintingWithoutTakingInput(Checks& checks) {
  const ProgressPageControls& controls = kFirmwareLoadPageControls;
  ProgressPageWindow window(*FindDialogTemplate(controls.templateId), controls);
  if (!WCHECK(window.create(nullptr)))
    return;
  window.present();
  HWND status = GetDlgItem(window.hwnd(), controls.statusControl);
  staticProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(status, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingInput)));
  inputSeen = 0;
  InvalidateRect(status, nullptr, TRUE);
  PostMessageW(status, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageW(status, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  window.pump();
  WCHECK(!GetUpdateRect(status, nullptr, FALSE));
  WCHECK_EQ(inputSeen, 0);
  // Dropped, not kept: a key pressed during the upload must not answer the next page.
  MSG left;
  WCHECK(!PeekMessageW(&left, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE));
  WCHECK(!PeekMessageW(&left, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE));
}

void StepTitleBrushIsMadeOnceAndGoesWithThePage(Checks& checks) {
  const DialogTemplate& dialog = *FindDialogTemplate(tpl::kLoadFirmware);
  BareWindow window(dialog);
  if (!WCHECK(window.create(nullptr)))
    return;
  const ControlTemplate* title = nullptr;
  for (const ControlTemplate& control : dialog.controls) {
    if (control.colour == ColourRole::Header)
      title = &control;
  }
  if (!WCHECK(title != nullptr))
    return;
  HWND titleWindow = GetDlgItem(window.hwnd(), title->id);
  HDC dc = GetDC(titleWindow);
  const auto ask = [&] {
    return reinterpret_cast<HBRUSH>(SendMessageW(window.hwnd(), WM_CTLCOLORSTATIC,
                                                 reinterpret_cast<WPARAM>(dc),
                                                 reinterpret_cast<LPARAM>(titleWindow)));
  };
  const HBRUSH first = ask();
  const HBRUSH again = ask();
  const Rgb blue = *ColoursOf(ColourRole::Header).background;
  const Rgb white = *ColoursOf(ColourRole::Header).text;
  LOGBRUSH brush{};
  WCHECK(first != nullptr && first == again);
  WCHECK(GetObjectW(first, sizeof brush, &brush) == sizeof brush);
  WCHECK_EQ(brush.lbColor, RGB(blue.red, blue.green, blue.blue));
  WCHECK_EQ(GetTextColor(dc), RGB(white.red, white.green, white.blue));
  ReleaseDC(titleWindow, dc);
  window.destroy();
  WCHECK_EQ(GetObjectType(first), 0u);
}

// The version the project is built as reaches the About box.
void AboutBoxNamesTheVersion(Checks& checks) {
  AboutBox about;
  if (!WCHECK(about.create(nullptr)))
    return;
  bool named = false;
  for (HWND child = GetWindow(about.hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    named = named || WindowText(child) == std::string("Quillon ") + QUILLON_VERSION + " for the KV6 and KV7";
  WCHECK(named);
}

} // namespace

std::vector<TestCase> WindowTests() {
  return {
      {"EveryTemplateBuildsItsWholeWindow", EveryTemplateBuildsItsWholeWindow},
      {"KeysReachThePageAsTheGolferPressesThem", KeysReachThePageAsTheGolferPressesThem},
      {"DevicePageKeepsPaintingWithoutTakingInput", DevicePageKeepsPaintingWithoutTakingInput},
      {"StepTitleBrushIsMadeOnceAndGoesWithThePage", StepTitleBrushIsMadeOnceAndGoesWithThePage},
      {"AboutBoxNamesTheVersion", AboutBoxNamesTheVersion},
  };
}

} // namespace quillon::wintest
