#include "sim/cli_options.h"
#include "tests/sim/loader_host.h"
#include "testsupport/scratch_folder.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace quillon::sim::testing {
namespace {

std::string SimProgram() {
  const char* dir = std::getenv("QUILLON_BINARY_DIR");
  return std::string(dir ? dir : ".") + "/sim/yardmark-sim";
}

// yardmark-sim run as a child, its standard input and output on pipes.
class SimProcess {
public:
  explicit SimProcess(std::vector<std::string> arguments) {
    int in[2];
    int out[2];
    if (pipe(in) != 0 || pipe(out) != 0)
      return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], STDIN_FILENO);
      dup2(out[1], STDOUT_FILENO);
      close(in[1]);
      close(out[0]);
      std::vector<char*> argv;
      const std::string program = SimProgram();
      argv.push_back(const_cast<char*>(program.c_str()));
      for (auto& argument : arguments)
        argv.push_back(argument.data());
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    input_ = in[1];
    output_ = out[0];
  }
  ~SimProcess() {
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    closeInput();
    if (output_ >= 0)
      close(output_);
  }

  // One line of standard output, without its newline; empty after `total`.
  std::string readLine(std::chrono::milliseconds total = 2000ms) {
    std::string line;
    char c = 0;
    pollfd p{output_, POLLIN, 0};
    while (poll(&p, 1, static_cast<int>(total.count())) > 0 && read(output_, &c, 1) == 1) {
      if (c == '\n')
        return line;
      line.push_back(c);
    }
    return line;
  }
  void say(const std::string& line) {
    const std::string text = line + "\n";
    [[maybe_unused]] const auto written = write(input_, text.data(), text.size());
  }
  void closeInput() {
    if (input_ >= 0)
      close(input_);
    input_ = -1;
  }
  // Exit status, or -1 when the program did not end within `total`.
  int waitExit(std::chrono::milliseconds total = 3000ms) {
    const auto end = std::chrono::steady_clock::now() + total;
    while (std::chrono::steady_clock::now() < end) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(10ms);
    }
    return -1;
  }
  // Everything the program wrote, up to the end of its output.
  std::string drainOutput() {
    std::string all;
    char buffer[4096];
    pollfd p{output_, POLLIN, 0};
    while (poll(&p, 1, 2000) > 0) {
      const auto count = read(output_, buffer, sizeof buffer);
      if (count <= 0)
        break;
      all.append(buffer, static_cast<std::size_t>(count));
    }
    return all;
  }

private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  bool exited_ = false;
};

std::string TempPath(const std::string& name) {
  return test::processScratchFolder().path(name).string();
}

TEST(SimProgram, FirstLineIsTheSlaveAndQuitEndsIt) {
  const std::string link = TempPath("link");
  SimProcess sim({"--link", link, "--time-scale", "0.05"});
  const std::string slave = sim.readLine();
  ASSERT_EQ(slave.rfind("/dev/pts/", 0), 0u) << slave;
  LineClient host(slave);
  ASSERT_TRUE(host.isOpen());
  EXPECT_EQ(Exchange(host, "SA-28"), Bytes("SA-77"));
  LineClient viaLink(link);
  EXPECT_TRUE(viaLink.isOpen());
  sim.say("quit");
  EXPECT_EQ(sim.waitExit(), 0);
  EXPECT_NE(access(link.c_str(), F_OK), 0) << "the link goes with the program";
}

TEST(SimProgram, PowerLinesSwitchTheDevice) {
  SimProcess sim({"--link", TempPath("power"), "--time-scale", "0.05", "--powered-off"});
  LineClient host(sim.readLine());
  ASSERT_TRUE(host.isOpen());
  EXPECT_TRUE(Exchange(host, "SA-28").empty());
  sim.say("power on");
  sim.say("status");
  EXPECT_EQ(sim.readLine().rfind("state ready", 0), 0u);
  EXPECT_EQ(Exchange(host, "SA-28"), Bytes("SA-77"));
  sim.say("power off");
  sim.say("status");
  EXPECT_EQ(sim.readLine().rfind("state off", 0), 0u);
  EXPECT_TRUE(Exchange(host, "SA-28").empty());
  sim.say("quit");
  EXPECT_EQ(sim.waitExit(), 0);
}

TEST(SimProgram, UnplugLineHangsUpTheHost) {
  SimProcess sim({"--link", TempPath("unplug"), "--time-scale", "0.05"});
  LineClient host(sim.readLine());
  ASSERT_TRUE(host.isOpen());
  sim.say("unplug");
  EXPECT_TRUE(host.sawHangUp(1000ms));
  sim.closeInput();
  EXPECT_EQ(sim.waitExit(), 0) << "the end of standard input ends the program";
}

TEST(SimProgram, FaultOptionReachesTheDevice) {
  SimProcess sim({"--link", TempPath("fault"), "--time-scale=0.05", "--fault", "wrong-hello"});
  LineClient host(sim.readLine());
  ASSERT_TRUE(host.isOpen());
  EXPECT_EQ(Exchange(host, "SA-28"), Bytes("SA-78"));
  sim.say("quit");
  EXPECT_EQ(sim.waitExit(), 0);
}

TEST(SimProgram, FlashDumpIsWrittenAtQuit) {
  const std::string dump = TempPath("dump.s3");
  SimProcess sim({"--link", TempPath("dump"), "--time-scale", "0.05", "--flash-dump", dump});
  LineClient host(sim.readLine());
  ASSERT_TRUE(host.isOpen());
  StartBootLoader(host, [&sim] {
    sim.say("status");
    return sim.readLine().rfind("state boot-loader", 0) == 0;
  });
  Handshake(host);
  ASSERT_EQ(Erase(host, kFlashStart, 0xFFFFFFFF), 16);
  ASSERT_EQ(SendRecord(host, kFlashStart + 0x10, {0xDE, 0xAD, 0xBE, 0xEF}),
            (std::vector<std::uint8_t>{kOk, kRecWait}));
  sim.say("quit");
  ASSERT_EQ(sim.waitExit(), 0);
  // SRecord is the judge: it must read the dump and find exactly the programmed bytes.
  const std::string binary = TempPath("dump.bin");
  std::ofstream(binary, std::ios::binary) << "\xDE\xAD\xBE\xEF";
  const std::string expected = TempPath("expected.s19");
  ASSERT_EQ(std::system(("srec_cat " + binary + " -binary -offset 0x2D000010 -o " + expected +
                         " 2>/dev/null")
                            .c_str()),
            0);
  EXPECT_EQ(std::system(("srec_cmp " + dump + " " + expected + " >/dev/null 2>&1").c_str()), 0);
}

TEST(SimProgram, BadOptionsExitWithTwo) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--bogus"},
        {"--time-scale", "0.05"},
        {"--link", TempPath("bad"), "--fault", "wobble"},
        {"--link", TempPath("bad"), "--battery", "1234"},
        {"--link", TempPath("bad"), "--time-scale", "fast"},
        {"--link"}}) {
    SimProcess sim(arguments);
    EXPECT_EQ(sim.waitExit(), 2) << arguments[0];
    EXPECT_EQ(sim.readLine(200ms), "") << "nothing on standard output";
  }
}

TEST(SimOptions, BothValueFormsAndFlags) {
  CliOptions options;
  EXPECT_EQ(ParseCommandLine({"--link=/tmp/ym", "--battery", "042", "--pace", "--powered-off",
                              "--fault=fail=3", "--fault", "bad-cmd"},
                             options),
            "");
  EXPECT_EQ(options.linkPath, "/tmp/ym");
  EXPECT_EQ(options.device.battery, "042");
  EXPECT_TRUE(options.device.pace);
  EXPECT_FALSE(options.device.poweredOn);
  EXPECT_EQ(options.device.faults, (std::vector<std::string>{"fail=3", "bad-cmd"}));
}

TEST(SimOptions, ComplaintsNameTheOption) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--link"}, "--link needs a value"},
      {{"--pace=yes"}, "--pace takes no value"},
      {{"--link=/tmp/ym", "--wobble"}, "unknown option --wobble"},
      {{"--link=/tmp/ym", "--erase-pace=-5"}, "bad value for --erase-pace: \"-5\""},
      {{"--link", "/tmp/ym", "--port", "/dev/ttyS0"}, "give either --link PATH or --port DEVICE"},
  };
  for (const auto& [arguments, complaint] : cases) {
    CliOptions options;
    EXPECT_EQ(ParseCommandLine(arguments, options), complaint) << arguments.back();
  }
}

TEST(SimProgram, HelpListsOptionsAndFaults) {
  SimProcess sim({"--help"});
  ASSERT_EQ(sim.waitExit(), 0);
  const std::string help = sim.drainOutput();
  for (const char* text : {"--link", "--port", "--battery", "--firmware", "--flash-dump", "S3",
                           "--time-scale", "--pace", "--erase-pace", "--program-delay", "--fault",
                           "--powered-off", "unplug=STEP", "silent-at=STATE"})
    EXPECT_NE(help.find(text), std::string::npos) << text;
}

} // namespace
} // namespace quillon::sim::testing
