// yardmark-sim: the virtual Yardmark as a program, for support staff, the demo and the tests.
#include "sim/cli_options.h"
#include "sim/console_lines.h"
#include "sim/virtual_yardmark.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const auto written = write(signalPipe[1], &byte, 1);
}

// Serves standard input until quit, its end, or SIGINT/SIGTERM.
void Converse(quillon::sim::VirtualYardmark& device) {
  std::string pending;
  for (;;) {
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {signalPipe[0], POLLIN, 0}};
    if (poll(fds, 2, -1) < 0)
      continue; // EINTR: the signal pipe tells us what happened
    if (fds[1].revents & POLLIN)
      return;
    if (!(fds[0].revents & (POLLIN | POLLHUP | POLLERR)))
      continue;
    char buffer[512];
    const auto count = read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0)
      return;
    pending.append(buffer, static_cast<std::size_t>(count));
    for (auto newline = pending.find('\n'); newline != std::string::npos;
         newline = pending.find('\n')) {
      std::string line = pending.substr(0, newline);
      pending.erase(0, newline + 1);
      while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.pop_back();
      if (quillon::sim::ObeyConsoleLine(line, device, std::cout, std::cerr, "yardmark-sim") ==
          quillon::sim::ConsoleVerdict::Quit)
        return;
    }
  }
}

} // namespace

int main(int argc, char** argv) {
  quillon::sim::CliOptions options;
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (const auto problem = quillon::sim::ParseCommandLine(arguments, options); !problem.empty()) {
    std::cerr << "yardmark-sim: " << problem << "\nTry yardmark-sim --help\n";
    return 2;
  }
  if (options.help) {
    std::cout << quillon::sim::UsageText();
    return 0;
  }
  if (pipe(signalPipe) != 0)
    return 1;
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  std::signal(SIGPIPE, SIG_IGN);

  // Support staff read this to know a fault they asked for was played, not merely armed.
  options.device.onFaultStruck = [](const std::string& fault) {
    std::cerr << "yardmark-sim: fault struck: " << fault << std::endl;
  };
  quillon::sim::VirtualYardmark device(options.device);
  const bool started = options.portPath.empty() ? device.start(options.linkPath)
                                                : device.startOnPort(options.portPath);
  if (!started) {
    std::cerr << "yardmark-sim: " << device.error() << "\n";
    return 1;
  }
  std::cout << device.slavePath() << std::endl;
  Converse(device);
  device.stop();
  return 0;
}
