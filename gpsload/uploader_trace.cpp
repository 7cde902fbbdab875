#include "gpsload/hex_text.h"
#include "gpsload/uploader.h"

#include <string>

// The optional trace: one call per line. Texts are only built when a sink is attached, so an
// untraced transfer pays nothing for them.

namespace quillon {

void Uploader::trace(std::string_view text) const {
  if (trace_)
    trace_(text);
}

void Uploader::traceValue(std::string_view prefix, int value, int digits) const {
  if (trace_)
    trace_(std::string(prefix) + HexText(value, digits));
}

void Uploader::traceRange(std::string_view prefix) const {
  if (trace_)
    trace_(std::string(prefix) + HexText(startAddress_, 8) + ":" + HexText(endAddress_, 8));
}

void Uploader::traceRecordFrame(std::string_view prefix, int resendByte) const {
  if (!trace_)
    return;
  std::string line(prefix);
  if (resendByte != loader::kNoByte)
    line += HexText(resendByte, 4) + " resend ";
  line += std::to_string(frameLength_) + " bytes:";
  // Appended in two steps: g++ 12 at -O3 warns (-Wrestrict) about the temporary that
  // " " + text would make.
  for (std::size_t i = 0; i < frameLength_; ++i) {
    line += ' ';
    line += HexText(std::uint32_t{frame_[i]}, 2);
  }
  trace_(line);
}

} // namespace quillon
