// quillon: the GPS firmware update wizard for the Yardmark KV6 and KV7. No options: Orbfix.dat
// is read from the current directory, Orbfix.log is written beside the executable, and the
// device is looked for on the system's serial ports.
#include <QApplication>

#include "app/quillon_app.h"
#include "base/clock.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  quillon::SystemClock clock;
  quillon::QuillonApp app(clock);
  app.run(quillon::WizardSettings{});
  // The wizard's result is shown on its pages and written to the log; the process itself
  // ends the same way in every path, as the main dialog always ends with Cancel.
  return 0;
}
