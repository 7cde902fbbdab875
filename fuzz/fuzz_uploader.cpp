// The flash loader against a boot loader that answers with arbitrary bytes, silences and
// clock jumps. Whatever it hears, every frame it sends must be well formed and fit its
// buffer, record frames may only carry the image's own bytes at their addresses, a step
// reads at most one byte, and the state stays one of the loader's own.

#include "fuzz/fuzz_check.h"
#include "fuzz/loader_frame_check.h"
#include "fuzz/scratch_dir.h"
#include "fuzz/scripted_boot_loader.h"
#include "fuzz/test_images.h"
#include "gpsload/firmware_image.h"
#include "gpsload/uploader.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

using quillon::Uploader;
using quillon::fuzz::ScriptedBootLoader;
using Call = ScriptedBootLoader::Call;

constexpr std::uint32_t kFlashStart = 0x2D000000;
constexpr std::uint32_t kFlashEnd = 0xFFFFFFFF;
constexpr std::uint8_t kHelloAnswer = 0x55;
constexpr std::uint8_t kErase = 0x6A;
// Steps once the script is spent, and per script byte: enough to walk every state the
// replies lead to, and a bound on a loader that would otherwise never stop.
constexpr int kStepsAfterScript = 64;
constexpr int kStepsPerScriptByte = 4;

// Input byte 0 chooses the run: the image, addressed or not, the erase range's end.
struct RunConfig {
  std::size_t image = 0;
  bool unaddressed = false;
  bool endFromImageSize = false;
  bool portFound = true;
};

RunConfig configOf(std::uint8_t byte) {
  RunConfig config;
  config.image = byte & 0x3U;
  config.unaddressed = (byte & 0x4U) != 0;
  config.endFromImageSize = (byte & 0x8U) != 0;
  config.portFound = (byte & 0x70U) != 0x70U;
  return config;
}

// Watches every link call the loader makes during one step.
class WireWatch {
public:
  WireWatch(const RunConfig& config, const quillon::fuzz::ImageBytes& image,
            std::vector<std::uint8_t> eraseFrame)
      : config_(config), image_(image), eraseFrame_(std::move(eraseFrame)) {}

  void beginStep(int state) {
    state_ = state;
    reads_ = 0;
  }

  void observe(Call call, const std::uint8_t* bytes, std::size_t count) {
    QUILLON_FUZZ_CHECK(state_ != Uploader::Inactive && state_ != Uploader::BadType &&
                           state_ != Uploader::Unused,
                       "a loader that is inactive or refused touched the link");
    switch (call) {
    case Call::ReadByte:
      QUILLON_FUZZ_CHECK(++reads_ <= 1, "a step read more than one byte");
      frameUnanswered_ = false;
      break;
    case Call::WriteByte:
      QUILLON_FUZZ_CHECK(count == 1 && (bytes[0] == kHelloAnswer || bytes[0] == kErase),
                         "a single byte other than 55 or 6A went out");
      break;
    case Call::WriteBytes:
      QUILLON_FUZZ_CHECK(callBefore_ == Call::PurgeTransmit && lastCall_ == Call::PurgeReceive,
                         "a frame was not preceded by a transmit and a receive purge");
      checkFrame(std::vector<std::uint8_t>(bytes, bytes + count));
      frameUnanswered_ = true;
      break;
    case Call::PurgeReceive:
      // The answer to a frame can be in before the write returns.
      QUILLON_FUZZ_CHECK(!frameUnanswered_, "the input was emptied after a frame went out");
      break;
    case Call::PurgeTransmit:
      break;
    }
    callBefore_ = lastCall_;
    lastCall_ = call;
  }

private:
  void checkFrame(const std::vector<std::uint8_t>& frame) const {
    QUILLON_FUZZ_CHECK(frame.size() <= Uploader::kFrameBufferSize,
                       "a frame is larger than the frame buffer");
    std::string why;
    const auto parsed = quillon::fuzz::parseFrame(frame, why);
    QUILLON_FUZZ_CHECK(parsed.has_value(), why.c_str());
    switch (state_) {
    case Uploader::EraseCmd:
    case Uploader::EraseAdr:
      QUILLON_FUZZ_CHECK(frame == eraseFrame_,
                         "another frame went out in place of the erase frame");
      break;
    case Uploader::SendRec:
    case Uploader::WaitRec:
    case Uploader::Prog:
      QUILLON_FUZZ_CHECK(!parsed->payload.empty(), "an empty record frame went out");
      if (!config_.unaddressed) {
        const std::string wrong = quillon::fuzz::checkAddressedRecord(*parsed, image_);
        QUILLON_FUZZ_CHECK(wrong.empty(), wrong.c_str());
      }
      break;
    case Uploader::FileDone:
    case Uploader::SendEnd:
      QUILLON_FUZZ_CHECK(parsed->payload.empty(),
                         "another frame went out in place of the end frame");
      break;
    default:
      QUILLON_FUZZ_CHECK(false, "a frame went out in a state that sends none");
    }
  }

  const RunConfig& config_;
  const quillon::fuzz::ImageBytes& image_;
  std::vector<std::uint8_t> eraseFrame_;
  int state_ = Uploader::Inactive;
  int reads_ = 0;
  Call callBefore_ = Call::ReadByte;
  Call lastCall_ = Call::ReadByte;
  bool frameUnanswered_ = false;
};

std::vector<std::uint8_t> eraseFrameFor(std::uint32_t start, std::uint32_t end) {
  std::vector<std::uint8_t> frame{0x5B, 0x00, 0x04};
  unsigned checksum = 0;
  for (const std::uint32_t value : {start, end}) {
    for (int shift = 24; shift >= 0; shift -= 8)
      frame.push_back(static_cast<std::uint8_t>(value >> shift));
    checksum ^= (value >> 16) ^ (value & 0xFFFFU);
  }
  frame.push_back(static_cast<std::uint8_t>(checksum >> 8));
  frame.push_back(static_cast<std::uint8_t>(checksum));
  frame.push_back(0x5D);
  return frame;
}

std::string imagePath(std::size_t index) {
  const auto& image = quillon::fuzz::testImages()[index];
  const std::string name = "loader-image-" + std::to_string(index) + ".s19";
  static std::vector<std::string> written(quillon::fuzz::testImages().size());
  if (written[index].empty()) {
    written[index] =
        quillon::fuzz::writeScratchFile(
            name, reinterpret_cast<const std::uint8_t*>(image.text.data()), image.text.size())
            .string();
  }
  return written[index];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  const RunConfig config = configOf(data[0]);
  quillon::FirmwareImage image(imagePath(config.image));
  QUILLON_FUZZ_CHECK(image.isSRecord(), "a test image was refused");

  const std::uint32_t end =
      config.endFromImageSize ? kFlashStart + static_cast<std::uint32_t>(image.size()) : kFlashEnd;
  WireWatch watch(config, quillon::fuzz::testImages()[config.image].bytes,
                  eraseFrameFor(kFlashStart, end));
  quillon::VirtualClock clock;
  ScriptedBootLoader link(data + 1, size - 1, config.portFound, clock,
                          [&watch](Call call, const std::uint8_t* bytes, std::size_t count) {
                            watch.observe(call, bytes, count);
                          });
  Uploader loader(image, link,
                  config.unaddressed ? quillon::LoadAddressing::Unaddressed
                                     : quillon::LoadAddressing::Addressed,
                  kFlashStart, config.endFromImageSize ? 0 : kFlashEnd, clock);

  const long maxSteps = static_cast<long>(size) * kStepsPerScriptByte + kStepsAfterScript;
  int stepsAfterScript = 0;
  for (long step = 0; step < maxSteps && stepsAfterScript < kStepsAfterScript; ++step) {
    const int before = loader.state();
    watch.beginStep(before);
    const bool again = loader.Step();
    const int after = loader.state();
    QUILLON_FUZZ_CHECK(after >= Uploader::Inactive && after <= Uploader::Settle &&
                           after != Uploader::Unused,
                       "the loader is in a state of no meaning");
    if (after == Uploader::FileDone && !again) {
      // The owner's move: the image is sent, so the end frame goes out.
      watch.beginStep(after);
      loader.Finish();
      QUILLON_FUZZ_CHECK(loader.state() == Uploader::SendEnd, "Finish did not wait for the end");
    }
    if (link.exhausted())
      ++stepsAfterScript;
  }
  return 0;
}
