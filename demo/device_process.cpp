#include "demo/device_process.h"

#include <QElapsedTimer>

namespace quillon::demo {

DeviceProcess::~DeviceProcess() {
  if (process_.state() != QProcess::NotRunning && !quit())
    process_.kill();
  process_.waitForFinished(kAnswerMs);
}

bool DeviceProcess::start(const QString& program, const QStringList& arguments) {
  // The device's complaints reach the golfer's terminal as they are.
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(program, arguments);
  if (!process_.waitForStarted(kAnswerMs)) {
    error_ = QStringLiteral("%1 did not start: %2").arg(program, process_.errorString());
    return false;
  }
  slavePath_ = readLine();
  if (slavePath_.isEmpty()) {
    error_ = QStringLiteral("%1 gave no line to talk to").arg(program);
    return false;
  }
  return true;
}

bool DeviceProcess::quit() {
  if (process_.state() == QProcess::NotRunning)
    return true;
  process_.write("quit\n");
  process_.closeWriteChannel();
  return process_.waitForFinished(kAnswerMs) && process_.exitStatus() == QProcess::NormalExit &&
         process_.exitCode() == 0;
}

QString DeviceProcess::command(const QString& line) {
  if (process_.state() != QProcess::Running)
    return {};
  // The status line that follows tells us the device has acted on the line before it.
  const QString lines = line.isEmpty() ? QStringLiteral("status\n") : line + "\nstatus\n";
  process_.write(lines.toUtf8());
  for (;;) {
    const QString answer = readLine();
    if (answer.isEmpty() || answer.startsWith(QStringLiteral("state ")))
      return answer;
  }
}

QString DeviceProcess::readLine() {
  QElapsedTimer elapsed;
  elapsed.start();
  while (!process_.canReadLine()) {
    const auto left = kAnswerMs - elapsed.elapsed();
    if (left <= 0 || !process_.waitForReadyRead(static_cast<int>(left)))
      return {};
  }
  return QString::fromUtf8(process_.readLine()).trimmed();
}

} // namespace quillon::demo
