// The fault matrix, second half: every fault of the GPS chip's boot loader, from its hello to
// the end frame. Most of them the loader must ride out, ending in a verified update; the rest
// must end with notice E:25 (or E:19) instead of a frozen bar.
#include "tests/faults/matrix_row.h"

#include <gtest/gtest.h>

namespace quillon::testing {
namespace {

using sim::DeviceState;

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

const std::vector<MatrixRow> kEndRows = {
    ridesOut("EndFrameUnanswered", "silent-at=end:5"),
    givesUp("UnplugAtEndFrame", "unplug=end",
            "GPS Passthrough NOT exited : ", DeviceState::Unplugged, "NOTICE E:19"),
};

INSTANTIATE_TEST_SUITE_P(Handshake, LoaderFaultMatrix, ::testing::ValuesIn(kHandshakeRows),
                         MatrixRowName());
INSTANTIATE_TEST_SUITE_P(Records, LoaderFaultMatrix, ::testing::ValuesIn(kRecordRows),
                         MatrixRowName());
INSTANTIATE_TEST_SUITE_P(EndFrame, LoaderFaultMatrix, ::testing::ValuesIn(kEndRows),
                         MatrixRowName());

} // namespace
} // namespace quillon::testing
