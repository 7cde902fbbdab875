#include "gpsload/srecord_image.h"

#include <array>
#include <cstring>
#include <string_view>
#include <utility>

namespace quillon {
namespace {

// Hands out the lines of a stream without their LF. Lines that lie inside the read block are
// returned in place; only a line that straddles two blocks is copied. A line longer than
// `kLineLimit` is flagged instead of being stored, so a file without line ends cannot make
// it grow without bound.
class LineSplitter {
public:
  static constexpr std::size_t kLineLimit = 4 * kMaxRecordLineLength;

  explicit LineSplitter(const BlockReader& read) : read_(read) { carried_.reserve(kLineLimit); }

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
    if (ended_ || failed_)
      return false;
    const std::ptrdiff_t got = read_(block_.data(), block_.size());
    if (got < 0)
      failed_ = true;
    pos_ = 0;
    end_ = got > 0 ? static_cast<std::size_t>(got) : 0;
    ended_ = end_ == 0;
    return end_ > 0;
  }

  const BlockReader& read_;
  std::array<char, 64 * 1024> block_{};
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  std::string carried_;
  bool ended_ = false;
  bool failed_ = false;
};

// What the records read so far say about the file as a whole.
class RecordTally {
public:
  // Empty when the record is acceptable where it stands; otherwise why not.
  std::string take(const RecordLine& record, std::size_t lineNumber) {
    lastKind_ = record.kind;
    lastLine_ = lineNumber;
    if (record.kind == RecordKind::Data)
      ++dataRecords_;
    if (record.kind == RecordKind::Count && record.address != dataRecords_) {
      // A count that disagrees means a record was lost or added on the way.
      return "count says " + std::to_string(record.address) + " data records, " +
             std::to_string(dataRecords_) + " come before it";
    }
    return {};
  }

  // A download that stopped early can end at any line end, and the part it delivered is then
  // well-formed to the last line: only a count or end record after the data shows that the
  // file is whole.
  bool endsWhole() const { return lastKind_ == RecordKind::Count || lastKind_ == RecordKind::End; }
  std::size_t lastLine() const { return lastLine_; }

private:
  std::uint64_t dataRecords_ = 0;
  RecordKind lastKind_ = RecordKind::Header;
  std::size_t lastLine_ = 0;
};

std::string lineText(std::size_t lineNumber) {
  return "line " + std::to_string(lineNumber) + ": ";
}

bool refuse(SRecordImage& image, std::string& refusal, std::string why) {
  refusal = std::move(why);
  image = SRecordImage{};
  return false;
}

} // namespace

bool loadSRecordImage(const BlockReader& read, SRecordImage& image, std::string& refusal) {
  image = SRecordImage{};
  LineSplitter lines(read);
  RecordTally tally;
  std::string_view line;
  bool overlong = false;
  RecordLine record;
  for (std::size_t lineNumber = 1; lines.next(line, overlong); ++lineNumber) {
    const std::size_t dataOffset = image.data.size();
    const LineVerdict verdict =
        overlong ? LineVerdict::TooLong : decodeRecordLine(line, record, image.data);
    if (verdict == LineVerdict::Blank)
      continue;
    if (verdict != LineVerdict::Record)
      return refuse(image, refusal, lineText(lineNumber) + verdictText(verdict));
    if (std::string wrong = tally.take(record, lineNumber); !wrong.empty())
      return refuse(image, refusal, lineText(lineNumber) + wrong);
    if (record.kind == RecordKind::Data && record.dataLength > 0) {
      image.records.push_back(
          ImageRecord{record.address, static_cast<std::uint32_t>(record.dataLength),
                      static_cast<std::uint32_t>(lineNumber), record.dataType, dataOffset});
    }
  }
  if (lines.failed())
    return refuse(image, refusal, "cannot read");
  if (!tally.endsWhole()) {
    return refuse(image, refusal,
                  "no count or end record after line " + std::to_string(tally.lastLine()) +
                      ": the file may be cut short");
  }
  // Header and end records alone would "load" nothing and end in a chip without firmware.
  if (image.records.empty())
    return refuse(image, refusal, kNoDataRefusal);
  if (!arrangeByAddress(image, refusal)) {
    image = SRecordImage{};
    return false;
  }
  return true;
}

} // namespace quillon
