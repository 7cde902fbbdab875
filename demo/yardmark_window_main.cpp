// yardmark-window: the virtual Yardmark with a window of its own, for the demo. It takes the
// options of yardmark-sim, prints the path of its line first, and takes the same lines on
// standard input; closing the window unplugs and stops the device.
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

#include <QApplication>
#include <QSocketNotifier>

#include "demo/yardmark_window.h"
#include "sim/cli_options.h"
#include "sim/console_lines.h"
#include "sim/flash_model.h"
#include "sim/srecord_file.h"
#include "sim/virtual_yardmark.h"

namespace {

constexpr auto kProgram = "yardmark-window";

std::size_t ImageBytes(const std::string& firmwarePath) {
  quillon::sim::FlashModel image;
  std::string error;
  if (firmwarePath.empty() || !quillon::sim::ReadSRecordFile(firmwarePath, image, error))
    return 0;
  return image.programmedCount();
}

// Standard input, line by line, as yardmark-sim reads it.
class ConsoleReader {
public:
  explicit ConsoleReader(quillon::sim::VirtualYardmark& device)
      : device_(device), notifier_(STDIN_FILENO, QSocketNotifier::Read) {
    QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { readSome(); });
  }

private:
  void readSome() {
    char buffer[512];
    const auto count = read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0) {
      notifier_.setEnabled(false);
      QApplication::quit();
      return;
    }
    pending_.append(buffer, static_cast<std::size_t>(count));
    for (auto newline = pending_.find('\n'); newline != std::string::npos;
         newline = pending_.find('\n')) {
      std::string line = pending_.substr(0, newline);
      pending_.erase(0, newline + 1);
      while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.pop_back();
      if (quillon::sim::ObeyConsoleLine(line, device_, std::cout, std::cerr, kProgram) ==
          quillon::sim::ConsoleVerdict::Quit) {
        QApplication::quit();
        return;
      }
    }
  }

  quillon::sim::VirtualYardmark& device_;
  QSocketNotifier notifier_;
  std::string pending_;
};

} // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  quillon::sim::CliOptions options;
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (const auto problem = quillon::sim::ParseCommandLine(arguments, options); !problem.empty()) {
    std::cerr << kProgram << ": " << problem << "\nTry " << kProgram << " --help\n";
    return 2;
  }
  if (options.help) {
    std::cout << quillon::sim::UsageText();
    return 0;
  }
  quillon::sim::VirtualYardmark device(options.device);
  const bool started = options.portPath.empty() ? device.start(options.linkPath)
                                                : device.startOnPort(options.portPath);
  if (!started) {
    std::cerr << kProgram << ": " << device.error() << "\n";
    return 1;
  }
  std::cout << device.slavePath() << std::endl;

  quillon::demo::YardmarkWindow window(device, ImageBytes(options.device.firmwarePath));
  window.show();
  ConsoleReader console(device);
  const int status = application.exec();
  device.stop();
  return status;
}
