// The demo's own parts: the scripted golfer's answers, the command line, the names of the
// pictures and the view that prints and photographs a progress page, on the real page window.
#include <filesystem>
#include <sstream>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>

#include <gtest/gtest.h>

#include "demo/answer_script.h"
#include "demo/demo_options.h"
#include "demo/printing_progress_view.h"
#include "demo/run_printer.h"
#include "demo/screenshots.h"
#include "dialogs/progress_page_controls.h"
#include "pages/modal_result.h"
#include "testsupport/scratch_folder.h"
#include "ui/progress_page_window.h"

namespace quillon::demo {
namespace {

namespace fs = std::filesystem;

TEST(AnswerScript, AnswersComeOutPerStepInOrderAndThenTheGolferGoesForward) {
  auto script = AnswerScript::Parse("step5=no,no,yes;step1=no;step8=previous");
  ASSERT_TRUE(script.has_value());
  EXPECT_EQ(script->next(1), PageInput::Cancel);
  EXPECT_EQ(script->next(1), PageInput::Forward);
  EXPECT_EQ(script->next(5), PageInput::Cancel);
  EXPECT_EQ(script->next(5), PageInput::Cancel);
  EXPECT_EQ(script->next(5), PageInput::Forward);
  EXPECT_EQ(script->next(5), PageInput::Forward);
  EXPECT_EQ(script->next(8), PageInput::Previous);
  EXPECT_EQ(script->next(2), PageInput::Forward);
}

TEST(AnswerScript, EveryButtonWordIsKnownAndAnEmptyScriptGoesForward) {
  auto script = AnswerScript::Parse("step2=next,cancel,finish;step3=yes;");
  ASSERT_TRUE(script.has_value());
  EXPECT_EQ(script->next(2), PageInput::Forward);
  EXPECT_EQ(script->next(2), PageInput::Cancel);
  EXPECT_EQ(script->next(2), PageInput::Forward);
  auto empty = AnswerScript::Parse("");
  ASSERT_TRUE(empty.has_value());
  EXPECT_EQ(empty->next(9), PageInput::Forward);
}

TEST(AnswerScript, ScriptsThatNameNoRealStepOrButtonAreRefused) {
  for (const char* text : {"step0=no", "step12=yes", "step=no", "stepx=no", "step5", "step5=",
                           "step5=no,,yes", "step5=NO", "page5=no", "step5=maybe", "step 5=no"})
    EXPECT_FALSE(AnswerScript::Parse(text).has_value()) << text;
}

TEST(DemoOptions, ValuesAreTakenWithOrWithoutAnEqualsSign) {
  DemoOptions options;
  EXPECT_EQ(ParseDemoOptions({"--headless", "--time-scale", "0.25", "--screenshots=shots",
                              "--workdir", "work", "--answers=step1=no",
                              "--sim-option=--battery=010", "--sim-option", "--fault=fail=3"},
                             options),
            "");
  EXPECT_TRUE(options.headless);
  EXPECT_DOUBLE_EQ(options.timeScale, 0.25);
  EXPECT_EQ(options.screenshotDir, "shots");
  EXPECT_EQ(options.workDir, "work");
  EXPECT_EQ(options.answers, "step1=no");
  EXPECT_EQ(options.simOptions, (std::vector<std::string>{"--battery=010", "--fault=fail=3"}));
  EXPECT_FALSE(options.help);
}

TEST(DemoOptions, NonsenseIsNamedInTheComplaint) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{"--time-scale", "-1"}, "bad value for --time-scale: \"-1\""},
      {{"--time-scale=fast"}, "bad value for --time-scale: \"fast\""},
      {{"--workdir"}, "--workdir needs a value"},
      {{"--headless=yes"}, "--headless takes no value"},
      {{"--bogus"}, "unknown option --bogus"},
      {{"--answers=step13=no"}, "bad value for --answers: \"step13=no\""},
      {{"--port", "/dev/ttyUSB0", "--sim-option=--battery=010"},
       "--sim-option needs the virtual Yardmark, which --port replaces"},
  };
  for (const auto& [arguments, complaint] : cases) {
    DemoOptions options;
    EXPECT_EQ(ParseDemoOptions(arguments, options), complaint) << arguments.front();
  }
}

TEST(Screenshots, NoticesAreNamedAfterTheirNumber) {
  EXPECT_EQ(Screenshots::NoticeName("NOTICE E:13"), "notice-E13");
  EXPECT_EQ(Screenshots::NoticeName("NOTICE E-1"), "notice-E-1");
  EXPECT_EQ(Screenshots::NoticeName("NOTICE E:0"), "notice-E0");
  EXPECT_EQ(Screenshots::NoticeName("NOTICE"), "notice");
}

// The real window of the firmware-load page, offscreen.
class PrintingProgressViewTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "demo_parts_test";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
  }

  QString rowText(int row) const {
    const int id = kFirmwareLoadPageControls.rows[static_cast<std::size_t>(row - 1)].stateControl;
    return window.controlAs<QLabel>(id)->text();
  }

  test::ScratchFolder scratch;
  const fs::path shotDir = scratch.path();
  ProgressPageWindow window{*FindDialogTemplate(kFirmwareLoadPageControls.templateId),
                            kFirmwareLoadPageControls, nullptr};
  std::ostringstream out;
  RunPrinter printer{out};
};

TEST_F(PrintingProgressViewTest, TheWindowGetsEveryCallAndThePrintoutOnlyTheChanges) {
  Screenshots shots(shotDir.string());
  PrintingProgressView view(window, window, kFirmwareLoadPageControls.rows, printer, shots,
                            "step6");
  view.setRowText(2, "WORKING");
  view.setRowText(2, "WORKING");
  view.setStatusLine("...Searching for the Yardmark...");
  view.setStatusLine("...Searching for the Yardmark...");
  view.setProgress(7);
  view.setProgress(14);
  view.setProgress(19);
  view.setProgress(151); // shown as a full bar, printed as such
  view.setRowText(9, "DONE"); // no such row: neither shown nor printed
  EXPECT_EQ(rowText(2), QStringLiteral("WORKING"));
  EXPECT_EQ(window.controlAs<QProgressBar>(kFirmwareLoadPageControls.progressControl)->value(),
            100);
  EXPECT_EQ(out.str(), "  row 2. Locating the Yardmark: WORKING\n"
                       "  status: ...Searching for the Yardmark...\n"
                       "  progress: 10%\n"
                       "  progress: 100%\n");
}

TEST_F(PrintingProgressViewTest, ThePageIsPhotographedOnceWhenItAsksToEnd) {
  Screenshots shots(shotDir.string());
  PrintingProgressView view(window, window, kFirmwareLoadPageControls.rows, printer, shots,
                            "step6");
  view.setRowText(7, "DONE");
  view.endPage(modal::kOk);
  view.endPage(modal::kCancel);
  EXPECT_EQ(window.endResult(), modal::kOk);
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(shotDir))
    files.push_back(entry.path().filename().string());
  EXPECT_EQ(files, (std::vector<std::string>{"01-step6.png"}));
  EXPECT_GT(fs::file_size(shotDir / "01-step6.png"), 1000U);
}

TEST_F(PrintingProgressViewTest, WithoutAFolderNoPictureIsTakenAndNothingComplains) {
  Screenshots shots("");
  PrintingProgressView view(window, window, kFirmwareLoadPageControls.rows, printer, shots,
                            "step6");
  view.endPage(modal::kCancel);
  EXPECT_EQ(window.endResult(), modal::kCancel);
  EXPECT_EQ(out.str(), "");
  EXPECT_TRUE(fs::is_empty(shotDir));
}

} // namespace
} // namespace quillon::demo
