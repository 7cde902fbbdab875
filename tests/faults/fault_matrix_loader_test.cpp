// The fault matrix, second half: every fault of the GPS chip's boot loader, from its hello to
// the end frame. Most of them the loader must ride out, ending in a verified update; the rest
// must end with notice E:25 (or E:19) instead of a frozen bar.
#include "tests/faults/matrix_row.h"
#include "tests/image/image_test_support.h"

#include <gtest/gtest.h>

namespace quillon::testing {
namespace {

using sim::DeviceState;

// What the log says when the GPS chip gave no version and its firmware is loaded again.
constexpr const char* kLoadedAgain = "its firmware is loaded again";

class LoaderFaultMatrix : public ::testing::TestWithParam<MatrixRow> {};

TEST_P(LoaderFaultMatrix, EndsVerifiedOrWithE25) {
  RunMatrixRow(GetParam());
}

MatrixRow ridesOut(std::string name, std::string fault) {
  MatrixRow row;
  row.name = std::move(name);
  row.faults = {std::move(fault)};
  row.deviceAfter = DeviceState::Off;
  return row;
}

MatrixRow givesUp(std::string name, std::string fault, std::string reason, DeviceState after,
                  std::string notice = "NOTICE E:25") {
  MatrixRow row;
  row.name = std::move(name);
  row.faults = {std::move(fault)};
  row.notice = std::move(notice);
  row.logKind = "Error";
  row.logText = std::move(reason);
  row.deviceAfter = after;
  // The device is left in passthrough: nothing more may be sent to it.
  row.linkAfter = ModePassthrough;
  return row;
}

const std::vector<MatrixRow> kHandshakeRows = {
    ridesOut("LateLoaderHello", "silent-at=hello:5"),
    givesUp("LoaderNeverSaysHello", "silent-at=hello:1000",
            "GPS Firmware NOT loaded : the GPS boot loader stopped answering  (E:25)",
            DeviceState::BootLoader),
    givesUp("BadType", "bad-type",
            "GPS Firmware NOT loaded : the GPS boot loader refused the firmware type  (E:25)",
            DeviceState::BootLoader),
    ridesOut("HandshakeStall", "silent-at=hand:5"),
    ridesOut("EraseRefusedOnce", "bad-cmd"),
    ridesOut("CorruptEraseFrame", "corrupt=1"),
    ridesOut("StallBeforeErase", "silent-at=erase:5"),
    ridesOut("StallWhileErasing", "silent-at=erasing:5"),
    ridesOut("EraseFrameLostToARestart", "restart=1"),
    givesUp("EraseAlwaysRefused", "refuse-erase",
            "GPS Firmware NOT loaded : the GPS boot loader answered but took no firmware for a "
            "minute  (E:25)",
            DeviceState::BootLoader),
    givesUp("UnplugAtErase", "unplug=erase",
            "GPS Firmware NOT loaded : the Yardmark was disconnected  (E:25)",
            DeviceState::Unplugged),
};

const std::vector<MatrixRow> kRecordRows = {
    ridesOut("ResendRequested", "resend=3"),
    ridesOut("ProgrammingFails", "fail=3"),
    ridesOut("LoaderResets", "reset=3"),
    ridesOut("OneDebugWord", "debug1=3"),
    ridesOut("TwoDebugWords", "debug2=3"),
    ridesOut("CorruptRecordFrame", "corrupt=3"),
    ridesOut("StallAwaitingRecord", "silent-at=record:5"),
    ridesOut("StallWhileProgramming", "silent-at=prog:5"),
    givesUp("LoaderSilentForGood", "silent-at=record:1000",
            "GPS Firmware NOT loaded : the GPS boot loader stopped answering  (E:25)",
            DeviceState::Flashing),
    ridesOut("LoaderRestartsMidUpload", "restart=4"),
    givesUp("UnplugMidUpload", "unplug=record:3",
            "GPS Firmware NOT loaded : the Yardmark was disconnected  (E:25)",
            DeviceState::Unplugged),
};

// The Yardmark and the wizard both get a firmware file of `records` between the header and an
// end record; the update must end verified.
MatrixRow verifiedWith(std::string name, std::string records,
                       std::vector<std::string> faults = {}) {
  MatrixRow row;
  row.name = std::move(name);
  row.faults = faults;
  row.deviceAfter = DeviceState::Off;
  row.arrange = [records = std::move(records), faults](WizardRig& w) {
    const std::string file = "firmware-under-test.mot";
    w.rig.capture.writeFile(file, test::kHeaderLine + records + test::kEndLine);
    w.rig.firmware = w.rig.capture.directory() / file;
    sim::YardmarkOptions options;
    options.faults = faults;
    options.firmwarePath = w.rig.firmware.string();
    w.replaceDevice(options);
    w.writeOrbfix("Release 4", w.rig.firmware.string());
  };
  return row;
}

// The row's fault, over and over: on the sample's last frame, for fifteen passes of its five
// frames, more than the wizard's limit of ten passes allows.
MatrixRow keepsFaulting(MatrixRow row) {
  row.faults = std::vector<std::string>(15, row.faults.front());
  return row;
}

constexpr std::uint32_t kFlash = 0x2D000000;

// Records out of address order; in the second file the lowest is of odd length.
std::string shuffled(int lowestLength) {
  return test::contiguousS3(kFlash + 0x40, 1, 16, 0x40) +
         test::contiguousS3(kFlash, 1, lowestLength) +
         test::contiguousS3(kFlash + 0x60, 1, 16, 0x60);
}

const std::vector<MatrixRow> kImageRows = {
    verifiedWith("RecordsOutOfOrderThenAFail", shuffled(16), {"fail=2"}),
    verifiedWith("RecordsOutOfOrderOneOdd", shuffled(15)),
    verifiedWith("TopOfMemoryFirst",
                 test::contiguousS3(0xFFFFFFE0, 1, 32) + test::contiguousS3(kFlash, 70, 32)),
    verifiedWith("OddLengthImage",
                 test::contiguousS3(kFlash, 3, 32) + test::contiguousS3(kFlash + 96, 1, 7, 96)),
    keepsFaulting(givesUp("LoaderKeepsFailing", "fail=5",
                          "GPS Firmware NOT loaded : the firmware was sent again and again "
                          "without the upload finishing  (E:25)",
                          DeviceState::Flashing)),
};

// A load stopped part-way leaves a GPS chip that runs no application and gives no version.
// The golfer's next run, on the Yardmark as the first run left it, must finish the load.
MatrixRow finishedNextRun(MatrixRow first, std::function<void(WizardRig&)> golfer) {
  first.beforeRunningAgain = std::move(golfer);
  first.againLogText = kLoadedAgain;
  return first;
}

void switchOffAndOn(WizardRig& w) {
  w.rig.powerCycle();
}

void plugInSwitchOffAndOn(WizardRig& w) {
  w.plugBackIn();
  w.rig.powerCycle();
}

const std::vector<MatrixRow> kEndRows = {
    // The end frame goes out once and is not waited for: a boot loader deaf to it never makes
    // the flash whole, so the check on step 10 cannot read a version, and the next run loads
    // the firmware again.
    finishedNextRun(
        [] {
          MatrixRow row = ridesOut("EndFrameUnansweredThenFinished", "silent-at=end:5");
          row.notice = "NOTICE E:23";
          row.logKind = "Error";
          row.logText = "GPS Version NOT Read";
          row.deviceAfter.reset();
          return row;
        }(),
        switchOffAndOn),
    givesUp("UnplugAtEndFrame", "unplug=end",
            "GPS Passthrough NOT exited : ", DeviceState::Unplugged, "NOTICE E:19"),
};

// The firmware of these rows goes in five record frames.
const std::vector<MatrixRow> kRecoveryRows = {
    finishedNextRun(givesUp("SilentAfterEraseThenFinished", "silent-at=record:1000",
                            "the GPS boot loader stopped answering  (E:25)", DeviceState::Flashing),
                    switchOffAndOn),
    finishedNextRun(givesUp("UnpluggedMidUploadThenFinished", "unplug=record:2",
                            "the Yardmark was disconnected  (E:25)", DeviceState::Unplugged),
                    plugInSwitchOffAndOn),
    [] {
      // The program is stopped by a signal half-way through the load: its handler writes the
      // line, the process ends, and the next run loads the firmware again.
      MatrixRow row = finishedNextRun(
          givesUp("InterruptedMidUploadThenFinished", {},
                  "Step 6 interrupted by SIGTERM while loading the firmware, so the GPS chip may "
                  "hold only part of it",
                  DeviceState::Unplugged),
          plugInSwitchOffAndOn);
      row.faults.clear();
      row.arrange = [](WizardRig& w) { w.interruptAtProgress(40, "SIGTERM"); };
      return row;
    }(),
    finishedNextRun(givesUp("PowerCutMidUploadThenFinished", "power-cut=4",
                            "the GPS boot loader stopped answering  (E:25)", DeviceState::Off),
                    switchOffAndOn),
    finishedNextRun(givesUp("UnpluggedAtEndFrameThenFinished", "unplug=end",
                            "GPS Passthrough NOT exited : ", DeviceState::Unplugged, "NOTICE E:19"),
                    plugInSwitchOffAndOn),
    // The flash is whole but the chip gives no version all the same: loading it again is
    // harmless, and the power cycle on step 7 brings the version back.
    [] {
      MatrixRow row = ridesOut("NoVersionFromAWholeFlash", "gps-unreadable-until-power-cycle");
      row.logKind = "Error";
      row.logText = kLoadedAgain;
      return row;
    }(),
};

INSTANTIATE_TEST_SUITE_P(Handshake, LoaderFaultMatrix, ::testing::ValuesIn(kHandshakeRows),
                         MatrixRowName());
INSTANTIATE_TEST_SUITE_P(Records, LoaderFaultMatrix, ::testing::ValuesIn(kRecordRows),
                         MatrixRowName());
INSTANTIATE_TEST_SUITE_P(EndFrame, LoaderFaultMatrix, ::testing::ValuesIn(kEndRows),
                         MatrixRowName());
INSTANTIATE_TEST_SUITE_P(Images, LoaderFaultMatrix, ::testing::ValuesIn(kImageRows),
                         MatrixRowName());
INSTANTIATE_TEST_SUITE_P(Recovery, LoaderFaultMatrix, ::testing::ValuesIn(kRecoveryRows),
                         MatrixRowName());

} // namespace
} // namespace quillon::testing
