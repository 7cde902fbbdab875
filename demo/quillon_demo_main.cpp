// quillon-demo: the wizard wired to the virtual Yardmark, the program's embedded default.
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/quillon_app.h"
#include "base/clock.h"
#include "base/version.h"
#include "demo/answer_script.h"
#include "demo/demo_options.h"
#include "demo/demo_runner.h"
#include "demo/device_process.h"
#include "demo/run_printer.h"
#include "demo/scaled_serial_port.h"
#include "demo/screenshots.h"
#include "demo/scripted_golfer.h"
#include "demo/window_watcher.h"
#include "demo/work_folder.h"
#include "log/update_log.h"
#include "sim/virtual_yardmark.h"

namespace {

using quillon::demo::DemoExit;

int ExitWith(DemoExit code) { return static_cast<int>(code); }

bool HasDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

// The offscreen platform says, for every page, that it cannot raise windows or pass size
// hints; that is what offscreen means, and the run's own lines matter more.
void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QStringLiteral("This plugin does not support")))
    return;
  std::cerr << qPrintable(qFormatLogMessage(type, context, message)) << std::endl;
}

// The device programs stand beside the demo, or (yardmark-sim, in the build folder) in the
// virtual Yardmark's own folder, found relative to the demo's.
QString DeviceProgram(const char* name) {
  const QDir here(QCoreApplication::applicationDirPath());
  const QString beside = here.filePath(QString::fromUtf8(name));
  if (QFileInfo(beside).isExecutable())
    return beside;
  return QDir::cleanPath(
      here.filePath(QStringLiteral(QUILLON_BUILT_SIM_FOLDER "/") + QString::fromUtf8(name)));
}

// The device's line lies in the working folder, or in `lineFolder` when that cannot be
// written; its flash dump is kept only in the working folder.
QStringList DeviceArguments(const quillon::demo::DemoOptions& options,
                            const quillon::demo::WorkFolder& folder, const QString& lineFolder) {
  QStringList arguments{QStringLiteral("--link=") + QDir(lineFolder).filePath("yardmark"),
                        QStringLiteral("--time-scale=") + QString::number(options.timeScale)};
  if (folder.writable)
    arguments << QStringLiteral("--flash-dump=") +
                     folder.file(quillon::demo::WorkFolder::kFlashDump);
  if (!folder.firmwarePath.isEmpty())
    arguments << QStringLiteral("--firmware=") + folder.firmwarePath;
  // The caller's own options come last, so they win over the demo's.
  for (const auto& option : options.simOptions)
    arguments << QString::fromStdString(option);
  return arguments;
}

// A file this run wrote: the work folder was cleared of old dumps before it began.
bool WroteSomething(const QString& path) {
  const QFileInfo file(path);
  return file.isFile() && file.size() > 0;
}

QString Absolute(const std::string& path) {
  return path.empty() ? QString() : QFileInfo(QString::fromStdString(path)).absoluteFilePath();
}

} // namespace

int main(int argc, char** argv) {
  quillon::demo::DemoOptions options;
  if (const auto problem =
          quillon::demo::ParseDemoOptions(std::vector<std::string>(argv + 1, argv + argc), options);
      !problem.empty()) {
    std::cerr << "quillon-demo: " << problem << "\nTry quillon-demo --help\n";
    return ExitWith(DemoExit::BadUsage);
  }
  if (options.help) {
    std::cout << quillon::demo::DemoUsage();
    return ExitWith(DemoExit::Verified);
  }
  if (options.version) {
    std::cout << "quillon-demo " QUILLON_VERSION "\n";
    return ExitWith(DemoExit::Verified);
  }
  const bool headless = options.headless || !HasDisplay();
  if (headless) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietOffscreen);
  }
  QApplication application(argc, argv);

  quillon::demo::RunPrinter printer(std::cout);
  const QString screenshotDir = Absolute(options.screenshotDir);
  if (!screenshotDir.isEmpty() && !QDir().mkpath(screenshotDir)) {
    std::cerr << "quillon-demo: cannot create " << screenshotDir.toStdString() << "\n";
    return ExitWith(DemoExit::NoSetUp);
  }
  const QString portPath = Absolute(options.portPath);
  const auto folder = quillon::demo::WorkFolder::Prepare(
      Absolute(options.workDir),
      QString::fromStdString(quillon::sim::YardmarkOptions{}.newGpsVersion));
  if (!folder.error.isEmpty()) {
    std::cerr << "quillon-demo: " << folder.error.toStdString() << "\n";
    return ExitWith(DemoExit::NoSetUp);
  }
  printer.line("working folder: " + folder.path.toStdString());

  std::optional<quillon::demo::DeviceProcess> device;
  QTemporaryDir privateLine;
  QString line = portPath;
  if (portPath.isEmpty()) {
    device.emplace();
    const QString program = DeviceProgram(headless ? "yardmark-sim" : "yardmark-window");
    const QString lineFolder = folder.writable ? folder.path : privateLine.path();
    if (!device->start(program, DeviceArguments(options, folder, lineFolder))) {
      std::cerr << "quillon-demo: " << device->error().toStdString() << "\n";
      return ExitWith(DemoExit::NoSetUp);
    }
    line = device->slavePath();
    printer.line("virtual Yardmark on " + line.toStdString());
  }

  // Orbfix.dat is looked up in the current directory, as the program does.
  QDir::setCurrent(folder.path);
  quillon::SystemClock clock(options.timeScale);
  quillon::QuillonApp app(clock, quillon::demo::ScaledPortFactory(options.timeScale));
  app.link().setCandidatePorts({line.toStdString()});

  quillon::demo::Screenshots shots(screenshotDir.toStdString());
  std::optional<quillon::demo::ScriptedGolfer> golfer;
  if (headless)
    golfer.emplace(*quillon::demo::AnswerScript::Parse(options.answers),
                   device ? &*device : nullptr, printer);
  quillon::demo::WindowWatcher watcher(printer, shots, golfer ? &*golfer : nullptr);
  application.installEventFilter(&watcher);
  quillon::demo::DemoRunner runner(app.pageRunner(), watcher, printer, shots);
  app.run({quillon::demo::WorkFolder::kOrbfix, folder.path.toStdString()}, &runner);
  application.removeEventFilter(&watcher);

  if (device) {
    printer.line("device: " + device->status().toStdString());
    if (!device->quit())
      printer.line("the virtual Yardmark did not stop cleanly");
    const QString dump = folder.file(quillon::demo::WorkFolder::kFlashDump);
    if (!folder.writable)
      printer.line("no flash dump: the working folder cannot be written");
    else if (WroteSomething(dump))
      printer.line("flash dump: " + dump.toStdString());
    else
      printer.line("no flash dump: the virtual Yardmark could not write " + dump.toStdString());
  }
  // The wizard tells the golfer itself when it cannot write its log; the demo names no file
  // that is not there.
  const quillon::UpdateLog& log = quillon::updateLog();
  if (log.isOpen())
    printer.line(std::string("log: ") + log.logPath());
  else
    printer.line("no log: Orbfix.log could not be written in " + log.folder());
  printer.line(runner.verified() ? "verified: the Yardmark reports the new GPS version"
                                 : "not verified: the update was not confirmed");
  return ExitWith(runner.verified() ? DemoExit::Verified : DemoExit::NotVerified);
}
