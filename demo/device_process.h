#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace quillon::demo {

// The virtual Yardmark as a child process (yardmark-sim, or yardmark-window with its own
// window): it prints the path of its line first, then takes the lines "power off",
// "power on", "status" and "quit" on standard input.
class DeviceProcess {
public:
  // How long the device may take to start, to answer a line and to stop (real time: the
  // device is another process, not a wait of the protocol).
  static constexpr int kAnswerMs = 10000;

  DeviceProcess() = default;
  ~DeviceProcess();
  DeviceProcess(const DeviceProcess&) = delete;
  DeviceProcess& operator=(const DeviceProcess&) = delete;

  // Starts the program and reads the path of the line. False, with error() set, when the
  // program does not start or says nothing.
  bool start(const QString& program, const QStringList& arguments);
  const QString& slavePath() const { return slavePath_; }
  const QString& error() const { return error_; }

  // Each returns once the device has acted on it, with its state line ("state off baud
  // 115200 frames 3 programmed 96"); empty when the device did not answer.
  QString powerOff() { return command("power off"); }
  QString powerOn() { return command("power on"); }
  QString status() { return command(""); }

  // Asks the device to stop (it writes its flash dump then) and waits for it.
  bool quit();

private:
  QString command(const QString& line);
  QString readLine();

  QProcess process_;
  QString slavePath_;
  QString error_;
};

} // namespace quillon::demo
