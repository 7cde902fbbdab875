// quillon-window-driver: plays the golfer at the real windows of a running quillon.exe, from
// the outside, as scripts/test-windows-install runs it under wine. One action per run:
//   page N [--progress P] [--timeout S]  wait until step N is shown (and, on a progress page,
//                                        its bar has reached P percent); print "x y w h"
//   press N TEXT                         press the button labelled TEXT on step N
//   notice CAPTION [--timeout S]         wait for the message box CAPTION; print "x y w h",
//                                        then its text
//   ok CAPTION                           press OK on the message box CAPTION
//   shortcut FILE.lnk                    print the shortcut's target, then its "Start in"
//   names N                              print the names a screen reader reads for step N's
//                                        window, pictures, progress bars and buttons; fails
//                                        when one has none
//   focus N                              give step N the keyboard, as a click on it would
// A button is pressed only when the golfer could press it: visible and enabled. Exits 0 when
// the action was done, 1 when it could not be (the windows on screen are then listed).
#include <windows.h>
// These declare themselves in terms of windows.h.
#include <commctrl.h>
#include <cstdio>
#include <cwchar>
#include <initguid.h>
#include <oleacc.h>
#include <shobjidl.h>
#include <string>
#include <vector>

namespace {

constexpr UINT kAnswerMs = 2000;
constexpr DWORD kPollMs = 100;

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// Asked of the window itself, so a control whose text changed is read as shown.
std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, kAnswerMs, &copied))
    GetWindowTextW(window, text, 1024);
  return text;
}

std::vector<HWND> VisibleDialogs() {
  std::vector<HWND> found;
  EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        if (IsWindowVisible(window) && ClassOf(window) == L"#32770")
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::vector<HWND> ChildrenOf(HWND dialog) {
  std::vector<HWND> found;
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND PageShowing(int step) {
  const std::wstring title = L"Step " + std::to_wstring(step) + L" of 11";
  for (HWND dialog : VisibleDialogs())
    for (HWND child : ChildrenOf(dialog))
      if (ClassOf(child) == L"Static" && TextOf(child).starts_with(title))
        return dialog;
  return nullptr;
}

HWND NoticeShowing(const std::wstring& caption) {
  for (HWND dialog : VisibleDialogs())
    if (TextOf(dialog) == caption)
      return dialog;
  return nullptr;
}

int ProgressPercent(HWND dialog) {
  for (HWND child : ChildrenOf(dialog)) {
    if (ClassOf(child) != PROGRESS_CLASSW)
      continue;
    DWORD_PTR position = 0;
    DWORD_PTR high = 0;
    SendMessageTimeoutW(child, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &position);
    SendMessageTimeoutW(child, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, kAnswerMs, &high);
    return high == 0 ? 0 : static_cast<int>(position * 100 / high);
  }
  return 0;
}

void ListWindows() {
  std::fprintf(stderr, "windows on screen:\n");
  for (HWND dialog : VisibleDialogs()) {
    std::fprintf(stderr, "  \"%s\":", Utf8(TextOf(dialog)).c_str());
    for (HWND child : ChildrenOf(dialog))
      if (IsWindowVisible(child))
        std::fprintf(stderr, " [%s]", Utf8(TextOf(child)).c_str());
    std::fprintf(stderr, " progress %d%%", ProgressPercent(dialog));
    std::fprintf(stderr, "\n");
  }
}

template <typename Find> HWND WaitFor(Find find, int timeoutSeconds) {
  const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(timeoutSeconds) * 1000;
  do {
    if (HWND found = find()) {
      // Let the window's thread catch up on painting before anyone photographs it.
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &ignored);
      Sleep(300);
      return found;
    }
    Sleep(kPollMs);
  } while (GetTickCount64() < until);
  ListWindows();
  return nullptr;
}

void PrintRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
              rect.bottom - rect.top);
}

// What a click does: the dialog hears BN_CLICKED from the button.
bool Press(HWND dialog, const std::wstring& label) {
  for (HWND child : ChildrenOf(dialog)) {
    if (ClassOf(child) != L"Button" || TextOf(child) != label)
      continue;
    if (!IsWindowVisible(child) || !IsWindowEnabled(child)) {
      std::fprintf(stderr, "\"%s\" cannot be pressed now\n", Utf8(label).c_str());
      return false;
    }
    const int id = GetDlgCtrlID(child);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(child));
    return true;
  }
  std::fprintf(stderr, "no button \"%s\"\n", Utf8(label).c_str());
  ListWindows();
  return false;
}

int PrintShortcut(const std::wstring& file) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
    return 1;
  IShellLinkW* link = nullptr;
  IPersistFile* persisted = nullptr;
  wchar_t target[MAX_PATH] = {};
  wchar_t startIn[MAX_PATH] = {};
  const bool read =
      SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persisted))) &&
      SUCCEEDED(persisted->Load(file.c_str(), STGM_READ)) &&
      SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) &&
      SUCCEEDED(link->GetWorkingDirectory(startIn, MAX_PATH));
  if (persisted)
    persisted->Release();
  if (link)
    link->Release();
  CoUninitialize();
  if (!read) {
    std::fprintf(stderr, "cannot read the shortcut %s\n", Utf8(file).c_str());
    return 1;
  }
  std::printf("%s\n%s\n", Utf8(target).c_str(), Utf8(startIn).c_str());
  return 0;
}

// What a screen reader reads of a window, asked from this process as a screen reader asks.
std::wstring AccessibleNameOf(HWND window, LONG object) {
  IAccessible* accessible = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(object), IID_IAccessible,
                                        reinterpret_cast<void**>(&accessible))) ||
      !accessible)
    return {};
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  std::wstring read;
  if (SUCCEEDED(accessible->get_accName(self, &name)) && name)
    read = name;
  SysFreeString(name);
  accessible->Release();
  return read;
}

// The kinds of control a screen reader must find a name on, by class and style.
const wchar_t* NamedKind(HWND control) {
  const std::wstring cls = ClassOf(control);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  if (cls == PROGRESS_CLASSW)
    return L"progress bar";
  if (cls == L"Button" && (style & BS_TYPEMASK) != BS_GROUPBOX)
    return L"button";
  if (cls == L"Static" &&
      ((style & SS_TYPEMASK) == SS_OWNERDRAW || (style & SS_TYPEMASK) == SS_ICON))
    return L"picture";
  return nullptr;
}

int PrintNames(HWND page) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
    return 1;
  int unnamed = 0;
  const auto print = [&unnamed](const wchar_t* kind, const std::wstring& name) {
    std::printf("%s: %s\n", Utf8(kind).c_str(), name.empty() ? "(no name)" : Utf8(name).c_str());
    unnamed += name.empty() ? 1 : 0;
  };
  print(L"window", AccessibleNameOf(page, OBJID_WINDOW));
  for (HWND child : ChildrenOf(page))
    if (const wchar_t* kind = NamedKind(child))
      print(kind, AccessibleNameOf(child, OBJID_CLIENT));
  CoUninitialize();
  return unnamed == 0 ? 0 : 1;
}

int Usage() {
  std::fprintf(stderr, "usage: quillon-window-driver page N [--progress P] [--timeout S] | "
                       "press N TEXT | notice CAPTION [--timeout S] | ok CAPTION | "
                       "shortcut FILE.lnk | names N | focus N\n");
  return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3)
    return Usage();
  const std::wstring action = argv[1];
  const std::wstring what = argv[2];
  int timeoutSeconds = 30;
  int progress = 0;
  for (int i = 3; i + 1 < argc; i += 2) {
    if (std::wcscmp(argv[i], L"--timeout") == 0)
      timeoutSeconds = _wtoi(argv[i + 1]);
    if (std::wcscmp(argv[i], L"--progress") == 0)
      progress = _wtoi(argv[i + 1]);
  }
  const int step = _wtoi(what.c_str());

  if (action == L"page") {
    HWND page = WaitFor(
        [&]() -> HWND {
          HWND found = PageShowing(step);
          return found && ProgressPercent(found) >= progress ? found : nullptr;
        },
        timeoutSeconds);
    if (!page)
      return 1;
    PrintRect(page);
    return 0;
  }
  if (action == L"press" && argc == 4) {
    HWND page = PageShowing(step);
    if (!page)
      ListWindows();
    return page && Press(page, argv[3]) ? 0 : 1;
  }
  if (action == L"notice") {
    HWND box = WaitFor([&] { return NoticeShowing(what); }, timeoutSeconds);
    if (!box)
      return 1;
    PrintRect(box);
    std::printf("%s\n", Utf8(TextOf(GetDlgItem(box, 0xFFFF))).c_str());
    return 0;
  }
  if (action == L"ok") {
    HWND box = NoticeShowing(what);
    return box && Press(box, L"OK") ? 0 : 1;
  }
  if (action == L"shortcut")
    return PrintShortcut(what);
  if (action == L"names" || action == L"focus") {
    HWND page = PageShowing(step);
    if (!page) {
      ListWindows();
      return 1;
    }
    if (action == L"names")
      return PrintNames(page);
    SetForegroundWindow(page);
    return WaitFor([page] { return GetForegroundWindow() == page ? page : nullptr; }, 5) ? 0 : 1;
  }
  return Usage();
}
