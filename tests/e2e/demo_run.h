#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quillon::e2e {

// One run of quillon-demo as a user starts it from a shell: its exit status and what it
// printed, with its working folder kept for the log and the flash dump.
struct DemoRun {
  int exitStatus = -1;
  std::vector<std::string> lines;

  bool printed(const std::string& line) const;
  // Lines that begin with `prefix`, in order.
  std::vector<std::string> startingWith(const std::string& prefix) const;
  // The pages shown, by step number, in order.
  std::vector<int> pages() const;
  // The "frames N" figure of the device's last state line; -1 when it printed none.
  int framesReceived() const;
  std::string transcript() const;
};

// Runs `quillon-demo --headless --time-scale 0.05 --workdir <workDir> <arguments...>`.
DemoRun RunDemo(const std::filesystem::path& workDir, const std::vector<std::string>& arguments);

// A fresh, empty folder for one test.
std::filesystem::path FreshFolder(const std::string& name);

// The data of both files, each converted by srec_cat, compared with srec_cmp: true when the
// flash holds exactly the firmware's data.
bool SameData(const std::filesystem::path& flashDump, const std::filesystem::path& firmware);

// Number of S1/S2/S3 records in a file.
int DataRecords(const std::filesystem::path& file);

} // namespace quillon::e2e
