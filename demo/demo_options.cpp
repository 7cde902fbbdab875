#include "demo/demo_options.h"

#include "demo/answer_script.h"
#include "sim/command_line.h"

#include <charconv>
#include <functional>
#include <map>

namespace quillon::demo {
namespace {

using Setter = std::function<bool(DemoOptions&, const std::string&)>;

bool ParseScale(const std::string& text, double& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && value > 0.0;
}

const std::map<std::string, Setter>& ValueOptions() {
  static const std::map<std::string, Setter> options = {
      {"--time-scale",
       [](DemoOptions& o, const std::string& v) { return ParseScale(v, o.timeScale); }},
      {"--screenshots",
       [](DemoOptions& o, const std::string& v) { o.screenshotDir = v; return !v.empty(); }},
      {"--workdir", [](DemoOptions& o, const std::string& v) { o.workDir = v; return !v.empty(); }},
      {"--port", [](DemoOptions& o, const std::string& v) { o.portPath = v; return !v.empty(); }},
      {"--answers",
       [](DemoOptions& o, const std::string& v) {
         o.answers = v;
         return AnswerScript::Parse(v).has_value();
       }},
      {"--sim-option",
       [](DemoOptions& o, const std::string& v) {
         o.simOptions.push_back(v);
         return !v.empty();
       }},
  };
  return options;
}

const std::map<std::string, std::function<void(DemoOptions&)>>& Flags() {
  static const std::map<std::string, std::function<void(DemoOptions&)>> flags = {
      {"--help", [](DemoOptions& o) { o.help = true; }},
      {"-h", [](DemoOptions& o) { o.help = true; }},
      {"--version", [](DemoOptions& o) { o.version = true; }},
      {"--headless", [](DemoOptions& o) { o.headless = true; }},
  };
  return flags;
}

} // namespace

std::string ParseDemoOptions(const std::vector<std::string>& arguments, DemoOptions& options) {
  if (std::string complaint = sim::ReadCommandLine(arguments, Flags(), ValueOptions(), options);
      !complaint.empty())
    return complaint;
  if (!options.portPath.empty() && !options.simOptions.empty())
    return "--sim-option needs the virtual Yardmark, which --port replaces";
  return "";
}

std::string DemoUsage() {
  return "Usage: quillon-demo [options]\n"
         "\n"
         "Runs the Quillon firmware update wizard against the virtual Yardmark: a working folder\n"
         "with Orbfix.dat and the sample GPS firmware, the virtual device on a pseudo-terminal,\n"
         "and the wizard's pages. With a display the pages and a window of the virtual Yardmark\n"
         "open and you are the golfer (switch the device off at step 7 and on at step 8 with its\n"
         "power key). Without one, or with --headless, a scripted golfer answers every page and\n"
         "the run is printed.\n"
         "\n"
         "Options:\n"
         "  --headless             no windows on screen; a scripted golfer answers the pages\n"
         "  --time-scale F         multiply every wait of the wizard and the device by F, the\n"
         "                         wait for a silent device's answer too (default 1; 0.1 runs\n"
         "                         ten times as fast; no wait for an answer below 30 ms)\n"
         "  --screenshots DIR      write a PNG of every page and every notice into DIR\n"
         "  --workdir DIR          use DIR's Orbfix.dat and firmware when present, else write\n"
         "                         them there; Orbfix.log and the flash dump stay there\n"
         "  --port PATH            no virtual Yardmark: talk to the device on PATH\n"
         "  --answers LIST         the scripted golfer's answers, per step, in order, e.g.\n"
         "                         \"step5=no,no,yes;step1=no\" (yes, no, next, cancel,\n"
         "                         previous, finish); every other answer is the forward one\n"
         "  --sim-option OPT       pass OPT to the virtual Yardmark (repeatable), e.g.\n"
         "                         --sim-option=--battery=010 --sim-option=--fault=fail=3\n"
         "  -h, --help             show this text and exit\n"
         "  --version              show the version and exit\n"
         "\n"
         "Exit status:\n"
         "  0  step 10 verified the new GPS version\n"
         "  1  the wizard ended without verifying it (a notice, a cancel, another version)\n"
         "  2  the command line made no sense\n"
         "  3  the working folder or the virtual Yardmark could not be set up\n";
}

} // namespace quillon::demo
