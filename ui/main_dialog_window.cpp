#include "ui/main_dialog_window.h"

#include "pages/modal_result.h"
#include "ui/about_box.h"
#include "ui/artwork.h"
#include "ui/file_filter.h"
#include "ui/notice_box.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>

namespace quillon {
namespace {

constexpr int kHighestComPort = 18;

QStringList portListItems() {
  QStringList items{QStringLiteral("Scan Ports")};
  for (int n = 1; n <= kHighestComPort; ++n)
    items << QStringLiteral("Com%1").arg(n);
  return items;
}

} // namespace

MainDialogWindow::MainDialogWindow(Clock& clock, SerialPortFactory portFactory)
    : TemplateDialog(*FindDialogTemplate(tpl::kMainDialog), nullptr),
      link_(clock, std::move(portFactory)), portList_(controlAs<QComboBox>(ids::kPortList)),
      progress_(controlAs<QProgressBar>(ids::kMainProgress)) {
  setWindowIcon(AppIcon());
  portList_->addItems(portListItems());
  connect(controlAs<QPushButton>(ids::kBrowse), &QPushButton::clicked, this,
          &MainDialogWindow::browseForFirmware);
  connect(controlAs<QPushButton>(ids::kOk), &QPushButton::clicked, this, &QDialog::accept);
  connect(controlAs<QPushButton>(ids::kCancel), &QPushButton::clicked, this, &QDialog::reject);
  showTexts(); // the template's "StateString" gives way to the empty state text
}

void MainDialogWindow::prepareControls() {
  progress_->setRange(0, 100);
  progress_->setValue(0);
  portList_->setCurrentIndex(0);
}

void MainDialogWindow::addAboutCommand(const QString& text) {
  if (text.isEmpty())
    return;
  auto* separator = new QAction(this);
  separator->setSeparator(true);
  auto* about = new QAction(text, this);
  connect(about, &QAction::triggered, this, &MainDialogWindow::showAboutBox);
  addAction(separator);
  addAction(about);
  setContextMenuPolicy(Qt::ActionsContextMenu);
}

void MainDialogWindow::showAboutBox() {
  AboutBox about(this);
  about.exec();
}

void MainDialogWindow::browseForFirmware() {
  // No owner, no initial name and no default extension, as the dialog was always opened.
  const QString chosen = QFileDialog::getOpenFileName(
      nullptr, QString(), QString(), QString::fromStdString(ConvertFileFilter(kFirmwareFilter)));
  if (chosen.isEmpty())
    return;
  firmwarePath_ = chosen;
  showTexts();
}

void MainDialogWindow::showNotice(std::string_view caption, std::string_view text) {
  ShowNotice(this, caption, text);
}

void MainDialogWindow::endDialog(int result) {
  done(result);
}

void MainDialogWindow::reject() {
  endDialog(modal::kCancel);
}

void MainDialogWindow::accept() {}

void MainDialogWindow::showTexts() {
  controlAs<QTextEdit>(ids::kInstructionBox)->setPlainText(instructionText_);
  controlAs<QLineEdit>(ids::kFirmwarePath)->setText(firmwarePath_);
  controlAs<QLabel>(ids::kStateText)->setText(stateText_);
}

} // namespace quillon
