#pragma once

#include <functional>

#include <QPointer>
#include <QString>
#include <QWidget>

namespace quillon::testing {

// Runs act on the next modal window to appear on top of the current one (a message box, a
// file dialog, a page), from inside that window's own event loop. Gives up, and fails the test, after timeoutMs.
void WhenModalAppears(std::function<void(QWidget&)> act, int timeoutMs = 5000);

// Gives control the keyboard focus in its (re)activated window; false if it could not.
bool FocusOn(QWidget& control);

// Closes the next message box to appear with OK and hands back its caption and text.
struct SeenNotice {
  QString caption;
  QString text;
  QPointer<QWidget> owner;  // the window that owns the box, while it lasts
  QString ownerType;        // its class, for after it has gone
  bool seen = false;
};
void AnswerNextNotice(SeenNotice& seen, int timeoutMs = 5000);

} // namespace quillon::testing
