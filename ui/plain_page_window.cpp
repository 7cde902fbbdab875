#include "ui/plain_page_window.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QWindow>

#include "ui/notice_box.h"
#include "ui/virtual_keys.h"
#include "ui/window_placement.h"

namespace quillon {

PlainPageWindow::PlainPageWindow(PlainPage& page, const DialogTemplate& dialogTemplate,
                                 QWidget* parent)
    : TemplateDialog(dialogTemplate, parent), page_(page) {
  connectButton(ids::kOk, PageInput::Forward);
  connectButton(ids::kCancel, PageInput::Cancel);
  connectButton(ids::kPrevious, PageInput::Previous);
}

void PlainPageWindow::connectButton(int id, PageInput input) {
  auto* button = controlAs<QPushButton>(id);
  if (!button)
    return;
  connect(button, &QPushButton::clicked, this, [this, input] { page_.onInput(input, *this); });
}

void PlainPageWindow::showNotice(std::string_view caption, std::string_view text) {
  ShowNotice(this, caption, text);
}

void PlainPageWindow::endPage(int result) {
  if (result_)
    return;
  result_ = result;
  done(result);
}

void PlainPageWindow::reject() { page_.onInput(PageInput::Escape, *this); }

void PlainPageWindow::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!enter || !!(event->modifiers() & ~Qt::KeypadModifier)) {
    TemplateDialog::keyPressEvent(event); // Escape arrives in reject()
    return;
  }
  // Enter on a focused button presses that button, as everywhere on the desktop; anywhere
  // else it is the page's forward route.
  if (auto* focused = qobject_cast<QPushButton*>(focusWidget());
      focused && focused != controlAs<QPushButton>(ids::kOk) && focused->isEnabled()) {
    focused->click();
    return;
  }
  page_.onInput(PageInput::Enter, *this);
}

void PlainPageWindow::showEvent(QShowEvent* event) {
  CentreOnOwnerOrScreen(*this);
  TemplateDialog::showEvent(event);
  // Keys from the window system reach the page's window once, before the focused control.
  if (QWindow* handle = windowHandle())
    handle->installEventFilter(this);
  // The user starts on the forward button where it is the default, else on the first button.
  auto* forward = controlAs<QPushButton>(ids::kOk);
  if (forward && forward->isDefault())
    forward->setFocus(Qt::OtherFocusReason);
}

bool PlainPageWindow::eventFilter(QObject* watched, QEvent* event) {
  const bool keyEvent = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
  if (watched != windowHandle() || !keyEvent)
    return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  // A key held down since the page before repeats into this one: it was pressed for that page,
  // and answers nothing here. Only a key pressed anew, after this page appeared, counts.
  if (key->isAutoRepeat())
    return true;
  if (event->type() != QEvent::KeyPress || result_)
    return false;
  if (const int virtualKey = VirtualKeyOf(key->key()))
    page_.onKeyDown(virtualKey, *this);
  return false; // the key goes on to normal processing
}

} // namespace quillon
