#pragma once

#include "link/serial_port.h"

#include <string>
#include <vector>

namespace quillon {

// What discovery made of one candidate port. The log names every port tried and why each was
// passed over, so that support staff can tell "no cable" from "another program holds it" or
// "the golfer may not open serial ports".
struct PortTrial {
  enum class Outcome {
    Answered,     // the Yardmark answered its greeting here
    NameTooLong,  // the path is longer than the link keeps as its port name: not tried
    NotOpened,    // the port could not be opened: `failure` says why
    LineRefused,  // it opened, but refused the line settings: `failure` says why
    Silent,       // it opened, and nothing answered any greeting
    NotAYardmark, // something answered, but not with the Yardmark's reply
    Failed,       // a greeting could not be sent, or the port went away: `failure` says why
  };

  std::string path;
  Outcome outcome = Outcome::Silent;
  PortResult failure;
  int greetings = 0; // hellos sent on this port
};

// The trials as log lines, in the order the ports were tried. Ports that do not exist at all
// share one line (on Windows most of the 32 COM ports of the table never do); an empty list
// says that there was no port to try.
std::vector<std::string> DescribePortsTried(const std::vector<PortTrial>& trials);

} // namespace quillon
