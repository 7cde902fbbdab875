#include "win32/template_window.h"

#include "win32/accessible_window.h"

namespace quillon {

HINSTANCE ProgramInstance() {
  return GetModuleHandleW(nullptr);
}

// EnableWindow answers whether the window was disabled before.
ModalToOwner::ModalToOwner(HWND owner)
    : owner_(owner), wasEnabled_(owner && !EnableWindow(owner, FALSE)) {}

ModalToOwner::~ModalToOwner() {
  if (wasEnabled_)
    EnableWindow(owner_, TRUE);
}

TemplateWindow::TemplateWindow(const DialogTemplate& dialogTemplate)
    : template_(dialogTemplate), bytes_(dialogTemplate) {}

TemplateWindow::~TemplateWindow() {
  // The derived window is already gone: the last messages of the window must not reach it.
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    DestroyWindow(hwnd_);
  }
}

bool TemplateWindow::create(HWND owner) {
  const LPARAM self = reinterpret_cast<LPARAM>(this);
  return CreateDialogIndirectParamW(ProgramInstance(), bytes_.get(), owner, &dialogProc, self) !=
         nullptr;
}

INT_PTR TemplateWindow::runModal(HWND owner) {
  const LPARAM self = reinterpret_cast<LPARAM>(this);
  return DialogBoxIndirectParamW(ProgramInstance(), bytes_.get(), owner, &dialogProc, self);
}

void TemplateWindow::destroy() {
  if (hwnd_)
    DestroyWindow(hwnd_);
}

HWND TemplateWindow::control(int id) const {
  const ControlTemplate* found = template_.findControl(id);
  if (!found)
    return nullptr;
  return controlAt(static_cast<std::size_t>(found - template_.controls.data()));
}

HWND TemplateWindow::controlAt(std::size_t index) const {
  return index < controls_.size() ? controls_[index] : nullptr;
}

INT_PTR CALLBACK TemplateWindow::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* window = reinterpret_cast<TemplateWindow*>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    window->hwnd_ = hwnd;
  }
  auto* window = reinterpret_cast<TemplateWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  // The dialog manager sends a few messages (the font) before WM_INITDIALOG: they keep their
  // default handling.
  return window ? window->dispatch(message, wParam, lParam) : FALSE;
}

INT_PTR TemplateWindow::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_INITDIALOG:
    collectControls();
    nameForScreenReaders();
    colours_.emplace();
    return onInitDialog() ? TRUE : FALSE;
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLOREDIT: {
    const ControlTemplate* control = templateOf(reinterpret_cast<HWND>(lParam));
    if (!control || control->colour == ColourRole::Standard || !colours_)
      break;
    const auto standard = reinterpret_cast<HBRUSH>(DefWindowProcW(hwnd_, message, wParam, lParam));
    return reinterpret_cast<INT_PTR>(
        colours_->answer(reinterpret_cast<HDC>(wParam), control->colour, standard));
  }
  case WM_DRAWITEM: {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const ControlTemplate* control = templateOf(item.hwndItem);
    if (!control)
      break;
    const auto index = static_cast<std::size_t>(control - template_.controls.data());
    if (pictures_[index])
      pictures_[index]->draw(item);
    return TRUE;
  }
  case WM_NCDESTROY:
    // The window is gone: so are its brushes, its bitmaps and the way back to this object.
    SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    colours_.reset();
    pictures_.clear();
    controls_.clear();
    hwnd_ = nullptr;
    return FALSE;
  default:
    break;
  }
  return onMessage(message, wParam, lParam).value_or(FALSE);
}

// The dialog manager creates the controls in the template's order, each below the one before,
// so the children from the top down are the template's controls in order.
void TemplateWindow::collectControls() {
  controls_.clear();
  pictures_.clear();
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    controls_.push_back(child);
  controls_.resize(template_.controls.size(), nullptr);
  pictures_.resize(template_.controls.size());
  for (std::size_t i = 0; i < template_.controls.size(); ++i) {
    if (template_.controls[i].kind == ControlKind::Picture)
      pictures_[i] = std::make_unique<PictureBitmap>(template_.controls[i].image);
  }
}

// Every window has a name, the step 1 window's empty caption notwithstanding; controls with
// nothing of their own to say are read by their text, as the system reads them.
void TemplateWindow::nameForScreenReaders() {
  GiveAccessibleText(hwnd_, WindowAccessibleText(template_), ControlKind::Label);
  for (std::size_t i = 0; i < template_.controls.size(); ++i) {
    const ControlTemplate& control = template_.controls[i];
    const AccessibleText text = ControlAccessibleText(template_, control);
    const bool drawnOrMeasured = control.kind == ControlKind::Picture ||
                                 control.kind == ControlKind::Icon ||
                                 control.kind == ControlKind::ProgressBar;
    if (controls_[i] && (drawnOrMeasured || !text.name.empty() || !text.description.empty()))
      GiveAccessibleText(controls_[i], text, control.kind);
  }
}

const ControlTemplate* TemplateWindow::templateOf(HWND control) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i] == control && control)
      return &template_.controls[i];
  }
  return nullptr;
}

} // namespace quillon
