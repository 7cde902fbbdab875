#pragma once

#include <optional>
#include <string>
#include <vector>

// What a run of the Windows test program is pointed at: the COM port the virtual Yardmark was
// mapped onto, how fast its clock runs, the firmware file it expects, and what it reports.
namespace quillon::wintest {

struct TestSettings {
  // "update": the port, the log and the update; "verify": after the device was switched off
  // and on; "unplug": a device whose cable is pulled during a command; "listed-port": the
  // device on a port above COM32 that Windows lists as present.
  std::string suite = "update";
  std::string port = "\\\\.\\Com5"; // the mapped port, as the COM port table spells it
  std::string missingPort = "\\\\.\\Com7"; // a port that nothing is mapped onto
  double timeScale = 0.05;          // the device's and the link's waits, both scaled alike
  std::string firmwarePath;         // the image the device's flash should end up holding
  // What the device reports (the virtual Yardmark's settings for this run).
  std::string battery = "085";
  std::string identity = "YM-KV7 000012345";
  std::string appVersion = "1.234";
  std::string gpsVersion = "$PASHR,VER,GPS,1.0.00";
  std::string newGpsVersion = "$PASHR,VER,GPS,2.0.00";
};

// Reads "--name value" pairs. Empty optional and `error` set when an argument is unknown or
// has no value.
std::optional<TestSettings> ParseSettings(const std::vector<std::string>& arguments,
                                          std::string& error);

} // namespace quillon::wintest
