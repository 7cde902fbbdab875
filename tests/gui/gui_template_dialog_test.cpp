// Windows built from the templates: pixel geometry from dialog units and the window's own
// font, the frame of a wizard page, colours that really reach the screen, buttons and pictures.
#include "ui/artwork.h"
#include "ui/qt_text.h"
#include "ui/template_dialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace quillon {
namespace {

// Dialog units measured the way they are defined, independently of the code under test:
// average width of the 52 letters (rounded) over 4, character height over 8, rounded.
struct Base {
  int x;
  int y;
};

Base baseUnitsOf(const QFont& font) {
  const QFontMetrics m(font);
  const double average =
      m.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
      52.0;
  return {static_cast<int>(average + 0.5), m.height()};
}

int rounded(int value, int base, int divisor) {
  return static_cast<int>(static_cast<double>(value) * base / divisor + 0.5);
}

QRect expectedRect(const DluRect& r, Base base) {
  return {rounded(r.x, base.x, 4), rounded(r.y, base.y, 8), rounded(r.width, base.x, 4),
          rounded(r.height, base.y, 8)};
}

QColor pixelAt(QWidget& window, QPoint where) {
  return window.grab().toImage().pixelColor(where);
}

constexpr int kPlainPages[] = {tpl::kIntro,         tpl::kConnectComputer, tpl::kConnectDevice,
                               tpl::kTurnOn,        tpl::kVerifyConnection, tpl::kTurnOff,
                               tpl::kTurnOnAgain,   tpl::kVerifyScreen,    tpl::kFinish};

} // namespace

class TemplateDialogTest : public QObject {
  Q_OBJECT

private slots:
  void controlsArePlacedInDialogUnitsOfTheWindowFont() {
    for (const DialogTemplate* t : AllDialogTemplates()) {
      TemplateDialog dialog(*t, nullptr);
      const Base base = baseUnitsOf(dialog.font());
      QVERIFY(base.x > 2 && base.y > 8);
      QCOMPARE(dialog.size(), QSize(rounded(t->width, base.x, 4), rounded(t->height, base.y, 8)));
      for (std::size_t i = 0; i < t->controls.size(); ++i) {
        const ControlTemplate& c = t->controls[i];
        QWidget* widget = dialog.controlAt(i);
        QVERIFY(widget);
        QRect want = expectedRect(c.rect, base);
        if (c.kind == ControlKind::ComboBox)
          want.setHeight(widget->height()); // the closed box is one line tall
        QCOMPARE(widget->geometry(), want);
      }
    }
  }

  void layoutScalesWithTheFont() {
    const DialogTemplate& step2 = *FindDialogTemplate(tpl::kConnectComputer);
    TemplateDialog normal(step2, nullptr);
    QFont bigger = normal.font();
    bigger.setPointSize(bigger.pointSize() * 2);
    const DialogUnits big(bigger);
    const DialogUnits small(normal.font());
    QVERIFY(big.toPixelsX(190) > small.toPixelsX(190) * 3 / 2);
    QVERIFY(big.toPixelsY(241) > small.toPixelsY(241) * 3 / 2);
    // The nominal 8-point font at 96 dpi: 6 x 13 pixel base units.
    const DialogUnits nominal(6, 13);
    QCOMPARE(nominal.toPixels({7, 220, 50, 14}), QRect(11, 358, 75, 23));
  }

  void wizardPagesStayOnTopWithoutACloseBox() {
    for (int id : kPlainPages) {
      TemplateDialog page(*FindDialogTemplate(id), nullptr);
      const Qt::WindowFlags flags = page.windowFlags();
      QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
      QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
      QVERIFY(flags.testFlag(Qt::WindowTitleHint));
      QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
      QVERIFY(!flags.testFlag(Qt::WindowSystemMenuHint));
    }
    TemplateDialog main(*FindDialogTemplate(tpl::kMainDialog), nullptr);
    QVERIFY(main.windowFlags().testFlag(Qt::WindowSystemMenuHint));
  }

  void headerIsPaintedWhiteOnBlue() {
    for (int id : kPlainPages) {
      TemplateDialog page(*FindDialogTemplate(id), nullptr);
      QWidget* header = page.controlAt(0);
      QCOMPARE(header->palette().color(QPalette::WindowText), QColor(255, 255, 255));
      page.show();
      QVERIFY(QTest::qWaitForWindowExposed(&page));
      // Just inside the sunken edge, left of the centred text.
      const QPoint inside = header->geometry().topLeft() + QPoint(4, header->height() / 2);
      QCOMPARE(pixelAt(page, inside), QColor(50, 50, 200));
    }
  }

  void warningsAndRowsKeepTheirColours() {
    TemplateDialog intro(*FindDialogTemplate(tpl::kIntro), nullptr);
    QCOMPARE(intro.control(ids::kIntroWarning)->palette().color(QPalette::WindowText),
             QColor(255, 0, 0));
    // Every other text of step 1 keeps the standard colour.
    const QColor standard = QApplication::palette().color(QPalette::WindowText);
    QCOMPARE(intro.controlAt(2)->palette().color(QPalette::WindowText), standard);

    TemplateDialog load(*FindDialogTemplate(tpl::kLoadFirmware), nullptr);
    load.show();
    QVERIFY(QTest::qWaitForWindowExposed(&load));
    QWidget* unplug = load.control(ids::kUnplugWarning);
    QCOMPARE(unplug->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(pixelAt(load, unplug->geometry().topLeft() + QPoint(1, 1)), QColor(255, 255, 100));
    for (int row : {1015, 1016, 1017, 1045, 1018, 1019, 1020, 1022})
      QCOMPARE(load.control(row)->palette().color(QPalette::WindowText), QColor(0, 0, 125));
    // The labels of the rows are not navy.
    QCOMPARE(load.controlAt(7)->palette().color(QPalette::WindowText), standard);
  }

  void progressPageButtonsAreHiddenAndTiny() {
    for (int id : {tpl::kLoadFirmware, tpl::kResetAndVerify}) {
      TemplateDialog page(*FindDialogTemplate(id), nullptr);
      page.show();
      QVERIFY(QTest::qWaitForWindowExposed(&page));
      for (int button : {ids::kOk, ids::kCancel}) {
        QWidget* b = page.control(button);
        QVERIFY(!b->isVisible());
        QVERIFY(b->width() <= page.units().toPixelsX(8));
      }
      QCOMPARE(page.controlAs<QPushButton>(ids::kOk)->isDefault(), true);
      auto* bar = page.controlAs<QProgressBar>(id == tpl::kLoadFirmware ? 1021 : 1027);
      QVERIFY(bar);
      QCOMPARE(bar->minimum(), 0);
      QCOMPARE(bar->maximum(), 100);
      QCOMPARE(bar->value(), 0);
    }
  }

  void picturesShowTheirBitmapAtItsOwnSize() {
    for (int id : kPlainPages) {
      TemplateDialog page(*FindDialogTemplate(id), nullptr);
      const auto& controls = page.dialogTemplate().controls;
      for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].kind != ControlKind::Picture)
          continue;
        auto* label = qobject_cast<QLabel*>(page.controlAt(i));
        QVERIFY(label);
        const QPixmap shown = label->pixmap();
        QVERIFY(!shown.isNull());
        const QSize logical = shown.deviceIndependentSize().toSize();
        const QSize room = label->size() - QSize(2, 2);
        if (ArtworkSize(controls[i].image).width() <= room.width() &&
            ArtworkSize(controls[i].image).height() <= room.height())
          QCOMPARE(logical, ArtworkSize(controls[i].image));
        else // scaled down to fit, never overlapping its neighbours
          QVERIFY(logical.width() <= room.width() && logical.height() <= room.height());
      }
    }
  }

  // The whole name table, checked once: a screen reader finds a name on every window, picture,
  // progress bar and button, and hears the buttons as words, while the screen shows what it
  // always showed.
  void everyWindowPictureBarAndButtonIsNamedForScreenReaders() {
    const QRegularExpression words(QStringLiteral("^[A-Za-z]+( [A-Za-z]+)*$"));
    for (const DialogTemplate* t : AllDialogTemplates()) {
      TemplateDialog dialog(*t, nullptr);
      const QString window = QString::number(t->id);
      QVERIFY2(!dialog.accessibleName().isEmpty(), qPrintable(window));
      QCOMPARE(dialog.windowTitle(), ToQString(t->caption));
      for (std::size_t i = 0; i < t->controls.size(); ++i) {
        const ControlTemplate& control = t->controls[i];
        QWidget* widget = dialog.controlAt(i);
        const QString where = window + QStringLiteral(" control %1").arg(i);
        switch (control.kind) {
        case ControlKind::Picture:
        case ControlKind::Icon:
        case ControlKind::ProgressBar:
          QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(where));
          QVERIFY2(!widget->accessibleDescription().isEmpty(), qPrintable(where));
          break;
        case ControlKind::PushButton:
          QVERIFY2(words.match(widget->accessibleName()).hasMatch(),
                   qPrintable(where + QStringLiteral(": ") + widget->accessibleName()));
          QCOMPARE(qobject_cast<QPushButton*>(widget)->text(), ToQString(control.text));
          break;
        default:
          break;
        }
      }
    }
    // A row state is read with its row, the step 6 buttons by their words.
    TemplateDialog step6(*FindDialogTemplate(tpl::kLoadFirmware), nullptr);
    QCOMPARE(step6.control(1020)->accessibleName(), QStringLiteral("7. Loading Firmware: Working"));
    QCOMPARE(step6.control(ids::kOk)->accessibleName(), QStringLiteral("Next"));
  }

  void step9ShowsOnlyOneWordingAtTheTop() {
    TemplateDialog page(*FindDialogTemplate(tpl::kVerifyScreen), nullptr);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    int visibleAtTop = 0;
    for (auto* label : page.findChildren<QLabel*>())
      if (label->isVisible() && label->text().startsWith(QStringLiteral("Please wait as your")))
        ++visibleAtTop;
    QCOMPARE(visibleAtTop, 1);
  }
};

} // namespace quillon

QTEST_MAIN(quillon::TemplateDialogTest)
#include "gui_template_dialog_test.moc"
