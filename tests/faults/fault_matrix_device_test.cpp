// The fault matrix, first half: the files, and every fault of the device's own command protocol
// at each phase where it can bite, from discovery to the switch-off after verification.
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/faults/matrix_row.h"

namespace quillon::testing {
namespace {

using sim::DeviceState;
namespace fs = std::filesystem;

class DeviceFaultMatrix : public ::testing::TestWithParam<MatrixRow> {};

TEST_P(DeviceFaultMatrix, EndsWithAClearNoticeAndAnHonestLog) { RunMatrixRow(GetParam()); }

MatrixRow fails(std::string name, std::vector<std::string> faults, std::string notice,
                std::string logText, std::optional<DeviceState> after = std::nullopt) {
  MatrixRow row;
  row.name = std::move(name);
  row.faults = std::move(faults);
  row.notice = std::move(notice);
  row.logKind = "Error";
  row.logText = std::move(logText);
  row.deviceAfter = after;
  return row;
}

MatrixRow verified(std::string name, std::vector<std::string> faults,
                   std::optional<DeviceState> after = DeviceState::Off) {
  MatrixRow row;
  row.name = std::move(name);
  row.faults = std::move(faults);
  row.deviceAfter = after;
  return row;
}

// A row whose notice is logged at Info level: the golfer's F9 lets it into the log.
MatrixRow infoEnding(MatrixRow row) {
  row.logKind = "Info";
  row.descriptive = true;
  return row;
}

MatrixRow withDevice(MatrixRow row, std::function<void(sim::YardmarkOptions&)> device) {
  row.device = std::move(device);
  return row;
}

MatrixRow bounded(MatrixRow row, double seconds) {
  row.boundSeconds = seconds;
  return row;
}

MatrixRow orEnding(MatrixRow row, std::string notice, std::string logText) {
  row.orEnding = MatrixRow::Ending{std::move(notice), std::move(logText)};
  return row;
}

MatrixRow arranged(MatrixRow row, std::function<void(WizardRig&)> arrange) {
  row.arrange = std::move(arrange);
  return row;
}

MatrixRow unpluggedAt(std::string name, int step, std::string status, std::string notice,
                      std::string logText) {
  return arranged(fails(std::move(name), {}, std::move(notice), std::move(logText),
                        DeviceState::Unplugged),
                  [step, status](WizardRig& w) { w.unplugAt(step, status); });
}

void replaceFirmware(WizardRig& w, const std::string& name, const std::string& content) {
  w.rig.capture.writeFile(name, content);
  w.writeOrbfix("Release 4", (w.rig.capture.directory() / name).string());
}

std::string withBadChecksumOnLine(const std::filesystem::path& firmware, int damaged) {
  std::ifstream in(firmware);
  std::string content;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    if (++number == damaged)
      line.back() = line.back() == '0' ? '1' : '0';
    content += line + "\n";
  }
  return content;
}

// Orbfix.dat as the rig writes it, with line `number` (1 to 5) holding `value`.
void writeOrbfixLine(WizardRig& w, int number, const std::string& value) {
  std::vector<std::string> lines{"Release 4", "1.2", w.rig.firmware.string(), kNewGps, "30"};
  lines.at(static_cast<std::size_t>(number - 1)) = value;
  std::string content;
  for (const auto& line : lines)
    content += line + "\r\n";
  w.rig.capture.writeFile("Orbfix.dat", content);
}

MatrixRow documentedAs(MatrixRow row, std::string tableLine) {
  row.documentedAs = std::move(tableLine);
  return row;
}

// A value of Orbfix.dat that would switch a check off stops the wizard before any page.
MatrixRow refusedOrbfixLine(std::string name, int number, std::string value) {
  return documentedAs(
      arranged(fails(std::move(name), {}, "NOTICE E:26",
                     "Orbfix.dat line " + std::to_string(number) + " NOT valid",
                     DeviceState::Ready),
               [number, value](WizardRig& w) { writeOrbfixLine(w, number, value); }),
      "no usable value on line 2, 4 or 5");
}

// Something other than Orbfix.dat in its place: the wizard ends on `notice` at once, whatever
// the thing would cost to read.
MatrixRow inOrbfixPlace(std::string name, std::string notice, std::string logText,
                        std::string tableLine, std::function<void(const fs::path&)> put) {
  return documentedAs(arranged(fails(std::move(name), {}, std::move(notice), std::move(logText),
                                     DeviceState::Ready),
                               [put](WizardRig& w) {
                                 fs::remove(w.orbfixPath());
                                 put(w.orbfixPath());
                               }),
                      std::move(tableLine));
}

void writeBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

const std::string kNotARegularFile = "Orbfix.dat file NOT opened: not a regular file";
const std::string kNotAFile = "a folder, a pipe, a device, or a link to one";
const std::string kGoodOrbfixText = "Release 4\n1.2\nfirmware.mot\n$PASHR,VER,GPS,2.0.00\n30\n";

// The good Orbfix.dat as an editor may have saved it: harmless, the update runs.
MatrixRow savedAs(std::string name, std::string byteOrderMark, std::string lineEnd) {
  return arranged(verified(std::move(name), {}), [byteOrderMark, lineEnd](WizardRig& w) {
    std::string content = byteOrderMark;
    for (const std::string& line :
         {std::string("Release 4"), std::string("1.2"), w.rig.firmware.string(),
          std::string(kNewGps), std::string("30")})
      content += line + lineEnd;
    w.rig.capture.writeFile("Orbfix.dat", content);
  });
}

const std::string k100KB(100 * 1024, 'x');

const std::vector<MatrixRow> kOrbfixRows = {
    refusedOrbfixLine("BlankBatteryLevel", 5, ""),
    refusedOrbfixLine("BatteryLevelNotANumber", 5, "abc"),
    refusedOrbfixLine("NegativeBatteryLevel", 5, "-5"),
    arranged(fails("BatteryLevelLineMissing", {}, "NOTICE E:26", "Orbfix.dat line 5 NOT valid",
                   DeviceState::Ready),
             [](WizardRig& w) {
               w.rig.capture.writeFile("Orbfix.dat", "Release 4\n1.2\n" + w.rig.firmware.string() +
                                                         "\n" + kNewGps + "\n");
             }),
    refusedOrbfixLine("AppVersionNotANumber", 2, "abc"),
    refusedOrbfixLine("TargetGpsVersionMissing", 4, ""),
    refusedOrbfixLine("TargetGpsVersionOf100KB", 4, "$P" + k100KB),
    documentedAs(arranged(fails("FirmwareNameOf100KB", {}, "NOTICE E:26",
                                "Orbfix.dat line 3 NOT valid: a line must be at most 4096 bytes",
                                DeviceState::Ready),
                          [](WizardRig& w) { writeOrbfixLine(w, 3, k100KB); }),
                 "a line longer than 4096 bytes among the first five (a file without line ends)"),
    inOrbfixPlace("OrbfixDatIsAPipe", "NOTICE E:2", kNotARegularFile, kNotAFile,
                  [](const fs::path& at) { ASSERT_EQ(::mkfifo(at.c_str(), 0600), 0); }),
    inOrbfixPlace("OrbfixDatLinksToDevZero", "NOTICE E:2", kNotARegularFile, kNotAFile,
                  [](const fs::path& at) { fs::create_symlink("/dev/zero", at); }),
    inOrbfixPlace("OrbfixDatIsAFolder", "NOTICE E:2", kNotARegularFile, kNotAFile,
                  [](const fs::path& at) { fs::create_directory(at); }),
    inOrbfixPlace("OrbfixDatWithoutLineEnd", "NOTICE E:26",
                  "Orbfix.dat line 1 NOT valid: a line must be at most 4096 bytes",
                  "a line longer than 4096 bytes among the first five (a file without line ends)",
                  [](const fs::path& at) { writeBytes(at, std::string(200'000, 'x')); }),
    inOrbfixPlace(
        "OrbfixDatOver64KB", "NOTICE E:26",
        "Orbfix.dat NOT valid: the file must be at most 65536 bytes", "more than 65536 bytes",
        [](const fs::path& at) { writeBytes(at, kGoodOrbfixText + std::string(70'000, '\n')); }),
    inOrbfixPlace("EmptyOrbfixDat", "NOTICE E:26",
                  "Orbfix.dat line 1 NOT valid: the first line must name the release",
                  "an empty first line (an empty file)",
                  [](const fs::path& at) { writeBytes(at, ""); }),
    inOrbfixPlace("BinaryOrbfixDat", "NOTICE E:26",
                  "Orbfix.dat line 1 NOT valid: a line must hold no NUL or other control "
                  "character",
                  "a NUL or another control character in the first five lines (a binary file)",
                  [](const fs::path& at) {
                    std::string bytes;
                    for (int i = 0; i < 4096; ++i)
                      bytes.push_back(static_cast<char>(i % 256));
                    writeBytes(at, bytes);
                  }),
    inOrbfixPlace("Utf16OrbfixDat", "NOTICE E:26",
                  "Orbfix.dat NOT valid: the file must be UTF-8 text",
                  "UTF-16 text (as some Windows editors save it)",
                  [](const fs::path& at) {
                    std::string bytes = "\xFF\xFE";
                    for (const char c : kGoodOrbfixText)
                      bytes += std::string{c, '\0'};
                    writeBytes(at, bytes);
                  }),
    inOrbfixPlace("NulInsideTheFirmwareName", "NOTICE E:26",
                  "Orbfix.dat line 3 NOT valid: a line must hold no NUL or other control "
                  "character",
                  "a NUL or another control character in the first five lines (a binary file)",
                  [](const fs::path& at) {
                    writeBytes(at, std::string("Release 4\n1.2\ngps_firmware.mot\0junk\n", 36) +
                                       kNewGps + "\n30\n");
                  }),
    inOrbfixPlace("Latin1FirmwareName", "NOTICE E:26",
                  "Orbfix.dat line 3 NOT valid: a line must be UTF-8 text",
                  "bytes that are not UTF-8 in the first five lines",
                  [](const fs::path& at) {
                    writeBytes(at, std::string("Release 4\n1.2\nfirmware\xE9.mot\n") + kNewGps +
                                       "\n30\n");
                  }),
    savedAs("ByteOrderMarkAndCrCrLf", "\xEF\xBB\xBF", "\r\r\n"),
    savedAs("CarriageReturnsOnly", "", "\r"),
};

// A log that cannot be written: the golfer is told once, and the update goes on.
const std::vector<MatrixRow> kLogRows = {
    [] {
      MatrixRow row = arranged(verified("LogCannotBeWritten", {}), [](WizardRig& w) {
        w.logDirectory = w.rig.capture.directory() / "unwritable";
        std::filesystem::create_directories(w.logDirectory / "Orbfix.log");
      });
      row.reminder = "NOTICE";
      return row;
    }(),
};

const std::vector<MatrixRow> kFileRows = {
    documentedAs(arranged(fails("MissingOrbfixDat", {}, "NOTICE E:2",
                                "Orbfix.dat file NOT opened (E:2)", DeviceState::Ready),
                          [](WizardRig& w) { std::filesystem::remove(w.orbfixPath()); }),
                 "not there, or not yours to read"),
    documentedAs(
        arranged(fails("WrongReleaseTag", {}, "NOTICE E-1", "..Not Verified, update necessary",
                       DeviceState::Ready),
                 [](WizardRig& w) { w.writeOrbfix("Release 3", w.rig.firmware.string()); }),
        "a first line other than \"Release 4\""),
    arranged(fails("MissingFirmwareFile", {}, "NOTICE E:3",
                   "Invalid Hex File: Not bin_file_ok (E:3)", DeviceState::Ready),
             [](WizardRig& w) {
               w.writeOrbfix("Release 4", (w.rig.capture.directory() / "gone.mot").string());
             }),
    arranged(fails("CorruptFirmwareFile", {}, "NOTICE E:3",
                   "Invalid Hex File: line 40: checksum (E:3)", DeviceState::Ready),
             [](WizardRig& w) {
               replaceFirmware(w, "damaged.mot", withBadChecksumOnLine(w.rig.firmware, 40));
             }),
    arranged(fails("EmptyFirmwareFile", {}, "NOTICE E:3", "(E:3)", DeviceState::Ready),
             [](WizardRig& w) { replaceFirmware(w, "empty.mot", ""); }),
};

const std::vector<MatrixRow> kDiscoveryRows = {
    arranged(fails("NoPortToTry", {}, "NOTICE E:4", "(E:4)", DeviceState::Ready),
             [](WizardRig& w) {
               w.rig.link.setCandidatePorts({(w.rig.capture.directory() / "no-port").string()});
             }),
    // Ten discovery passes of a read that times out in real time: the one slow row.
    bounded(fails("SilentDevice", {"silent"}, "NOTICE E:4", "(E:4)", DeviceState::Ready), 60.0),
    fails("WrongHello", {"wrong-hello"}, "NOTICE E:4", "(E:4)"),
    fails("UnplugAtHello", {"unplug=hello"}, "NOTICE E:4", "(E:4)", DeviceState::Unplugged),
    unpluggedAt("UnplugWhileSearching", 6, "...Searching for the Yardmark...", "NOTICE E:4",
                "(E:4)"),
    unpluggedAt("UnplugBeforeCommandMode", 6, "...Turning On Command Mode...", "NOTICE E:5",
                "Command Mode Not Set : "),
};

const std::vector<MatrixRow> kCommandRows = {
    fails("ShortDeviceRecord", {"short-record"}, "NOTICE E:6", "(E:6)", DeviceState::Off),
    fails("NoEchoToRecord", {"no-echo=KV7-1"}, "NOTICE E:6", "(E:6)", DeviceState::Off),
    fails("BadEchoToRecord", {"bad-echo=KV7-1"}, "NOTICE E:6", "(E:6)", DeviceState::Off),
    fails("UnplugAtRecord", {"unplug=KV7-1"}, "NOTICE E:6", "(E:6)", DeviceState::Unplugged),
    infoEnding(withDevice(fails("LowBattery", {}, "NOTICE E:7", "Battery Level is below 30  (E:7)",
                                DeviceState::Off),
                          [](sim::YardmarkOptions& o) { o.battery = "010"; })),
    infoEnding(withDevice(fails("OldApplication", {}, "NOTICE E:9",
                                "Application Version is out of date  (E:9)", DeviceState::Off),
                          [](sim::YardmarkOptions& o) { o.appVersion = "1.100"; })),
    fails("GpsVersionNotP", {"gps-not-P"}, "NOTICE E:11", "(E:11)", DeviceState::Off),
    fails("NoEchoToGpsVersion", {"no-echo=KV7-G"}, "NOTICE E:11", "(E:11)", DeviceState::Off),
    fails("BadEchoToGpsVersion", {"bad-echo=KV7-G"}, "NOTICE E:11", "(E:11)", DeviceState::Off),
    fails("UnplugAtGpsVersion", {"unplug=KV7-G"}, "NOTICE E:12", "(E:12)",
          DeviceState::Unplugged),
    verified("GpsReadableOnlyAfterReset", {"gps-unreadable-until-reset"}),
    infoEnding(withDevice(fails("GpsAlreadyCurrent", {}, "NOTICE E:13",
                                "GPS Does NOT Need Update: $PASHR,VER,GPS,2.0.00  (E:13)",
                                DeviceState::Off),
                          [](sim::YardmarkOptions& o) { o.gpsVersion = kNewGps; })),
    fails("ResetRefused", {"gps-unreadable-until-reset", "reset-refused"}, "NOTICE E:12",
          "(E:12)", DeviceState::Off),
    fails("BadEchoToReset", {"gps-unreadable-until-reset", "bad-echo=KV7-i"}, "NOTICE E:12",
          "(E:12)", DeviceState::Off),
    fails("UnplugAtReset", {"gps-unreadable-until-reset", "unplug=KV7-i"}, "NOTICE E:12",
          "(E:12)", DeviceState::Unplugged),
    verified("ChatterAfterReset", {"gps-unreadable-until-reset", "reset-chatter"}),
    fails("PassthroughRefused", {"passthrough-refused"}, "NOTICE E:15", "(E:15)",
          DeviceState::Off),
    fails("BadEchoToPassthrough", {"bad-echo=KV7-g"}, "NOTICE E:15", "(E:15)"),
    fails("UnplugAtPassthrough", {"unplug=KV7-g"}, "NOTICE E:15", "(E:15)",
          DeviceState::Unplugged),
    // The line dies as the chip takes the all-off command. The link's pause before the update
    // command is virtual here, so that command may already be on its way (raising the line
    // fails) or still being written (its write fails).
    orEnding(fails("UnplugAtAllOffCommand", {"unplug=allof"}, "NOTICE E:18", "(E:18)",
                   DeviceState::Unplugged),
             "NOTICE E:17", "(E:17)"),
    fails("UnplugAtUpdateCommand", {"unplug=update"}, "NOTICE E:18", "(E:18)",
          DeviceState::Unplugged),
};

const std::vector<MatrixRow> kVerificationRows = {
    arranged(fails("NoPowerCycle", {}, "NOTICE E:21", "(E:21)", DeviceState::Done),
             [](WizardRig& w) { w.powerCycle = [] {}; }),
    arranged(fails("UnplugDuringPowerCycle", {}, "NOTICE E:21", "(E:21)", DeviceState::Unplugged),
             [](WizardRig& w) { w.powerCycle = [&w] { w.rig.device->unplug(); }; }),
    unpluggedAt("UnplugAtVerifyReset", 10, "...Resetting the GPS...", "NOTICE E:22", "(E:22)"),
    unpluggedAt("UnplugAtVerifyRead", 10, "...Reading the GPS Version...", "NOTICE E:23",
                "(E:23)"),
    withDevice(fails("WrongVersionAfterUpdate", {}, "NOTICE E:24",
                     "GPS Version is NOT Correct $PASHR,VER,GPS,2.0.01  (E:24)", DeviceState::Off),
               [](sim::YardmarkOptions& o) { o.newGpsVersion = "$PASHR,VER,GPS,2.0.01"; }),
    verified("NoEchoToShutDown", {"no-echo=KV7-9"}, DeviceState::Command),
    arranged(verified("UnplugAtShutDown", {}, DeviceState::Unplugged),
             [](WizardRig& w) { w.unplugAt(10, "...Shutting down Yardmark..."); }),
};

INSTANTIATE_TEST_SUITE_P(Files, DeviceFaultMatrix, ::testing::ValuesIn(kFileRows),
                         MatrixRowName());
INSTANTIATE_TEST_SUITE_P(Orbfix, DeviceFaultMatrix, ::testing::ValuesIn(kOrbfixRows),
                         MatrixRowName());
INSTANTIATE_TEST_SUITE_P(Log, DeviceFaultMatrix, ::testing::ValuesIn(kLogRows), MatrixRowName());
INSTANTIATE_TEST_SUITE_P(Discovery, DeviceFaultMatrix, ::testing::ValuesIn(kDiscoveryRows),
                         MatrixRowName());
INSTANTIATE_TEST_SUITE_P(Commands, DeviceFaultMatrix, ::testing::ValuesIn(kCommandRows),
                         MatrixRowName());
INSTANTIATE_TEST_SUITE_P(Verification, DeviceFaultMatrix, ::testing::ValuesIn(kVerificationRows),
                         MatrixRowName());

} // namespace
} // namespace quillon::testing

namespace quillon::testing {
namespace {

// docs/notices.md's table of what Orbfix.dat can be or hold: first cell, notice, log text.
struct DocumentedEnding {
  std::string notice;
  std::string logText;
};

std::string Cell(const std::string& cell) {
  const auto first = cell.find_first_not_of(" `");
  const auto last = cell.find_last_not_of(" `");
  return first == std::string::npos ? "" : cell.substr(first, last - first + 1);
}

std::map<std::string, DocumentedEnding> OrbfixTable() {
  const char* root = std::getenv("QUILLON_SOURCE_DIR");
  std::ifstream in(fs::path(root ? root : ".") / "docs/notices.md");
  std::map<std::string, DocumentedEnding> table;
  bool inTable = false;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("| What `Orbfix.dat` is or holds")) {
      inTable = true;
      continue;
    }
    if (!inTable || line.starts_with("|---"))
      continue;
    if (!line.starts_with("| "))
      break;
    std::vector<std::string> cells;
    for (std::size_t at = 1, bar = line.find('|', at); bar != std::string::npos;
         at = bar + 1, bar = line.find('|', at))
      cells.push_back(Cell(line.substr(at, bar - at)));
    if (cells.size() == 3)
      table[cells[0]] = {"NOTICE " + cells[1], cells[2]};
  }
  return table;
}

// The docs write "line N" where the line differs from file to file.
std::string AsDocumented(const std::string& logText, const std::string& documented) {
  if (documented.find("line N ") == std::string::npos)
    return logText;
  return std::regex_replace(logText, std::regex("line [0-9]+ "), "line N ");
}

TEST(OrbfixNoticeTable, EachLineIsShownByARowThatEndsAsItSays) {
  const auto table = OrbfixTable();
  ASSERT_GE(table.size(), 10U) << "the table of docs/notices.md was not found";
  std::set<std::string> shown;
  for (const auto* rows : {&kFileRows, &kOrbfixRows}) {
    for (const MatrixRow& row : *rows) {
      if (row.documentedAs.empty())
        continue;
      SCOPED_TRACE(row.name);
      const auto line = table.find(row.documentedAs);
      ASSERT_NE(line, table.end()) << "no table line \"" << row.documentedAs << "\"";
      EXPECT_EQ(line->second.notice, row.notice);
      EXPECT_EQ(line->second.logText, AsDocumented(row.logText, line->second.logText));
      shown.insert(row.documentedAs);
    }
  }
  // A read that the system fails cannot be made on demand here.
  shown.insert("a file the system fails to read");
  for (const auto& [what, ending] : table)
    EXPECT_EQ(shown.count(what), 1U) << "no fault row shows \"" << what << "\"";
}

} // namespace
} // namespace quillon::testing
