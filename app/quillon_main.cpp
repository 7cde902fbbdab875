// quillon: the GPS firmware update wizard for the Yardmark KV6 and KV7. The wizard takes no
// arguments: Orbfix.dat is read from the current directory, Orbfix.log is written beside the
// executable, and the device is looked for on the system's serial ports. The program only
// answers --help and --version; every argument is looked at before a display is, so a wrong
// one is said plainly, on a terminal without a window system too.
#include "app/quillon_app.h"
#include "base/clock.h"
#include "base/version.h"
#include "pages/wizard_outcome.h"

#include <QApplication>
#include <iostream>
#include <string_view>

namespace {

constexpr std::string_view kUsage =
    "Usage: quillon [--help | --version]\n"
    "\n"
    "Updates the firmware of the GPS receiver inside a Yardmark KV6 or KV7 handheld golf GPS\n"
    "over its serial cable. Started without arguments, a wizard leads you page by page: it\n"
    "finds the device on the computer's serial ports, checks its battery and versions, loads\n"
    "the new firmware, has you switch the device off and on, and verifies the new version.\n"
    "Orbfix.dat, read from the folder the wizard runs in, names the release's firmware.\n"
    "\n"
    "The log, Orbfix.log, lies beside the program and is appended to, run after run. By\n"
    "default it holds the errors of each run; F9 on the first page switches on Descriptive\n"
    "Logging, and from then on it holds every step with the module and line that wrote it.\n"
    "Started through the launcher (the quillon command of the package), an installed program\n"
    "runs from a copy in ~/.local/share/quillon, so the log is\n"
    "~/.local/share/quillon/Orbfix.log.\n"
    "\n"
    "While the firmware is written the computer is kept from sleeping and a shutdown is held\n"
    "back. When the program is stopped on step 6 or step 10 (Ctrl+C, a signal, the end of the\n"
    "session), the log gets an Error line that names the step and what a second run will do.\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this text and exit\n"
    "      --version  show the version and exit\n"
    "\n"
    "Exit status:\n"
    "  0  the new firmware was verified, or the Yardmark already had it\n"
    "  1  a notice ended the update; its number is in Orbfix.log\n"
    "  2  the command line made no sense\n"
    "  3  the update was cancelled on one of its pages (Cancel, NO or Escape)\n";

constexpr int kBadUsage = 2;
static_assert(kBadUsage != quillon::kExitFailed && kBadUsage != quillon::kExitCancelled);

} // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (argument == "--version") {
      std::cout << "quillon " QUILLON_VERSION "\n";
      return 0;
    }
  }
  // The wizard takes no arguments, and Qt's own (-platform and the like) are set through the
  // environment instead (QT_QPA_PLATFORM): anything given is refused before Qt opens a display.
  if (argc > 1) {
    std::cerr << "quillon: unknown argument " << argv[1] << "\nTry quillon --help\n";
    return kBadUsage;
  }
  QApplication application(argc, argv);
  quillon::SystemClock clock;
  quillon::QuillonApp app(clock);
  // The golfer reads the result on the pages; a script that started the wizard reads it here.
  return quillon::ExitStatusOf(app.run(quillon::WizardSettings{}));
}
