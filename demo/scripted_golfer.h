#pragma once

#include "demo/answer_script.h"

class QMessageBox;

namespace quillon {
class PlainPageWindow;
}

namespace quillon::demo {

class DeviceProcess;
class RunPrinter;

// The golfer of a headless run: answers every page as the script says (forward unless told
// otherwise), presses OK on every notice, and does to the virtual Yardmark what the pages ask:
// switches it off before leaving step 7 and on before leaving step 8.
class ScriptedGolfer {
public:
  // `device` is null when there is no virtual Yardmark to switch (a real device on --port).
  ScriptedGolfer(AnswerScript script, DeviceProcess* device, RunPrinter& printer)
      : script_(std::move(script)), device_(device), printer_(printer) {}

  // Answers the page once; answers again, later, while the page stays up (a screen check's
  // reminder keeps it open).
  void answer(PlainPageWindow& window, int step);
  void dismiss(QMessageBox& box);

private:
  void doWhatThePageAsks(int step);

  AnswerScript script_;
  DeviceProcess* device_;
  RunPrinter& printer_;
};

} // namespace quillon::demo
