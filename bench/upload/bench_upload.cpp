// bench-upload: a 256 KiB image through a pseudo-terminal to the virtual Yardmark's boot
// loader. Run with the device pacing its line at 115200 baud (no programming delay) to see how
// close the transfer comes to the line's limit, again with a device that answers at once, and
// once without pacing to see what the host itself spends per frame.

#include "base/clock.h"
#include "gpsload/firmware_image.h"
#include "gpsload/uploader.h"
#include "link/device_link.h"
#include "sim/flash_model.h"
#include "sim/srecord_file.h"
#include "sim/virtual_yardmark.h"
#include "tests/loader/boot_loader_session.h"
#include "testsupport/scratch_folder.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <time.h>
#include <vector>

namespace {

using namespace quillon;
using Seconds = std::chrono::duration<double>;

constexpr std::uint32_t kFlashStart = 0x2D000000;
constexpr std::uint32_t kImageBytes = 256 * 1024;
// 115200 baud, 10 bits a byte on the line.
constexpr double kLineBytesPerSecond = 115200.0 / 10.0;

struct RunResult {
  std::string error;
  Seconds beforeFirstRecord{}; // hello, handshake and erase
  Seconds records{};           // first record frame to the image's end
  double hostCpuSeconds = 0.0; // this thread only: the device runs on its own
  int frames = 0;
  std::uint32_t bytesSent = 0;
  bool flashMatches = false;
};

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::string WriteFirmware(const std::filesystem::path& folder) {
  std::vector<std::uint8_t> data(kImageBytes);
  for (std::size_t i = 0; i < data.size(); ++i)
    data[i] = static_cast<std::uint8_t>((i * 13 + i / 509) & 0xFF);
  sim::FlashModel image;
  image.write(kFlashStart, data.data(), data.size());
  const std::string path = (folder / "bench-upload.s3").string();
  return sim::WriteS3File(path, image) ? path : "";
}

RunResult Upload(const std::string& firmware, bool pace, bool prompt) {
  RunResult result;
  sim::YardmarkOptions options;
  options.timeScale = 0.05; // the device's own pauses, not its line
  options.pace = pace;
  options.prompt = prompt;
  options.programDelay = std::chrono::milliseconds(0);
  options.firmwarePath = firmware;
  sim::VirtualYardmark device(options);
  if (!device.start()) {
    result.error = device.error();
    return result;
  }
  VirtualClock linkClock; // the link's fixed pauses cost nothing here
  DeviceLink link(linkClock);
  result.error = test::OpenBootLoader(link, device);
  if (!result.error.empty())
    return result;

  FirmwareImage image(firmware);
  SystemClock loaderClock;
  Uploader loader(image, link, LoadAddressing::Addressed, kFlashStart, 0xFFFFFFFF, loaderClock);
  const auto started = std::chrono::steady_clock::now();
  auto firstRecord = started;
  const double cpuAtStart = ThreadCpuSeconds();
  while (loader.state() != Uploader::FileDone) {
    if (std::chrono::steady_clock::now() - started > std::chrono::minutes(5)) {
      result.error = "stuck in state " + std::to_string(loader.state());
      return result;
    }
    const bool sendsRecord = loader.state() == Uploader::SendRec;
    loader.Step();
    if (sendsRecord && loader.state() == Uploader::WaitRec && result.frames++ == 0)
      firstRecord = std::chrono::steady_clock::now();
  }
  result.records = std::chrono::steady_clock::now() - firstRecord;
  result.hostCpuSeconds = ThreadCpuSeconds() - cpuAtStart;
  result.beforeFirstRecord = firstRecord - started;
  result.bytesSent = loader.bytesSent();
  // As the firmware page does: the load is done when the boot loader has taken the end frame.
  loader.Finish();
  while (loader.state() == Uploader::SendEnd) {
    if (std::chrono::steady_clock::now() - started > std::chrono::minutes(5)) {
      result.error = "the end frame was never taken";
      return result;
    }
    loader.Step();
  }
  sim::FlashModel expected;
  std::string readError;
  result.flashMatches = sim::ReadSRecordFile(firmware, expected, readError) &&
                        device.flashEquals(expected.segments());
  return result;
}

} // namespace

int main() {
  const test::ScratchFolder scratch;
  const auto folder = scratch.path();
  const std::string firmware = WriteFirmware(folder);
  if (firmware.empty()) {
    std::fprintf(stderr, "bench-upload: cannot write the firmware file\n");
    return 1;
  }

  const RunResult fast = Upload(firmware, false, false);
  if (!fast.error.empty() || !fast.flashMatches) {
    std::fprintf(stderr, "bench-upload: unpaced run failed: %s\n",
                 fast.error.empty() ? "flash differs" : fast.error.c_str());
    return 1;
  }
  std::printf("no pacing: %d frames in %.3f s, host CPU %.1f us per frame\n", fast.frames,
              fast.records.count(), fast.hostCpuSeconds * 1e6 / fast.frames);

  for (const bool prompt : {false, true}) {
    const char* device = prompt ? "paced, answering at once" : "paced";
    const RunResult paced = Upload(firmware, true, prompt);
    if (!paced.error.empty() || !paced.flashMatches) {
      std::fprintf(stderr, "bench-upload: %s run failed: %s\n", device,
                   paced.error.empty() ? "flash differs" : paced.error.c_str());
      return 1;
    }
    const double rate = paced.bytesSent / paced.records.count();
    std::printf("%s: hello, handshake and erase %.2f s; %d record frames; host CPU %.1f us per "
                "frame\n",
                device, paced.beforeFirstRecord.count(), paced.frames,
                paced.hostCpuSeconds * 1e6 / paced.frames);
    std::printf("upload: %u bytes in %.1f s = %.0f B/s, %.3f of the 115200-baud line limit\n",
                paced.bytesSent, paced.records.count(), rate, rate / kLineBytesPerSecond);
  }
  return 0;
}
