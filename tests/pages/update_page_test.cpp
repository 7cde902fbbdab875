#include "device_rig.h"
#include "pages/modal_result.h"
#include "pages/notice_texts.h"

#include <fstream>
#include <gtest/gtest.h>

namespace quillon::testing {
namespace {

using Events = std::vector<std::string>;

sim::YardmarkOptions withFaults(std::vector<std::string> faults) {
  sim::YardmarkOptions options;
  options.faults = std::move(faults);
  return options;
}

const std::string kM1 = std::string(kPrepareCommunicationNotice);
const std::string kM2 = std::string(kPrepareGpsNotice);

TEST(FirmwareLoad, ACompleteUpdateThenAVerification) {
  DeviceRig rig;
  ASSERT_EQ(rig.runUpdate(), modal::kOk) << ::testing::PrintToString(rig.events.events);
  EXPECT_EQ(rig.device->state(), sim::DeviceState::Done);
  for (int row = 1; row <= 7; ++row)
    EXPECT_EQ(rig.view.row(row), "DONE") << row;
  EXPECT_EQ(rig.view.statusLine(), "...GPS Passthrough Exited...");
  EXPECT_EQ(rig.view.progress(), 100);
  EXPECT_GT(rig.view.pumps(), 0);
  EXPECT_EQ(rig.link.mode(), ModeIdle);
  EXPECT_EQ(rig.link.baudRate(), 115200);
  EXPECT_EQ(rig.events.events.back(), "ok enabled");
  EXPECT_FALSE(rig.events.contains("cancel enabled"));

  rig.powerCycle();
  ASSERT_EQ(rig.runVerify(), modal::kOk) << ::testing::PrintToString(rig.events.events);
  EXPECT_EQ(rig.verifyView.statusLine(), "Firmware Update Successful!");
  EXPECT_EQ(rig.device->state(), sim::DeviceState::Off);

  EXPECT_EQ(rig.logOf("Step3Update.cpp"),
            (Events{"DevInfo:      Initializing dialog info",
                    "DevInfo:      Initializing state info",
                    "DevInfo:      Initializing state processing info",
                    "DevInfo:      Initializing communication info",
                    "DevInfo:      Initializing file info",
                    "DevInfo:      Initializing initial state to APPFINDKV7",
                    "Info:      Verifying Hex File",
                    "DevInfo:      ..Creating binFile",
                    "DevInfo:      ....Success",
                    "Info:      Valid Hex File",
                    "Info:      Starting Update",
                    "Info:      Finding the Yardmark...",
                    "Info:      KV7 Found",
                    "DevInfo:      Yardmark answered on " + rig.devicePort,
                    "Info:      Turning On Command Mode...",
                    "Info:      Command Mode Set",
                    "Info:      Checking the Battery Level...",
                    "Info:      Battery Level Read",
                    "Info:      Verifying Battery Level...",
                    "Info:      Battery Level acquired",
                    "Info:      Battery Level is ok",
                    "Info:      Verifying Application...",
                    "Info:      Application Acquired",
                    "Info:      Application Version is ok",
                    "Info:      Reading the GPS Version...",
                    "Info:      GPS Version Read",
                    "Info:      Verifying the GPS Version...",
                    "Info:      GPS Version Valid",
                    "Info:      GPS Needs Update: $PASHR,VER,GPS,1.0.00",
                    "Info:      Starting GPS Passthrough...",
                    "Info:     GPS Passthrough started",
                    "Info:      Setting Baud Rate to 4800...",
                    "Info:      Baud Rate set to 4800",
                    "Info:      Initializing GPS Update...",
                    "Info:      GPS Update Initialized",
                    "Info:      Change Baud Rate to 11500...",
                    "Info:      Baud Rate changed to 11500",
                    "Info:      Updating GPS Firwmare...",
                    "DevInfo:      ...Creating the Uploader",
                    "DevInfo:      ...Starting the Uploader Loop",
                    "DevInfo:      ...Stopping the Uploader Loop",
                    "Info:      GPS Firmware Update Complete",
                    "Info:      Exiting GPS Passthrough...",
                    "Info:      GPS Passthrough Exited"}));
}

TEST(FirmwareLoad, TheWindowShowsEveryStepInOrder) {
  DeviceRig rig;
  ASSERT_EQ(rig.runUpdate(), modal::kOk);
  Events shown;
  for (const auto& event : rig.pageEvents())
    if (event.starts_with("status ") || event.starts_with("row ") || event == "present")
      shown.push_back(event);
  EXPECT_EQ(shown, (Events{"present",
                           "row 1 -",
                           "row 2 -",
                           "row 3 -",
                           "row 4 -",
                           "row 5 -",
                           "row 6 -",
                           "row 7 -",
                           "status ",
                           "row 1 WORKING",
                           "status ...Searching for the Firmware File...",
                           "row 1 DONE",
                           "status ..Firmware file found...",
                           "row 2 WORKING",
                           "status ...Searching for the Yardmark...",
                           "row 2 DONE",
                           "status ...Yardmark Found...",
                           "row 3 WORKING",
                           "status ...Turning On Command Mode...",
                           "status ...Command Mode Set...",
                           "status ...Checking the Battery Level...",
                           "status ...Battery Level Read...",
                           "status ...Verifying Battery Level...",
                           "row 3 DONE",
                           "status ...Battery Verified...",
                           "status ...Verifying Application...",
                           "row 4 DONE",
                           "status ...Application Verified...",
                           "row 5 WORKING",
                           "status ...Reading the GPS Version...",
                           "status ...GPS Version Received...",
                           "status ...Verifying the GPS Version...",
                           "row 5 DONE",
                           "status ...Starting GPS Passthrough...",
                           "row 6 WORKING",
                           "status ...GPS Passthrough Init...",
                           "status ...Changing Baud Rate...",
                           "status ...Baud Rate Changed...",
                           "status ...Initializing GPS Update...",
                           "status ...GPS Update Initialized...",
                           "status ...Changing Baud Rate...",
                           "row 6 DONE",
                           "status ...Baud Rate Changed...",
                           "row 7 WORKING",
                           "status ..Updating Firmware..",
                           "row 7 DONE",
                           "status Firmware Update Complete!",
                           "status ...Exiting GPS Passthrough...",
                           "status ...GPS Passthrough Exited..."}))
      << "row 4 WORKING is set after its status and never seen; the upload loop transfers "
         "nothing new";
}

TEST(FirmwareLoad, TheBarFollowsTheBytesAndEndsFull) {
  DeviceRig rig;
  ASSERT_EQ(rig.runUpdate(), modal::kOk);
  std::vector<int> positions;
  for (const auto& event : rig.events.events)
    if (event.starts_with("progress "))
      positions.push_back(std::stoi(event.substr(9)));
  ASSERT_GE(positions.size(), 3U);
  EXPECT_EQ(positions.front(), 0);
  EXPECT_EQ(positions.back(), 100);
  for (std::size_t i = 1; i < positions.size(); ++i) {
    EXPECT_GE(positions[i], positions[i - 1]) << "no restart, so the bar never goes back";
    EXPECT_LE(positions[i], 100);
  }
  // Every bar update in the loop is followed by a repaint.
  const Events& events = rig.events.events;
  for (std::size_t i = 0; i + 1 < events.size(); ++i)
    if (events[i].starts_with("progress ") && events[i] != "progress 0" &&
        events[i] != "progress 100") {
      EXPECT_EQ(events[i + 1], "repaint");
    }
}

TEST(FirmwareLoad, AFailInTheMiddleOfTheUploadStillEndsVerified) {
  DeviceRig rig(withFaults({"fail=3"}));
  ASSERT_EQ(rig.runUpdate(), modal::kOk) << ::testing::PrintToString(rig.events.events);
  bool wentBack = false;
  int last = 0;
  for (const auto& event : rig.events.events) {
    if (!event.starts_with("progress "))
      continue;
    const int position = std::stoi(event.substr(9));
    wentBack = wentBack || position < last;
    last = position;
  }
  EXPECT_TRUE(wentBack) << "the restart sends the bar back";
  rig.powerCycle();
  EXPECT_EQ(rig.runVerify(), modal::kOk) << ::testing::PrintToString(rig.events.events);
}

TEST(FirmwareLoad, AnUpToDateDeviceIsLeftAloneWithE13) {
  sim::YardmarkOptions options;
  options.gpsVersion = kNewGps;
  DeviceRig rig(options);
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  EXPECT_EQ(rig.update.cancelOutcome(), WizardOutcome::Verified) << "nothing to update";
  EXPECT_EQ(rig.device->framesReceived(), 0);
  EXPECT_EQ(rig.fromNotice(),
            (Events{"notice NOTICE E:13 | The latest firmware is already installed on your "
                    "Yardmark.  The program will now exit.",
                    "row 5 FAIL", "status ...Latest GPS is Already Loaded...", "repaint",
                    "wait 2000", "device", "end 2"}));
  EXPECT_EQ(rig.device->state(), sim::DeviceState::Off);
  const Events log = rig.logOf("Step3Update.cpp");
  EXPECT_EQ(log.back(), "Info:     GPS Does NOT Need Update: $PASHR,VER,GPS,2.0.00  (E:13)");
}

TEST(FirmwareLoad, ANewerVersionIsStillReplaced) {
  DeviceRig rig;
  rig.handInputs(30, "1.2", "$PASHR,VER,GPS,0.9.00");
  EXPECT_EQ(rig.runUpdate(), modal::kOk);
  EXPECT_GT(rig.device->framesReceived(), 0);
}

TEST(FirmwareLoad, ALowBatteryEndsWithE7WhateverTheThreshold) {
  sim::YardmarkOptions options;
  options.battery = "045";
  DeviceRig rig(options);
  rig.handInputs(46);
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  EXPECT_EQ(rig.update.cancelOutcome(), WizardOutcome::Failed);
  EXPECT_EQ(
      rig.fromNotice(),
      (Events{"notice NOTICE E:7 | The Yardmark's battery has been determined too low to "
              "continue. Please recharge or plug in your Yardmark and run this program "
              "again.",
              "status ...The Battery is too low...", "repaint", "device", "wait 2000", "end 2"}));
  EXPECT_EQ(rig.view.row(3), "DONE");
  EXPECT_EQ(rig.device->state(), sim::DeviceState::Off);
  EXPECT_EQ(rig.logOf("Step3Update.cpp").back(), "Info:      Battery Level is below 30  (E:7)");
}

TEST(FirmwareLoad, ABatteryAtTheThresholdPasses) {
  sim::YardmarkOptions options;
  options.battery = "045";
  options.gpsVersion = kNewGps; // stop at the version check
  DeviceRig rig(options);
  rig.handInputs(45);
  rig.runUpdate();
  EXPECT_TRUE(rig.events.contains("notice NOTICE E:13 | The latest firmware is already "
                                  "installed on your Yardmark.  The program will now exit."));
}

TEST(FirmwareLoad, AnOldApplicationEndsWithE9) {
  sim::YardmarkOptions options;
  options.appVersion = "1.100";
  DeviceRig rig(options);
  rig.handInputs(30, "1.9");
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  const Events tail = rig.fromNotice();
  ASSERT_FALSE(tail.empty());
  EXPECT_TRUE(tail[0].starts_with("notice NOTICE E:9 | The Yardmark's Application Version"));
  EXPECT_EQ(Events(tail.begin() + 1, tail.end()),
            (Events{"status ...Application Version is out of date...", "repaint", "device",
                    "wait 2000", "end 2"}));
  EXPECT_EQ(rig.logOf("Step3Update.cpp").back(),
            "Info:      Application Version is out of date  (E:9)");
}

TEST(FirmwareLoad, NoDeviceAtAllEndsWithE4AndSendsNothingMore) {
  DeviceRig rig;
  rig.link.setCandidatePorts({(rig.capture.directory() / "no-such-port").string()});
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(),
            (Events{"notice NOTICE E:4 | The program could not find your Yardmark.  Please "
                    "check your connections and run this program again",
                    "row 2 FAIL", "status ...Yardmark NOT Found...", "repaint", "wait 2000",
                    "cancel enabled", "end 2"}));
  const Events log = rig.logOf("Step3Update.cpp");
  ASSERT_GE(log.size(), 2U);
  EXPECT_TRUE(log[log.size() - 2].starts_with("Error:      KV7 Not Found : KV7"));
  EXPECT_TRUE(log[log.size() - 2].ends_with("  (E:4)"));
  EXPECT_EQ(log.back(), "DevInfo:      Closing window");
}

TEST(FirmwareLoad, AnE4LogNamesEachPortTriedAndWhyItWasPassedOver) {
  DeviceRig rig;
  const std::string missing = (rig.capture.directory() / "no-such-port").string();
  const std::string denied = (rig.capture.directory() / "not-yours").string();
  rig.portFaults.deniedPath = denied;
  const auto otherProgram = MakePlatformSerialPort();
  ASSERT_EQ(otherProgram->open(rig.devicePort), std::nullopt);
  rig.link.setCandidatePorts({missing, denied, rig.devicePort});
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  const Events log = rig.logOf("Step3Update.cpp");
  ASSERT_GE(log.size(), 5U);
  EXPECT_EQ(Events(log.end() - 5, log.end() - 2),
            (Events{"Error:      Not present: " + missing,
                    "Error:      " + denied +
                        " passed over: permission denied (system error 13): add yourself to the "
                        "dialout group (sudo usermod -aG dialout \"$USER\"), then log out and in "
                        "again",
                    "Error:      " + rig.devicePort +
                        " passed over: busy, another program holds it (system error 11)"}));
  EXPECT_TRUE(log[log.size() - 2].starts_with("Error:      KV7 Not Found : KV7"));
}

TEST(FirmwareLoad, AnUnreadableRecordEndsWithE6AndASwitchOff) {
  DeviceRig rig(withFaults({"short-record"}));
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(), (Events{"notice NOTICE E:6 | " + kM1, "wait 2000", "device",
                                      "cancel enabled", "end 2"}));
  EXPECT_EQ(rig.view.row(3), "FAIL") << "shown before the notice";
  EXPECT_EQ(rig.view.statusLine(), "...Battery Level NOT Read...");
  const Events log = rig.logOf("Step3Update.cpp");
  EXPECT_TRUE(log[log.size() - 2].starts_with("Error:      Battery Level NOT Read : KV7"));
}

TEST(FirmwareLoad, ADeviceSwitchedOffBeforeCommandModeEndsWithE5) {
  DeviceRig rig;
  rig.view.onPump = [&rig] {
    if (rig.view.statusLine() == "...Turning On Command Mode...")
      rig.device->powerOff();
  };
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(), (Events{"notice NOTICE E:5 | " + kM1, "wait 2000", "device",
                                      "cancel enabled", "end 2"}));
  EXPECT_EQ(rig.view.row(3), "FAIL");
  EXPECT_EQ(rig.view.statusLine(), "...Command Mode NOT Set...");
}

TEST(FirmwareLoad, AGpsChipThatAnswersOnlyAfterAResetIsUpdated) {
  DeviceRig rig(withFaults({"gps-unreadable-until-reset"}));
  EXPECT_EQ(rig.runUpdate(), modal::kOk);
  const Events log = rig.logOf("Step3Update.cpp");
  const auto retry = std::find(log.begin(), log.end(), "Info:      Resetting GPS and Retrying...");
  ASSERT_NE(retry, log.end());
  EXPECT_TRUE((retry - 1)->starts_with("Error:      GPS Version NOT Read on first try : KV7"));
  EXPECT_EQ(*(retry + 1), "Info:      GPS Reset");
  EXPECT_EQ(*(retry + 2), "Info:     GPS Version Read");
  for (const auto& event : rig.events.events)
    EXPECT_FALSE(event.starts_with("notice ")) << "a first failed read is not the user's concern";
}

TEST(FirmwareLoad, AResetThatIsRefusedEndsWithE12) {
  DeviceRig rig(withFaults({"gps-unreadable-until-reset", "reset-refused"}));
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(),
            (Events{"notice NOTICE E:12 | " + kM1, "row 5 FAIL", "status ...GPS NOT Reset...",
                    "repaint", "wait 2000", "device", "cancel enabled", "end 2"}));
  const Events log = rig.logOf("Step3Update.cpp");
  EXPECT_TRUE(log[log.size() - 2].starts_with(
      "Error:      GPS Version NOT Reset on second try to recieve GPS Version : KV7"));
}

TEST(FirmwareLoad, AVersionThatNeverComesEndsWithE11) {
  DeviceRig rig(withFaults({"no-echo=KV7-G"}));
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(), (Events{"notice NOTICE E:11 | " + kM1, "row 5 FAIL",
                                      "status ...GPS Version NOT Received...", "repaint",
                                      "wait 2000", "device", "cancel enabled", "end 2"}));
  const Events log = rig.logOf("Step3Update.cpp");
  EXPECT_TRUE(
      log[log.size() - 2].starts_with("Error:     GPS Version NOT received on second try: KV7"));
}

TEST(FirmwareLoad, RefusedPassthroughEndsWithE15) {
  DeviceRig rig(withFaults({"passthrough-refused"}));
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(), (Events{"notice NOTICE E:15 | " + kM2, "row 6 FAIL",
                                      "status ...GPS Passthrough NOT Init...", "repaint",
                                      "wait 2000", "device", "cancel enabled", "end 2"}));
}

TEST(FirmwareLoad, ACablePulledAtTheBootLoaderCommandEndsWithE18InPassthrough) {
  // The command goes out; raising the line on a port that has gone fails.
  DeviceRig rig(withFaults({"unplug=update"}));
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(), (Events{"notice NOTICE E:18 | " + kM2, "row 6 FAIL",
                                      "status ...Baud Rate NOT Changed...", "repaint", "wait 2000",
                                      "cancel enabled", "end 2"}))
      << "no switch-off: the device is in passthrough";
  EXPECT_EQ(rig.link.mode(), ModePassthrough);
}

std::string e3Notice(const std::string& path) {
  return "notice NOTICE E:3 | The firmware file could not be found.  Please make sure you have "
         "\"" +
         path + "\" in the same location as this program and try again";
}

TEST(FirmwareLoad, AMissingFirmwareFileEndsWithE3BeforeTheDeviceIsTouched) {
  DeviceRig rig;
  const std::string missing = (rig.capture.directory() / "missing.mot").string();
  rig.inputs.firmwarePath = missing;
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  EXPECT_EQ(rig.events.from("status ...Invalid Hex File..."),
            (Events{"status ...Invalid Hex File...", "repaint", "row 1 FAIL",
                    "status ..Firmware file NOT found...", "repaint", e3Notice(missing),
                    "wait 2000", "end 2"}));
  EXPECT_FALSE(rig.link.IsPortFound());
  EXPECT_EQ(rig.device->state(), sim::DeviceState::Ready);
  const Events log = rig.logOf("Step3Update.cpp");
  EXPECT_EQ(
      Events(log.end() - 2, log.end()),
      (Events{"DevInfo:      ....Failed", "Error:      Invalid Hex File: Not bin_file_ok (E:3)"}));
}

TEST(FirmwareLoad, AFileThatIsNotSRecordsGetsTheSameNotice) {
  DeviceRig rig;
  rig.capture.writeFile("notes.txt", "these are not S-records\n");
  const std::string path = (rig.capture.directory() / "notes.txt").string();
  rig.inputs.firmwarePath = path;
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(), (Events{e3Notice(path), "wait 2000", "end 2"}));
  EXPECT_EQ(rig.logOf("Step3Update.cpp").back(),
            "Error:      Invalid Hex File: Not S_Records (E:3)");
  EXPECT_FALSE(rig.link.IsPortFound());
}

TEST(FirmwareLoad, ADamagedRecordIsNamedInTheLog) {
  DeviceRig rig;
  std::ifstream in(rig.firmware);
  std::string content;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    if (++number == 40)
      line.back() = line.back() == '0' ? '1' : '0'; // the checksum no longer fits
    content += line + "\n";
  }
  rig.capture.writeFile("damaged.mot", content);
  const std::string path = (rig.capture.directory() / "damaged.mot").string();
  rig.inputs.firmwarePath = path;
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(), (Events{e3Notice(path), "wait 2000", "end 2"}));
  EXPECT_EQ(rig.logOf("Step3Update.cpp").back(),
            "Error:      Invalid Hex File: line 40: checksum (E:3)");
}

const std::string kE25 =
    "notice NOTICE E:25 | The GPS firmware could not be loaded.  Please check your connections, "
    "switch your Yardmark off and on again, and run this program again.";
const Events kE25Ending{kE25,      "row 7 FAIL", "status ...Firmware NOT Loaded...",
                        "repaint", "wait 2000",  "cancel enabled",
                        "end 2"};

TEST(FirmwareLoad, ABootLoaderThatRefusesTheTypeEndsWithE25) {
  DeviceRig rig(withFaults({"bad-type"}));
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(), kE25Ending);
  EXPECT_EQ(rig.logOf("Step3Update.cpp")[rig.logOf("Step3Update.cpp").size() - 2],
            "Error:      GPS Firmware NOT loaded : the GPS boot loader refused the firmware "
            "type  (E:25)");
  EXPECT_EQ(rig.link.mode(), ModePassthrough);
}

TEST(FirmwareLoad, ACablePulledDuringTheUploadEndsWithE25) {
  DeviceRig rig(withFaults({"unplug=erase"}));
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(), kE25Ending);
  const Events log = rig.logOf("Step3Update.cpp");
  EXPECT_EQ(log[log.size() - 2],
            "Error:      GPS Firmware NOT loaded : the Yardmark was disconnected  (E:25)");
}

TEST(FirmwareLoad, ABootLoaderSilentForAMinuteEndsWithE25) {
  DeviceRig rig(withFaults({"silent-at=record:1000"}));
  // Let a second of virtual time pass with every loader step once the upload runs.
  rig.view.onPump = [&rig] {
    if (rig.view.statusLine() == "..Updating Firmware..")
      rig.time.advanceMs(1000);
  };
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(), kE25Ending);
  const Events log = rig.logOf("Step3Update.cpp");
  EXPECT_EQ(log[log.size() - 2],
            "Error:      GPS Firmware NOT loaded : the GPS boot loader stopped answering  (E:25)");
}

TEST(FirmwareLoad, ALineThatDiesAtTheEndFrameEndsWithE25) {
  // The load is not complete until the boot loader has taken the end frame.
  DeviceRig rig(withFaults({"unplug=end"}));
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(), kE25Ending);
  EXPECT_EQ(rig.view.row(7), "FAIL");
}

TEST(FirmwareLoad, ADriverThatRefuses4800BaudEndsWithE16InPassthrough) {
  DeviceRig rig;
  rig.portFaults.refuseLaterLineSettings = true;
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(), (Events{"notice NOTICE E:16 | " + kM2, "row 6 FAIL",
                                      "status ...Baud Rate NOT Changed...", "repaint", "wait 2000",
                                      "cancel enabled", "end 2"}));
  EXPECT_EQ(rig.link.mode(), ModePassthrough);
  const Events log = rig.logOf("Step3Update.cpp");
  EXPECT_EQ(log[log.size() - 2], "Error:      Baud Rate NOT set to 4800 : KV7SETCOMSTATEERROR: "
                                 "Set Com State error (com function)  (E:16)");
}

TEST(FirmwareLoad, WritesThatFailAtTheGpsCommandsEndWithE17) {
  DeviceRig rig;
  rig.view.onPump = [&rig] {
    if (rig.view.statusLine() == "...Baud Rate Changed..." && rig.portFaults.failWriteNumber == 0)
      rig.portFaults.failWriteNumber = rig.portFaults.writes + 1;
  };
  EXPECT_EQ(rig.runUpdate(), modal::kCancel);
  EXPECT_EQ(rig.fromNotice(), (Events{"notice NOTICE E:17 | " + kM2, "row 6 FAIL",
                                      "status ...Firmware Update NOT Init...", "repaint",
                                      "wait 2000", "cancel enabled", "end 2"}));
  const Events log = rig.logOf("Step3Update.cpp");
  EXPECT_TRUE(log[log.size() - 2].starts_with("Error:      GPS Update NOT Initialized : KV7"));
}

} // namespace
} // namespace quillon::testing
