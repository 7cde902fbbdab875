#include "demo_run.h"

#include "testsupport/scratch_folder.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include <gtest/gtest.h>

namespace quillon::e2e {
namespace {

// The wizard's and the device's waits at a twentieth: a whole update takes a few seconds, and
// the flash loader's one-second time-outs still leave room for a busy machine.
constexpr const char* kTimeScale = "0.05";

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

} // namespace

bool DemoRun::printed(const std::string& line) const {
  for (const auto& printedLine : lines)
    if (printedLine == line)
      return true;
  return false;
}

std::vector<std::string> DemoRun::startingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const auto& line : lines)
    if (line.starts_with(prefix))
      found.push_back(line);
  return found;
}

std::vector<int> DemoRun::pages() const {
  std::vector<int> steps;
  for (const auto& line : startingWith("page "))
    steps.push_back(std::atoi(line.c_str() + 5));
  return steps;
}

int DemoRun::framesReceived() const {
  const auto states = startingWith("device: state ");
  if (states.empty())
    return -1;
  const auto at = states.back().find(" frames ");
  return at == std::string::npos ? -1 : std::atoi(states.back().c_str() + at + 8);
}

std::string DemoRun::transcript() const {
  std::string all;
  for (const auto& line : lines)
    all += line + "\n";
  return all;
}

DemoRun RunDemo(const std::filesystem::path& workDir, const std::vector<std::string>& arguments) {
  std::string command = Quoted(QUILLON_DEMO_PROGRAM) + " --headless --time-scale " + kTimeScale +
                        " --workdir " + Quoted(workDir.string());
  for (const auto& argument : arguments)
    command += " " + Quoted(argument);
  command += " 2>&1";
  DemoRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    ADD_FAILURE() << "cannot start " << command;
    return run;
  }
  std::string pending;
  std::array<char, 4096> buffer{};
  while (const auto count = std::fread(buffer.data(), 1, buffer.size(), pipe))
    pending.append(buffer.data(), count);
  const int status = pclose(pipe);
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::istringstream in(pending);
  for (std::string line; std::getline(in, line);)
    run.lines.push_back(line);
  return run;
}

std::filesystem::path FreshFolder(const std::string& name) {
  return test::processScratchFolder().freshFolder(name);
}

bool SameData(const std::filesystem::path& flashDump, const std::filesystem::path& firmware) {
  // Data records only: the firmware's header and start address are no part of the flash.
  const auto dataOf = [](const std::filesystem::path& file) {
    const auto converted = file.parent_path() / (file.stem().string() + "-data.srec");
    const std::string convert = "srec_cat " + Quoted(file.string()) + " -o " +
                                Quoted(converted.string()) + " -data-only >/dev/null 2>&1";
    if (std::system(convert.c_str()) != 0)
      ADD_FAILURE() << "srec_cat could not convert " << file;
    return converted;
  };
  const std::string compare = "srec_cmp " + Quoted(dataOf(flashDump).string()) + " " +
                              Quoted(dataOf(firmware).string()) + " >/dev/null 2>&1";
  return std::system(compare.c_str()) == 0;
}

int DataRecords(const std::filesystem::path& file) {
  std::ifstream in(file);
  int records = 0;
  for (std::string line; std::getline(in, line);)
    if (line.starts_with("S1") || line.starts_with("S2") || line.starts_with("S3"))
      ++records;
  return records;
}

} // namespace quillon::e2e
