#include "sim/cli_options.h"

#include "sim/command_line.h"

#include <charconv>
#include <functional>
#include <map>

namespace quillon::sim {

namespace {

bool ParseNumber(const std::string& text, double& value) {
  const auto* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

bool ParseMs(const std::string& text, std::chrono::milliseconds& value) {
  long long ms = 0;
  const auto* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, ms);
  if (ec != std::errc() || ptr != end || ms < 0)
    return false;
  value = std::chrono::milliseconds(ms);
  return true;
}

using Setter = std::function<bool(CliOptions&, const std::string&)>;

const std::map<std::string, Setter>& ValueOptions() {
  static const std::map<std::string, Setter> options = {
      {"--link",
       [](CliOptions& o, const std::string& v) {
         o.linkPath = v;
         return !v.empty();
       }},
      {"--port",
       [](CliOptions& o, const std::string& v) {
         o.portPath = v;
         return !v.empty();
       }},
      {"--battery",
       [](CliOptions& o, const std::string& v) {
         o.device.battery = v;
         return true;
       }},
      {"--identity",
       [](CliOptions& o, const std::string& v) {
         o.device.identity = v;
         return true;
       }},
      {"--app-version",
       [](CliOptions& o, const std::string& v) {
         o.device.appVersion = v;
         return true;
       }},
      {"--gps-version",
       [](CliOptions& o, const std::string& v) {
         o.device.gpsVersion = v;
         return true;
       }},
      {"--new-gps-version",
       [](CliOptions& o, const std::string& v) {
         o.device.newGpsVersion = v;
         return true;
       }},
      {"--firmware",
       [](CliOptions& o, const std::string& v) {
         o.device.firmwarePath = v;
         return true;
       }},
      {"--flash-dump",
       [](CliOptions& o, const std::string& v) {
         o.device.flashDumpPath = v;
         return true;
       }},
      {"--time-scale",
       [](CliOptions& o, const std::string& v) { return ParseNumber(v, o.device.timeScale); }},
      {"--erase-pace",
       [](CliOptions& o, const std::string& v) { return ParseMs(v, o.device.erasePace); }},
      {"--program-delay",
       [](CliOptions& o, const std::string& v) { return ParseMs(v, o.device.programDelay); }},
      {"--fault",
       [](CliOptions& o, const std::string& v) {
         o.device.faults.push_back(v);
         return !v.empty();
       }},
  };
  return options;
}

const std::map<std::string, std::function<void(CliOptions&)>>& Flags() {
  static const std::map<std::string, std::function<void(CliOptions&)>> flags = {
      {"--help", [](CliOptions& o) { o.help = true; }},
      {"-h", [](CliOptions& o) { o.help = true; }},
      {"--pace", [](CliOptions& o) { o.device.pace = true; }},
      {"--prompt", [](CliOptions& o) { o.device.prompt = true; }},
      {"--powered-off", [](CliOptions& o) { o.device.poweredOn = false; }},
  };
  return flags;
}

} // namespace

std::string ParseCommandLine(const std::vector<std::string>& arguments, CliOptions& options) {
  if (std::string complaint = ReadCommandLine(arguments, Flags(), ValueOptions(), options);
      !complaint.empty())
    return complaint;
  if (options.help)
    return "";
  if (options.linkPath.empty() == options.portPath.empty())
    return "give either --link PATH or --port DEVICE";
  return VirtualYardmark::Validate(options.device);
}

std::string UsageText() {
  return "Usage: yardmark-sim --link PATH [options]\n"
         "       yardmark-sim --port DEVICE [options]\n"
         "\n"
         "Plays a Yardmark KV7 handheld, its GPS chip and the chip's boot loader on a\n"
         "pseudo-terminal whose slave PATH points at (or on a real serial port, for a\n"
         "null-modem cable). The first line on standard output is the path the host opens.\n"
         "\n"
         "Options:\n"
         "  --link PATH              symbolic link to create, pointing at the slave\n"
         "  --port DEVICE            serve on this serial port instead of a pseudo-terminal\n"
         "  --battery TEXT           battery level, 3 characters (default 085)\n"
         "  --identity TEXT          device identity, 16 characters\n"
         "  --app-version TEXT       application version, 5 characters (default 1.234)\n"
         "  --gps-version TEXT       GPS version before the update, up to 21 characters\n"
         "  --new-gps-version TEXT   GPS version once the flash holds the firmware file\n"
         "  --firmware FILE          S-record file the flash must hold for the new version\n"
         "  --flash-dump FILE        write the flash as S3 records to FILE when stopping\n"
         "  --time-scale X           multiply every device delay by X (default 1)\n"
         "  --pace                   send and receive at the line rate (10 bits a byte)\n"
         "  --erase-pace MS          time to erase one flash sector (default 50)\n"
         "  --program-delay MS       time to program one record (default 0)\n"
         "  --prompt                 answer at once: no erase pace, no pause after a reset,\n"
         "                           answers back to back and longer ones in two writes\n"
         "  --fault NAME[=ARG]       play a fault; may be given more than once\n"
         "  --powered-off            start with the device switched off\n"
         "  --help                   show this text\n"
         "\n"
         "Faults:\n" +
         VirtualYardmark::FaultHelp() +
         "\n"
         "Standard input takes the lines: power off, power on, unplug, plug in, status, quit.\n"
         "The program ends at quit or at the end of standard input.\n";
}

} // namespace quillon::sim
