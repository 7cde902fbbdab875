#pragma once

#include <QObject>

namespace quillon::demo {

class RunPrinter;
class Screenshots;
class ScriptedGolfer;

// Watches the windows the wizard opens: prints every notice as it appears, photographs every
// instruction page and every notice once they are up, and hands them to the scripted golfer
// when there is one. The progress pages are watched by their PrintingProgressView instead.
class WindowWatcher final : public QObject {
  Q_OBJECT

public:
  WindowWatcher(RunPrinter& printer, Screenshots& shots, ScriptedGolfer* golfer)
      : printer_(printer), shots_(shots), golfer_(golfer) {}

  // The step of the page about to be shown, for the pictures' names and the golfer.
  void pageStarting(int step) { step_ = step; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void photograph(QWidget& window, const std::string& name);

  RunPrinter& printer_;
  Screenshots& shots_;
  ScriptedGolfer* golfer_;
  int step_ = 0;
};

} // namespace quillon::demo
