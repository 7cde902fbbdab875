// The native windows under Windows (or wine on a display): every template becomes a whole
// window that a screen reader can name, a page takes its keys as the golfer presses them and
// none held over from the page before, a device page keeps painting without taking input and
// tells screen readers what changes, and a page's brushes go with it.

#include "base/version.h"
#include "dialogs/accessible_names.h"
#include "dialogs/colour_roles.h"
#include "pages/modal_result.h"
#include "pages/plain_page.h"
#include "tests/windows/check_runner.h"
#include "win32/about_box.h"
#include "win32/progress_page_window.h"
#include "win32/template_window.h"
#include "win32/win32_page_runner.h"

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>
// These declare themselves in terms of windows.h.
#include <oleacc.h>

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

// What a screen reader in another apartment reads of a window through Active Accessibility.
struct Read {
  bool found = false;
  std::string name;
  std::string description;
  long role = 0;
  std::string value;
};

std::string Taken(BSTR text) {
  std::string narrow = text ? Narrow(text) : std::string();
  SysFreeString(text);
  return narrow;
}

Read ReadAccessible(HWND window, LONG object) {
  IAccessible* accessible = nullptr;
  Read read;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(object), IID_IAccessible,
                                        reinterpret_cast<void**>(&accessible))) ||
      !accessible)
    return read;
  read.found = true;
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  if (SUCCEEDED(accessible->get_accName(self, &text)))
    read.name = Taken(text);
  text = nullptr;
  if (SUCCEEDED(accessible->get_accDescription(self, &text)))
    read.description = Taken(text);
  text = nullptr;
  if (SUCCEEDED(accessible->get_accValue(self, &text)))
    read.value = Taken(text);
  VARIANT role;
  VariantInit(&role);
  if (SUCCEEDED(accessible->get_accRole(self, &role)) && role.vt == VT_I4)
    read.role = role.lVal;
  accessible->Release();
  return read;
}

// The names the table gives a template's window and its pictures, bars and buttons, read back
// as a screen reader reads them.
void ScreenReadersReadTheTablesNames(Checks& checks, const DialogTemplate& dialog, HWND window,
                                     const std::string& name) {
  const std::string windowName(WindowAccessibleText(dialog).name);
  for (const LONG object : {OBJID_WINDOW, OBJID_CLIENT})
    WCHECK_EQ(name + " read as " + ReadAccessible(window, object).name,
              name + " read as " + windowName);
  for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
    const ControlTemplate& control = dialog.controls[i];
    if (control.kind != ControlKind::Picture && control.kind != ControlKind::Icon &&
        control.kind != ControlKind::ProgressBar && control.kind != ControlKind::PushButton)
      continue;
    HWND made = GetWindow(window, GW_CHILD);
    for (std::size_t skip = 0; made && skip < i; ++skip)
      made = GetWindow(made, GW_HWNDNEXT);
    const AccessibleText text = ControlAccessibleText(dialog, control);
    const Read read = ReadAccessible(made, OBJID_CLIENT);
    const std::string where = name + " control " + std::to_string(i) + ": ";
    WCHECK_EQ(where + read.name, where + AccessibleName(text, WindowText(made)));
    WCHECK_EQ(where + read.description, where + std::string(text.description));
    if (control.kind == ControlKind::Picture || control.kind == ControlKind::Icon)
      WCHECK_EQ(read.role, static_cast<long>(ROLE_SYSTEM_GRAPHIC));
    if (control.kind == ControlKind::ProgressBar)
      WCHECK_EQ(read.value, std::string("0%"));
  }
}

void EveryTemplateBuildsItsWholeWindow(Checks& checks) {
  for (const DialogTemplate* dialog : AllDialogTemplates()) {
    BareWindow window(*dialog);
    const std::string name = "template " + std::to_string(dialog->id);
    if (!checks.expect(window.create(nullptr), name + " creates a window", __FILE__, __LINE__))
      continue;
    WCHECK_EQ(WindowText(window.hwnd()), std::string(dialog->caption));
    WCHECK_EQ(ChildCount(window.hwnd()), static_cast<int>(dialog->controls.size()));
    ScreenReadersReadTheTablesNames(checks, *dialog, window.hwnd(), name);
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

// The page this thread shows now (step 1's has no caption to find it by).
HWND ShownPage() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM result) -> BOOL {
        if (!IsWindowVisible(window) || ClassOf(window) != "#32770")
          return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// Runs `act` once, from the message loop of the page now showing, a moment after it appeared.
std::function<void()> pendingAct;
void CALLBACK RunPendingAct(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  const auto act = std::move(pendingAct);
  pendingAct = nullptr;
  if (act)
    act();
}
void SoonAfterShowing(std::function<void()> act) {
  pendingAct = std::move(act);
  SetTimer(nullptr, 0, 50, &RunPendingAct);
}

// A page on step 2 whose golfer presses keys once its window is up.
class ScriptedPage final : public PlainPage {
public:
  explicit ScriptedPage(std::vector<WPARAM> keys)
      : PlainPage(2, tpl::kConnectComputer), keys_(std::move(keys)) {}

  void onShow() override {
    SoonAfterShowing([this] {
      for (const WPARAM key : keys_)
        PostMessageW(GetDlgItem(ShownPage(), ids::kOk), WM_KEYDOWN, key, 0);
    });
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

// The golfer's keyboard, as Windows hears it: a key goes down or comes up.
void Key(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

// What Windows sends the focused control while a key is held: key-downs with bit 30 set, the
// key having been down already. (Wine forgets a key held by SendInput alone when the focus
// moves to a new window, so the repeats are sent as Windows words them.)
void KeyRepeats(WPARAM key, int count) {
  constexpr LPARAM kWasDown = LPARAM{1} << 30;
  for (int i = 0; i < count; ++i)
    PostMessageW(GetFocus(), WM_KEYDOWN, key, kWasDown | 1);
}

// A page that does what the golfer's keys answer, and the golfer's hand on its keyboard.
class KeyedPage final : public PlainPage {
public:
  KeyedPage(int step, int templateId, std::function<void()> hand)
      : PlainPage(step, templateId), hand_(std::move(hand)) {}
  void onShow() override {
    SoonAfterShowing([this] {
      SetForegroundWindow(ShownPage());
      hand_();
    });
  }

private:
  std::function<void()> hand_;
};

// Enter held down on step 1 reaches step 2 as repeats; a second press queued while step 2 was
// being built went down before anyone could read it. Neither answers step 2; a press after it
// appeared does.
void AHeldEnterAnswersOnlyThePageItWentDownOn(Checks& checks) {
  Win32PageRunner runner(nullptr);
  bool heldOver = false;
  KeyedPage held1(1, tpl::kIntro, [] { Key(VK_RETURN, false); });
  KeyedPage held2(2, tpl::kConnectComputer, [&] {
    KeyRepeats(VK_RETURN, 5);
    SoonAfterShowing([&] {
      heldOver = ShownPage() != nullptr;
      Key(VK_RETURN, true);
      Key(VK_RETURN, false); // pressed anew on this page
      Key(VK_RETURN, true);
    });
  });
  WCHECK_EQ(runner.run(held1), modal::kOk);
  WCHECK_EQ(runner.run(held2), modal::kOk);
  WCHECK(heldOver);

  bool queuedIgnored = false;
  KeyedPage twice1(1, tpl::kIntro, [] {
    for (const bool up : {false, true, false, true})
      Key(VK_RETURN, up);
  });
  KeyedPage twice2(2, tpl::kConnectComputer, [&] {
    queuedIgnored = ShownPage() != nullptr;
    Key(VK_ESCAPE, false);
    Key(VK_ESCAPE, true);
  });
  WCHECK_EQ(runner.run(twice1), modal::kOk);
  WCHECK_EQ(runner.run(twice2), modal::kCancel); // the later Escape, not the queued Enter
  WCHECK(queuedIgnored);
}

// What a screen reader is told while a device page works.
std::vector<std::pair<DWORD, HWND>> heard;
void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (object == OBJID_CLIENT && child == CHILDID_SELF)
    heard.emplace_back(event, window);
}

void DevicePageTellsScreenReadersWhatChanges(Checks& checks) {
  const ProgressPageControls& controls = kFirmwareLoadPageControls;
  ProgressPageWindow window(*FindDialogTemplate(controls.templateId), controls);
  if (!WCHECK(window.create(nullptr)))
    return;
  window.present();
  const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr, &Hear,
                      GetCurrentProcessId(), GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
  if (!WCHECK(hook != nullptr))
    return;
  heard.clear();
  HWND status = GetDlgItem(window.hwnd(), controls.statusControl);
  HWND row = GetDlgItem(window.hwnd(), controls.rows[1].stateControl);
  HWND bar = GetDlgItem(window.hwnd(), controls.progressControl);
  window.setStatusLine("...Searching for the Yardmark...");
  window.setRowText(2, "WORKING");
  window.setProgress(40);
  window.setProgress(40); // no change, nothing to tell
  window.pump();
  UnhookWinEvent(hook);
  const auto told = [](DWORD event, HWND about) {
    return static_cast<int>(std::count(heard.begin(), heard.end(), std::pair{event, about}));
  };
  WCHECK_EQ(told(EVENT_OBJECT_NAMECHANGE, status), 1);
  WCHECK_EQ(told(EVENT_OBJECT_LIVEREGIONCHANGED, status), 1);
  WCHECK_EQ(told(EVENT_OBJECT_NAMECHANGE, row), 1);
  WCHECK_EQ(told(EVENT_OBJECT_LIVEREGIONCHANGED, row), 1);
  WCHECK_EQ(told(EVENT_OBJECT_VALUECHANGE, bar), 1);
  WCHECK_EQ(ReadAccessible(status, OBJID_CLIENT).name,
            std::string("...Searching for the Yardmark..."));
  WCHECK_EQ(ReadAccessible(row, OBJID_CLIENT).name,
            std::string("2. Locating the Yardmark: WORKING"));
  WCHECK_EQ(ReadAccessible(bar, OBJID_CLIENT).value, std::string("40%"));
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
      {"AHeldEnterAnswersOnlyThePageItWentDownOn", AHeldEnterAnswersOnlyThePageItWentDownOn},
      {"DevicePageTellsScreenReadersWhatChanges", DevicePageTellsScreenReadersWhatChanges},
      {"DevicePageKeepsPaintingWithoutTakingInput", DevicePageKeepsPaintingWithoutTakingInput},
      {"StepTitleBrushIsMadeOnceAndGoesWithThePage", StepTitleBrushIsMadeOnceAndGoesWithThePage},
      {"AboutBoxNamesTheVersion", AboutBoxNamesTheVersion},
  };
}

} // namespace quillon::wintest
