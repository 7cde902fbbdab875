#pragma once

#include "dialogs/dialog_template.h"
#include "win32/control_colours.h"
#include "win32/dialog_bytes.h"
#include "win32/picture_control.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>
#include <windows.h>

namespace quillon {

// A dialog built from one of the program's templates by Windows' dialog manager, with the
// colours of its controls' roles and its pictures. The windows of the program derive from it
// and add their behaviour. One object per showing: the window, its brushes and its bitmaps
// go when the window is destroyed.
class TemplateWindow {
public:
  explicit TemplateWindow(const DialogTemplate& dialogTemplate);
  virtual ~TemplateWindow();
  TemplateWindow(const TemplateWindow&) = delete;
  TemplateWindow& operator=(const TemplateWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  const DialogTemplate& dialogTemplate() const { return template_; }

  // A window of its own with no loop of its own (the caller runs it); false when Windows could
  // not create it.
  bool create(HWND owner);
  // The dialog manager's modal run: returns the value given to EndDialog, or -1 when the
  // window could not be created.
  INT_PTR runModal(HWND owner);
  void destroy();

  // The first control with this id, or nullptr.
  HWND control(int id) const;
  // The control made from the template's control at `index`, or nullptr.
  HWND controlAt(std::size_t index) const;

protected:
  // After the controls exist, before the window is shown. True lets the dialog manager give
  // the focus to the first control that takes it.
  virtual bool onInitDialog() { return true; }
  // Messages the derived window handles; nullopt for the default handling.
  virtual std::optional<INT_PTR> onMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

private:
  static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void collectControls();
  void nameForScreenReaders();
  const ControlTemplate* templateOf(HWND control) const;

  const DialogTemplate& template_;
  DialogBytes bytes_;
  HWND hwnd_ = nullptr;
  std::vector<HWND> controls_; // parallel to template_.controls
  std::optional<ControlColours> colours_;
  std::vector<std::unique_ptr<PictureBitmap>> pictures_; // parallel; null for other controls
};

// Keeps a page's owner disabled for its own lifetime, as a modal run does. Declared after the
// page's window, it gives the owner back before the window goes, so that Windows does not hand
// the activation to another program's window in between.
class ModalToOwner {
public:
  explicit ModalToOwner(HWND owner);
  ~ModalToOwner();
  ModalToOwner(const ModalToOwner&) = delete;
  ModalToOwner& operator=(const ModalToOwner&) = delete;

private:
  HWND owner_;
  bool wasEnabled_;
};

// The executable's module, where the resources live.
HINSTANCE ProgramInstance();

} // namespace quillon
