#include "win32/accessible_window.h"

#include "base/utf16.h"

#include <commctrl.h>
#include <memory>
#include <string>
// The accessibility interfaces and property ids are defined here, once for the program.
#include <initguid.h>
#include <oleacc.h>

namespace quillon {
namespace {

// UI Automation's LiveSetting property, and its value "polite": read when the golfer is idle.
DEFINE_GUID(kLiveSettingProperty, 0xc12bcd8e, 0x2a8e, 0x4950, 0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d,
            0x58, 0xeb);
constexpr LONG kPoliteLiveSetting = 1;

constexpr UINT_PTR kSubclassId = 0x5155; // the one subclass this file puts on a window

// What a window says of itself beside what the system says for it.
struct Spoken {
  std::wstring name; // empty: the system's, the window text
  std::wstring description;
  bool nameEndsWithText = false;
  LONG role = 0; // 0: the system's
  bool percentValue = false;
  bool live = false;
};

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring PercentOf(HWND bar) {
  const auto position = static_cast<long long>(SendMessageW(bar, PBM_GETPOS, 0, 0));
  const auto high = static_cast<long long>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0));
  const auto low = static_cast<long long>(SendMessageW(bar, PBM_GETRANGE, TRUE, 0));
  const long long span = high - low;
  return std::to_wstring(span > 0 ? (position - low) * 100 / span : 0) + L"%";
}

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT Answer(const std::wstring& text, BSTR* out) {
  if (!out)
    return E_INVALIDARG;
  *out = SysAllocString(text.c_str());
  return *out ? S_OK : E_OUTOFMEMORY;
}

// A COM object is destroyed by its own Release, never through an interface pointer, so the
// interfaces have no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// The system's accessible object for the window, with the program's name, description, role
// and value in place of the system's; everything else (place, state, children, actions) is
// the system's.
class NamedAccessible final : public IAccessible {
public:
  NamedAccessible(IAccessible* system, HWND window, const Spoken& spoken)
      : system_(system), window_(window), spoken_(spoken) {}
  NamedAccessible(const NamedAccessible&) = delete;
  NamedAccessible& operator=(const NamedAccessible&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object)
      return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0)
      delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return system_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return system_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return system_->GetIDsOfNames(riid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* badArgument) override {
    return system_->Invoke(id, riid, locale, flags, parameters, result, exception, badArgument);
  }

  // IAccessible: what the program says.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child) || spoken_.name.empty())
      return system_->get_accName(child, name);
    return Answer(spoken_.nameEndsWithText ? spoken_.name + L" " + TextOf(window_) : spoken_.name,
                  name);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    if (!IsSelf(child) || spoken_.description.empty())
      return system_->get_accDescription(child, description);
    return Answer(spoken_.description, description);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!IsSelf(child) || spoken_.role == 0 || !role)
      return system_->get_accRole(child, role);
    VariantInit(role);
    role->vt = VT_I4;
    role->lVal = spoken_.role;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (!IsSelf(child) || !spoken_.percentValue)
      return system_->get_accValue(child, value);
    return Answer(PercentOf(window_), value);
  }

  // IAccessible: the system's.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return system_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return system_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** found) override {
    return system_->get_accChild(child, found);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return system_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return system_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return system_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return system_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    return system_->get_accFocus(focus);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return system_->get_accSelection(selection);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return system_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return system_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return system_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return system_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return system_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return system_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return system_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return system_->put_accValue(child, value);
  }

private:
  ~NamedAccessible() { system_->Release(); }

  LONG references_ = 1;
  IAccessible* system_;
  HWND window_;
  Spoken spoken_;
};

#pragma GCC diagnostic pop

// The accessibility property service, through which a window gets properties beyond its
// accessible object's; nullptr where the system has none.
IAccPropServices* PropertyService() {
  IAccPropServices* service = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, reinterpret_cast<void**>(&service))))
    return nullptr;
  return service;
}

void SetLiveRegion(HWND control, bool live) {
  IAccPropServices* service = PropertyService();
  if (!service)
    return;
  if (live) {
    VARIANT polite;
    VariantInit(&polite);
    polite.vt = VT_I4;
    polite.lVal = kPoliteLiveSetting;
    service->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                         kLiveSettingProperty, polite);
  } else {
    // Releases what the service keeps for the control.
    service->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                            &kLiveSettingProperty, 1);
  }
  service->Release();
}

// Answers WM_GETOBJECT for the window's frame and its client area alike: screen readers ask
// for either.
LRESULT CALLBACK SpeakingWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR /*id*/, DWORD_PTR data) {
  auto* spoken = reinterpret_cast<Spoken*>(data);
  if (message == WM_GETOBJECT) {
    const auto object = static_cast<LONG>(lParam);
    IAccessible* system = nullptr;
    if ((object == OBJID_CLIENT || object == OBJID_WINDOW) &&
        SUCCEEDED(CreateStdAccessibleObject(window, object, IID_IAccessible,
                                            reinterpret_cast<void**>(&system)))) {
      auto* named = new NamedAccessible(system, window, *spoken);
      const LRESULT answer = LresultFromObject(IID_IAccessible, wParam, named);
      named->Release();
      return answer;
    }
  }
  if (message == WM_NCDESTROY) {
    if (spoken->live)
      SetLiveRegion(window, false);
    RemoveWindowSubclass(window, &SpeakingWindow, kSubclassId);
    delete spoken;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

void GiveAccessibleText(HWND window, const AccessibleText& text, ControlKind kind) {
  auto spoken = std::make_unique<Spoken>();
  spoken->name = ToWide(text.name);
  spoken->description = ToWide(text.description);
  spoken->nameEndsWithText = text.nameEndsWithText;
  if (kind == ControlKind::Picture || kind == ControlKind::Icon)
    spoken->role = ROLE_SYSTEM_GRAPHIC; // drawn by the window itself, not read as a text
  spoken->percentValue = kind == ControlKind::ProgressBar;
  spoken->live = text.live;
  if (!SetWindowSubclass(window, &SpeakingWindow, kSubclassId,
                         reinterpret_cast<DWORD_PTR>(spoken.get())))
    return;
  spoken.release(); // the subclass owns it now, until WM_NCDESTROY
  if (text.live)
    SetLiveRegion(window, true);
}

void AnnounceNameChange(HWND control) {
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
  NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, control, OBJID_CLIENT, CHILDID_SELF);
}

void AnnounceValueChange(HWND bar) {
  NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, bar, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace quillon
