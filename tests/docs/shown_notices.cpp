#include "tests/docs/shown_notices.h"

#include "link/device_link.h"
#include "pages/update_failures.h"
#include "pages/verify_failures.h"
#include "pages/wizard_driver.h"
#include "tests/docs/current_directory.h"
#include "tests/pages/log_capture.h"
#include "tests/pages/recording_views.h"

#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <regex>
#include <sstream>
#include <vector>

namespace quillon::testing {
namespace {

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// The folder docs/notices.md shows in the notice about a log that cannot be written.
constexpr const char* kDocumentedFolder = "/home/golfer/.local/share/quillon";

enum class LogFolder { Writable, Unwritable };

// One run of the wizard on the Orbfix.dat content given (none: the file is missing), the user
// answering each page in turn. Returns the notices in the order shown, the scratch folder
// written as the documented one.
std::vector<ShownNotice> Walk(const std::optional<std::string>& orbfix,
                              std::vector<Answer> answers,
                              LogFolder logFolder = LogFolder::Writable) {
  LogCapture capture;
  if (orbfix)
    capture.writeFile("Orbfix.dat", *orbfix);
  if (logFolder == LogFolder::Unwritable)
    std::filesystem::create_directory(capture.directory() / "Orbfix.log");
  EventLog events;
  RecordingDialog dialog{events};
  ScriptedRunner runner{events};
  runner.answers.assign(answers.begin(), answers.end());
  VirtualClock time;
  PumpingClock clock{time};
  DeviceLink link{clock};
  {
    const CurrentDirectory inFolder(capture.directory());
    WizardDriver(dialog, runner, link, clock, {"Orbfix.dat", capture.directory().string()}).run();
  }
  EXPECT_TRUE(runner.answers.empty()) << "the wizard ended before the walk was done";
  static const std::regex kNoticeEvent("^(?:dialog )?notice (NOTICE[^|]*) \\| (.*)$");
  std::vector<ShownNotice> shown;
  for (const auto& event : events.events) {
    std::smatch match;
    if (std::regex_match(event, match, kNoticeEvent)) {
      std::string text = match[2];
      if (const auto at = text.find(capture.directory().string()); at != std::string::npos)
        text.replace(at, capture.directory().string().size(), kDocumentedFolder);
      shown.push_back({match[1], text});
    }
  }
  return shown;
}

Answer Next() { return press({PageInput::Forward}); }
Answer Cancel() { return press({PageInput::Cancel}); }
Answer ThreeNos() { return press({PageInput::Cancel, PageInput::Cancel, PageInput::Cancel}); }

} // namespace

std::set<ShownNotice> NoticesTheProgramShows(const std::filesystem::path& releaseOrbfix) {
  const std::string release = ReadWhole(releaseOrbfix);
  std::set<ShownNotice> all;
  const auto add = [&all](const std::vector<ShownNotice>& shown) {
    all.insert(shown.begin(), shown.end());
  };
  add(Walk(std::nullopt, {}));
  add(Walk("Release 3\r\n", {}));
  // The release's file without its last line; and no log can be written.
  add(Walk(release.substr(0, release.rfind('\n', release.size() - 2) + 1), {}));
  add(Walk(release, {Cancel()}, LogFolder::Unwritable));
  // Step 1 cannot be created once; F9; steps 2 to 4; three NOs on step 5.
  add(Walk(release, {result(-1), press({PageInput::Forward}, {kVirtualKeyF9}), Next(), Next(),
                     Next(), ThreeNos()}));
  // Step 6 runs without its firmware file beside Orbfix.dat.
  add(Walk(release, {Next(), Next(), Next(), Next(), Next(), runIt()}));
  // Step 6 passes as if the load had succeeded; three NOs on step 9.
  add(Walk(release, {Next(), Next(), Next(), Next(), Next(), result(1), Next(), Next(),
                     ThreeNos()}));

  for (const auto* failure :
       {&update::kNotFound, &update::kCommandModeNotSet, &update::kBatteryNotRead,
        &update::kBatteryLow, &update::kApplicationOutOfDate, &update::kApplicationNotAcquired,
        &update::kGpsVersionNotReceived, &update::kGpsNotReset, &update::kAlreadyUpToDate,
        &update::kGpsVersionInvalid, &update::kPassthroughNotStarted, &update::kBaud4800NotSet,
        &update::kGpsUpdateNotInitialised, &update::kBaud115200NotSet,
        &update::kPassthroughNotExited, &update::kUploadStalled})
    all.insert({std::string(failure->step.notice.caption),
                std::string(failure->step.notice.message)});
  for (const auto* failure : {&verify::kCommandModeNotSet, &verify::kResetFailed,
                              &verify::kVersionNotRead, &verify::kVersionIncorrect})
    all.insert({std::string(failure->notice.caption), std::string(failure->notice.message)});
  return all;
}

std::set<std::string> NoticeCaptionsInSources(const std::filesystem::path& sourceRoot) {
  static const std::regex kCaption("\"(NOTICE[^\"]*)\"");
  std::set<std::string> captions;
  for (const char* folder : {"pages", "app", "ui", "link", "gpsload", "log"}) {
    const auto directory = sourceRoot / folder;
    if (!std::filesystem::exists(directory))
      continue;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(directory)) {
      const auto extension = entry.path().extension();
      if (extension != ".cpp" && extension != ".h")
        continue;
      std::ifstream in(entry.path());
      for (std::string line; std::getline(in, line);) {
        if (const auto comment = line.find("//"); comment != std::string::npos)
          line.erase(comment);
        for (std::sregex_iterator match(line.begin(), line.end(), kCaption), end; match != end;
             ++match)
          captions.insert((*match)[1]);
      }
    }
  }
  return captions;
}

} // namespace quillon::testing
