// quillon: the GPS firmware update wizard for the Yardmark KV6 and KV7. The wizard takes no
// arguments: Orbfix.dat is read from the current directory, Orbfix.log is written beside the
// executable, and the device is looked for on the system's serial ports. The program only
// answers --help and --version, before it needs a display.
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
    "Orbfix.dat, read from the folder the wizard runs in, names the release's firmware; every\n"
    "step is written to Orbfix.log beside the program.\n"
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
  QApplication application(argc, argv);
  // Qt has taken its own options (-platform and the like); anything left is not the wizard's.
  if (const QStringList rest = QCoreApplication::arguments().mid(1); !rest.isEmpty()) {
    std::cerr << "quillon: unknown argument " << rest.front().toStdString()
              << "\nTry quillon --help\n";
    return kBadUsage;
  }
  quillon::SystemClock clock;
  quillon::QuillonApp app(clock);
  // The golfer reads the result on the pages; a script that started the wizard reads it here.
  return quillon::ExitStatusOf(app.run(quillon::WizardSettings{}));
}
