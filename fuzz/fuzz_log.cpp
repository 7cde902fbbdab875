// The update log's message handling on arbitrary text. Whatever a caller hands it, one
// written call must make exactly one CR LF line in Orbfix.log, the message field must hold
// no line break and at most 1024 characters, the debugger copy must be that same message
// with CR LF (within 1024 characters), and the caller's errno must survive the call.

#include "fuzz/fuzz_check.h"
#include "fuzz/input_reader.h"
#include "fuzz/scratch_dir.h"
#include "log/update_log.h"
#include "testsupport/stderr_capture.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using quillon::UpdateLog;

constexpr std::uint32_t kMaxCalls = 4;
constexpr std::uint32_t kMaxPiece = 600;
constexpr std::uint32_t kMaxRepeats = 8;
constexpr char kSourcePath[] = "C:\\quillon\\pages\\Step3Update.cpp";
constexpr char kSourceName[] = "Step3Update.cpp";
constexpr int kSavedErrno = 4242;

enum class Kind { Info, Error, DevInfo };

struct Call {
  Kind kind = Kind::Info;
  int sourceLine = 0;
  std::string message; // may hold NUL bytes: the log sees the text up to the first
  bool precision = false;
  int maxLength = 0;
};

int lowestLevel(Kind kind) {
  return kind == Kind::Error ? 1 : kind == Kind::Info ? 2 : 3;
}

const char* kindWord(Kind kind) {
  return kind == Kind::Error ? "Error" : kind == Kind::Info ? "Info" : "DevInfo";
}

// What the message field must be: the text the format yields, cut to 1024 characters, with
// every CR and LF turned into '|'.
std::string expectedMessage(const Call& call) {
  std::string text(call.message.c_str());
  if (call.precision && text.size() > static_cast<std::size_t>(call.maxLength))
    text.resize(static_cast<std::size_t>(call.maxLength));
  if (text.size() > static_cast<std::size_t>(UpdateLog::kMaxMessage))
    text.resize(static_cast<std::size_t>(UpdateLog::kMaxMessage));
  for (char& c : text) {
    if (c == '\r' || c == '\n')
      c = '|';
  }
  return text;
}

void write(UpdateLog& log, const Call& call) {
  log.enter();
  log.sourceLine = call.sourceLine;
  log.setSource(kSourcePath);
  const char* text = call.message.c_str();
  switch (call.kind) {
  case Kind::Info:
    call.precision ? log.info("%.*s", call.maxLength, text) : log.info("%s", text);
    break;
  case Kind::Error:
    call.precision ? log.error("%.*s", call.maxLength, text) : log.error("%s", text);
    break;
  case Kind::DevInfo:
    call.precision ? log.devInfo("%.*s", call.maxLength, text) : log.devInfo("%s", text);
    break;
  }
}

bool isTimestamp(const std::string& text) {
  // "2007-05-14 09:31:02"
  static constexpr char kShape[] = "dddd-dd-dd dd:dd:dd";
  if (text.size() != sizeof kShape - 1)
    return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (kShape[i] == 'd' ? !digit : text[i] != kShape[i])
      return false;
  }
  return true;
}

void checkLine(const std::string& line, const Call& call, int level) {
  QUILLON_FUZZ_CHECK(line.find('\r') == std::string::npos && line.find('\n') == std::string::npos,
                     "a log line holds a line break before its end");
  QUILLON_FUZZ_CHECK(line.size() > 20 && isTimestamp(line.substr(0, 19)) && line[19] == '\t',
                     "a log line does not begin with its timestamp and a TAB");
  std::string fields = std::string(kindWord(call.kind)) + "\t";
  if (level == 3)
    fields += std::string(kSourceName) + ", " + std::to_string(call.sourceLine) + "\t";
  QUILLON_FUZZ_CHECK(line.compare(20, fields.size(), fields) == 0,
                     "a log line has the wrong kind or source fields");
  const std::string message = line.substr(20 + fields.size());
  QUILLON_FUZZ_CHECK(message.size() <= static_cast<std::size_t>(UpdateLog::kMaxMessage),
                     "a message field is longer than 1024 characters");
  QUILLON_FUZZ_CHECK(message == expectedMessage(call),
                     "a message field is not the caller's text, cut and flattened");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Level, number of calls; then per call: kind, source line (4 bytes), precision or not,
  // the precision (2 bytes), repeats, the piece's length (2 bytes) and the piece, which is
  // repeated to make messages longer than the log keeps.
  quillon::fuzz::InputReader input(data, size);
  const int level = static_cast<int>(input.upTo(3));
  std::vector<Call> calls(1 + input.upTo(kMaxCalls - 1));
  for (auto& call : calls) {
    call.kind = static_cast<Kind>(input.upTo(2));
    call.sourceLine = static_cast<int>(input.upTo(UINT32_MAX));
    call.precision = (input.byte() & 1U) != 0;
    call.maxLength = static_cast<int>(input.upTo(3 * UpdateLog::kMaxMessage));
    const std::uint32_t repeats = 1 + input.upTo(kMaxRepeats - 1);
    const std::string piece = input.text(input.upTo(kMaxPiece));
    for (std::uint32_t i = 0; i < repeats; ++i)
      call.message += piece;
  }

  const std::filesystem::path dir = quillon::fuzz::scratchDirectory();
  std::filesystem::remove(dir / "Orbfix.log");
  std::vector<int> errnoAfter;
  std::string debuggerCopy;
  {
    UpdateLog log;
    QUILLON_FUZZ_CHECK(log.openIn(dir.c_str(), "Orbfix.log"), "the log did not open");
    log.setLevel(level);
    quillon::test::StderrCapture capture;
    for (const auto& call : calls) {
      errno = kSavedErrno;
      write(log, call);
      errnoAfter.push_back(errno);
    }
    debuggerCopy = capture.text();
  }

  std::string expectedCopy;
  std::vector<const Call*> written;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    QUILLON_FUZZ_CHECK(errnoAfter[i] == kSavedErrno, "a log call changed errno");
    if (level >= lowestLevel(calls[i].kind)) {
      written.push_back(&calls[i]);
      // The copy is the message and CR LF, cut like the message to 1024 characters.
      expectedCopy += (expectedMessage(calls[i]) + "\r\n").substr(0, UpdateLog::kMaxMessage);
    }
  }
  QUILLON_FUZZ_CHECK(debuggerCopy == expectedCopy, "the debugger copy is not the messages");

  const std::string file = quillon::fuzz::readWholeFile(dir / "Orbfix.log");
  std::size_t at = 0;
  for (const Call* call : written) {
    const std::size_t end = file.find("\r\n", at);
    QUILLON_FUZZ_CHECK(end != std::string::npos, "a written call left no CR LF line");
    checkLine(file.substr(at, end - at), *call, level);
    at = end + 2;
  }
  QUILLON_FUZZ_CHECK(at == file.size(), "the log holds more than one line per written call");
  return 0;
}
