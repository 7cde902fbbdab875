#include "ui/control_factory.h"

#include <algorithm>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>
#include <QTextOption>

#include "ui/artwork.h"
#include "ui/control_colours.h"
#include "ui/qt_text.h"

namespace quillon {
namespace {

bool has(const ControlTemplate& control, ControlStyle flag) {
  return (control.style & flag) != 0;
}

Qt::Alignment alignmentOf(const ControlTemplate& control) {
  const Qt::Alignment horizontal = has(control, StyleCentred) ? Qt::AlignHCenter : Qt::AlignLeft;
  const Qt::Alignment vertical = has(control, StyleVCentred) ? Qt::AlignVCenter : Qt::AlignTop;
  return horizontal | vertical;
}

QWidget* createLabel(const ControlTemplate& control, QWidget& parent) {
  auto* label = new QLabel(ToQString(control.text), &parent);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(alignmentOf(control));
  if (has(control, StyleSunken)) {
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
  }
  return label;
}

// The bitmap is shown at its own size inside the frame, centred; on a screen whose dialog
// font is smaller than the nominal one it is scaled down to fit rather than overlap.
QWidget* createPicture(const ControlTemplate& control, const QRect& frame, QWidget& parent) {
  auto* picture = new QLabel(&parent);
  picture->setFrameStyle(QFrame::Box | QFrame::Plain);
  picture->setLineWidth(1);
  picture->setAlignment(Qt::AlignCenter);
  QPixmap pixmap = LoadArtwork(control.image, parent.devicePixelRatioF());
  const QSize room = frame.size() - QSize(2, 2);
  const QSize logical = pixmap.deviceIndependentSize().toSize();
  if (!pixmap.isNull() && (logical.width() > room.width() || logical.height() > room.height())) {
    const qreal ratio = pixmap.devicePixelRatio();
    pixmap = pixmap.scaled(room * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    pixmap.setDevicePixelRatio(ratio);
  }
  picture->setPixmap(pixmap);
  return picture;
}

QWidget* createIcon(const QRect& frame, QWidget& parent) {
  auto* icon = new QLabel(&parent);
  const int side = std::min(frame.width(), frame.height());
  icon->setPixmap(AppIcon().pixmap(QSize(side, side), parent.devicePixelRatioF()));
  icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return icon;
}

QWidget* createButton(const ControlTemplate& control, QWidget& parent) {
  auto* button = new QPushButton(ToQString(control.text), &parent);
  button->setDefault(has(control, StyleDefault));
  return button;
}

QWidget* createProgressBar(QWidget& parent) {
  auto* bar = new QProgressBar(&parent);
  bar->setRange(0, 100);
  bar->setValue(0);
  bar->setTextVisible(false);
  return bar;
}

QWidget* createLineEdit(const ControlTemplate& control, QWidget& parent) {
  auto* edit = new QLineEdit(ToQString(control.text), &parent);
  edit->setReadOnly(has(control, StyleReadOnly));
  edit->setFrame(has(control, StyleBordered));
  edit->setAlignment(has(control, StyleCentred) ? Qt::AlignCenter : Qt::AlignLeft);
  return edit;
}

QWidget* createTextBox(const ControlTemplate& control, QWidget& parent) {
  auto* box = new QTextEdit(&parent);
  box->setReadOnly(has(control, StyleReadOnly));
  box->setFrameStyle(has(control, StyleBordered) ? QFrame::StyledPanel : QFrame::NoFrame);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  box->document()->setDocumentMargin(0);
  // Alignment belongs to the document so that every text set later keeps it.
  box->document()->setDefaultTextOption(
      QTextOption(has(control, StyleCentred) ? Qt::AlignHCenter : Qt::AlignLeft));
  box->setPlainText(ToQString(control.text));
  return box;
}

QWidget* createComboBox(QWidget& parent) {
  auto* combo = new QComboBox(&parent);
  combo->setEditable(true);
  return combo;
}

QWidget* createWidget(const ControlTemplate& control, const QRect& frame, QWidget& parent) {
  switch (control.kind) {
  case ControlKind::Label:
    return createLabel(control, parent);
  case ControlKind::GroupBox:
    return new QGroupBox(ToQString(control.text), &parent);
  case ControlKind::PushButton:
    return createButton(control, parent);
  case ControlKind::Picture:
    return createPicture(control, frame, parent);
  case ControlKind::ProgressBar:
    return createProgressBar(parent);
  case ControlKind::ComboBox:
    return createComboBox(parent);
  case ControlKind::LineEdit:
    return createLineEdit(control, parent);
  case ControlKind::TextBox:
    return createTextBox(control, parent);
  case ControlKind::Icon:
    return createIcon(frame, parent);
  }
  return createLabel(control, parent);
}

} // namespace

QWidget* CreateControl(const ControlTemplate& control, const DialogUnits& units, QWidget& parent) {
  QRect frame = units.toPixels(control.rect);
  QWidget* widget = createWidget(control, frame, parent);
  if (control.kind == ControlKind::ComboBox) {
    // The template's height is the open list's; the closed box is as tall as the font needs.
    frame.setHeight(widget->sizeHint().height());
  }
  widget->setGeometry(frame);
  widget->setFont(parent.font());
  ApplyColourRole(*widget, control.colour);
  if (control.kind == ControlKind::GroupBox)
    widget->lower(); // a frame is drawn behind the controls it surrounds
  widget->setEnabled(!has(control, StyleDisabled));
  widget->setVisible(!has(control, StyleHidden));
  return widget;
}

} // namespace quillon
