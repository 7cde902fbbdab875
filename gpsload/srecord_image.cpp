#include "gpsload/srecord_image.h"

#include <array>
#include <cstring>
#include <string_view>

namespace quillon {
namespace {

// Hands out the lines of a stream without their LF. Lines that lie inside the read block are
// returned in place; only a line that straddles two blocks is copied. A line longer than
// `kLineLimit` is flagged instead of being stored, so a file without line ends cannot make
// it grow without bound.
class LineSplitter {
public:
  static constexpr std::size_t kLineLimit = 4 * kMaxRecordLineLength;

  explicit LineSplitter(std::istream& in) : in_(in) { carried_.reserve(kLineLimit); }

  // False at the end of the stream or on a read error (see failed()).
  bool next(std::string_view& line, bool& overlong) {
    carried_.clear();
    overlong = false;
    bool sawAny = false;
    for (;;) {
      if (pos_ == end_ && !refill()) {
        if (!sawAny)
          return false;
        line = carried_; // the last line, without a line end
        return true;
      }
      sawAny = true;
      const char* begin = block_.data() + pos_;
      const std::size_t avail = end_ - pos_;
      const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', avail));
      const std::size_t take = lf != nullptr ? static_cast<std::size_t>(lf - begin) : avail;
      pos_ += take + (lf != nullptr ? 1 : 0);
      if (lf != nullptr && carried_.empty() && !overlong) {
        line = std::string_view(begin, take);
        overlong = take > kLineLimit;
        return true;
      }
      if (carried_.size() + take > kLineLimit) {
        overlong = true;
      } else {
        carried_.append(begin, take);
      }
      if (lf != nullptr) {
        line = carried_;
        return true;
      }
    }
  }

  bool failed() const { return failed_; }

private:
  bool refill() {
    if (in_.eof() || failed_)
      return false;
    in_.read(block_.data(), static_cast<std::streamsize>(block_.size()));
    if (in_.bad()) {
      failed_ = true;
      return false;
    }
    pos_ = 0;
    end_ = static_cast<std::size_t>(in_.gcount());
    return end_ > 0;
  }

  std::istream& in_;
  std::array<char, 64 * 1024> block_{};
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  std::string carried_;
  bool failed_ = false;
};

} // namespace

bool loadSRecordImage(std::istream& in, SRecordImage& image, std::string& refusal) {
  image = SRecordImage{};
  LineSplitter lines(in);
  std::string_view line;
  bool overlong = false;
  DataRecordHeader header;
  for (std::size_t lineNumber = 1; lines.next(line, overlong); ++lineNumber) {
    const std::size_t dataOffset = image.data.size();
    const LineVerdict verdict =
        overlong ? LineVerdict::TooLong : decodeRecordLine(line, header, image.data);
    if (verdict == LineVerdict::NotData)
      continue;
    if (verdict != LineVerdict::Data) {
      refusal = "line " + std::to_string(lineNumber) + ": " + verdictText(verdict);
      image = SRecordImage{};
      return false;
    }
    if (header.dataLength == 0)
      continue;
    image.records.push_back(ImageRecord{
        header.address, static_cast<std::uint32_t>(header.dataLength), dataOffset, header.type});
  }
  if (lines.failed()) {
    refusal = "cannot read";
    image = SRecordImage{};
    return false;
  }
  return true;
}

} // namespace quillon
