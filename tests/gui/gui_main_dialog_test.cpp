// The hidden main dialog and its About box, built whole: port list, firmware chooser with the
// real file dialog, progress bar, instruction colours, the OK button that does nothing and the
// Exit route; and the file filter it hands the file dialog.
#include "base/clock.h"
#include "base/version.h"
#include "modal_watch.h"
#include "pages/modal_result.h"
#include "testsupport/scratch_folder.h"
#include "ui/about_box.h"
#include "ui/file_filter.h"
#include "ui/main_dialog_window.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

namespace quillon {

class MainDialogTest : public QObject {
  Q_OBJECT

private slots:
  void filterBecomesQtFilter() {
    QCOMPARE(ConvertFileFilter(MainDialogWindow::kFirmwareFilter),
             std::string("KV7 Application (application.kv7);;All Files(*.*) (*.*)"));
    QCOMPARE(ConvertFileFilter("Images|*.png;*.jpg||"), std::string("Images (*.png *.jpg)"));
    QCOMPARE(ConvertFileFilter("Text|*.txt"), std::string("Text (*.txt)"));
    // A description without its pattern ends the list instead of making a broken entry.
    QCOMPARE(ConvertFileFilter("Text|*.txt|Orphan"), std::string("Text (*.txt)"));
    QCOMPARE(ConvertFileFilter("||Text|*.txt"), std::string());
    QCOMPARE(ConvertFileFilter(""), std::string());
  }

  void controlsAreReadyButTheWindowIsNotShown() {
    VirtualClock clock;
    MainDialogWindow dialog(clock);
    dialog.prepareControls();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("KV7 Update Firmware"));
    QVERIFY(!dialog.windowIcon().isNull());

    auto* ports = dialog.controlAs<QComboBox>(ids::kPortList);
    QCOMPARE(ports->count(), 19);
    QCOMPARE(ports->itemText(0), QStringLiteral("Scan Ports"));
    QCOMPARE(ports->itemText(1), QStringLiteral("Com1"));
    QCOMPARE(ports->itemText(18), QStringLiteral("Com18"));
    QCOMPARE(ports->currentIndex(), 0);
    QVERIFY(ports->isEditable());

    auto* path = dialog.controlAs<QLineEdit>(ids::kFirmwarePath);
    QVERIFY(path->isReadOnly());
    QCOMPARE(path->text(), QString());
    auto* bar = dialog.controlAs<QProgressBar>(ids::kMainProgress);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(bar->value(), 0);
    // The template's placeholder never shows.
    QCOMPARE(dialog.controlAs<QLabel>(ids::kStateText)->text(), QString());
    auto* instructions = dialog.controlAs<QTextEdit>(ids::kInstructionBox);
    QVERIFY(instructions->isReadOnly());
    QCOMPARE(instructions->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(instructions->palette().color(QPalette::Base), QColor(255, 255, 100));
    QVERIFY(dialog.controlAs<QPushButton>(ids::kOk)->isDefault());
    QCOMPARE(dialog.controlAs<QPushButton>(ids::kOk)->text(),
             QStringLiteral("Reload GPS Firmware"));
  }

  void prepareControlsPutsTheListBackOnItsFirstItem() {
    VirtualClock clock;
    MainDialogWindow dialog(clock);
    auto* ports = dialog.controlAs<QComboBox>(ids::kPortList);
    ports->setCurrentIndex(5);
    dialog.controlAs<QProgressBar>(ids::kMainProgress)->setValue(40);
    dialog.prepareControls();
    QCOMPARE(ports->currentIndex(), 0);
    QCOMPARE(dialog.controlAs<QProgressBar>(ids::kMainProgress)->value(), 0);
  }

  void okDoesNothingAndExitEndsWithCancel() {
    VirtualClock clock;
    MainDialogWindow dialog(clock);
    bool okPressedWhileOpen = false;
    testing::WhenModalAppears([&](QWidget&) {
      dialog.controlAs<QPushButton>(ids::kOk)->click();
      QTest::keyClick(&dialog, Qt::Key_Return);
      okPressedWhileOpen = dialog.isVisible();
      dialog.controlAs<QPushButton>(ids::kCancel)->click();
    });
    QCOMPARE(dialog.exec(), modal::kCancel);
    QVERIFY(okPressedWhileOpen);
  }

  void escapeEndsWithCancel() {
    VirtualClock clock;
    MainDialogWindow dialog(clock);
    testing::WhenModalAppears([&](QWidget&) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    QCOMPARE(dialog.exec(), modal::kCancel);
  }

  void browseOffersTheFirmwareFilterAndShowsTheChosenPath() {
    const test::ScratchFolder dir;
    const QString firmware = QString::fromStdString(dir.path("application.kv7").string());
    QFile file(firmware);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("S0030000FC\n");
    file.close();

    VirtualClock clock;
    MainDialogWindow dialog(clock);
    QStringList offered;
    testing::WhenModalAppears([&](QWidget& modal) {
      auto* chooser = qobject_cast<QFileDialog*>(&modal);
      QVERIFY2(chooser, "Browse did not open a file dialog");
      offered = chooser->nameFilters();
      chooser->setDirectory(QString::fromStdString(dir.path().string()));
      chooser->selectFile(firmware);
      static_cast<QDialog*>(chooser)->accept(); // the "Open" button
    });
    dialog.controlAs<QPushButton>(ids::kBrowse)->click();
    QCOMPARE(offered, (QStringList{QStringLiteral("KV7 Application (application.kv7)"),
                                   QStringLiteral("All Files(*.*) (*.*)")}));
    QCOMPARE(dialog.firmwarePath(), firmware);
    QCOMPARE(dialog.controlAs<QLineEdit>(ids::kFirmwarePath)->text(), firmware);
  }

  void cancelledBrowseKeepsThePath() {
    VirtualClock clock;
    MainDialogWindow dialog(clock);
    testing::WhenModalAppears([](QWidget& modal) { qobject_cast<QDialog*>(&modal)->reject(); });
    dialog.browseForFirmware();
    QCOMPARE(dialog.controlAs<QLineEdit>(ids::kFirmwarePath)->text(), QString());
  }

  void aboutBoxNamesTheProgramAndCloses() {
    AboutBox about(nullptr);
    QCOMPARE(about.windowTitle(), QStringLiteral("About Yardmark GPS Firmware Updater"));
    QStringList texts;
    for (auto* label : about.findChildren<QLabel*>())
      if (!label->text().isEmpty())
        texts << label->text();
    QVERIFY(texts.contains(QStringLiteral("Yardmark GPS Firmware Updater - V4")));
    QVERIFY(texts.filter(QStringLiteral(" " QUILLON_VERSION " ")).size() == 1);
    QCOMPARE(texts.size(), 2);
    bool iconShown = false;
    for (auto* label : about.findChildren<QLabel*>())
      iconShown = iconShown || !label->pixmap().isNull();
    QVERIFY(iconShown);
    testing::WhenModalAppears([&](QWidget&) { about.controlAs<QPushButton>(ids::kOk)->click(); });
    QCOMPARE(about.exec(), int(QDialog::Accepted));
  }

  void aboutCommandOpensTheAboutBox() {
    VirtualClock clock;
    MainDialogWindow dialog(clock);
    dialog.addAboutCommand(QString());
    QVERIFY(dialog.actions().isEmpty());
    dialog.addAboutCommand(QStringLiteral("&About Quillon..."));
    QCOMPARE(dialog.actions().size(), 2);
    QVERIFY(dialog.actions().front()->isSeparator());
    QString opened;
    testing::WhenModalAppears([&](QWidget& modal) {
      opened = modal.windowTitle();
      qobject_cast<QDialog*>(&modal)->accept();
    });
    dialog.actions().back()->trigger();
    QCOMPARE(opened, QStringLiteral("About Yardmark GPS Firmware Updater"));
  }
};

} // namespace quillon

QTEST_MAIN(quillon::MainDialogTest)
#include "gui_main_dialog_test.moc"
