#include "base/status_codes.h"

#include <array>
#include <cstring>
#include <string_view>

namespace quillon {
namespace {

constexpr StatusCode kFirstCode = -1;
constexpr StatusCode kLastCode = 32;
constexpr char kUndefinedText[] = "Undefined error";

// Indexed by code + 1. Support staff read these in the log exactly as they stand, odd double
// blanks and the trailing blank of 26 included. Null marks a value without a text.
constexpr std::array<const char*, kLastCode - kFirstCode + 1> kTexts = {
    "SPACE", // -1
    "KV7SUCCESS: Successful",
    "KV7INVALIDPORT: Com Port is Incorrect",
    "KV7NOTFOUND:  The KV7 was not Found",
    "KV7NOCONNECTION: No port connection found",
    "KV7NORESPONSE: KV7 did not respond",
    "KV7INVALIDRESPONSE:  KV7 responded incorrectly",
    "KV7INCORRECTMODE:  KV7 is not in correct mode for this command",
    nullptr, // 7: reserved
    "KV7UNKNOWNERROR:  Unknown Error",
    nullptr, // 9: reserved
    "KV7INVALIDBAUDRATE: The baud rate is invalid",
    "KV7STARNOTFOUND:  Did not read *",
    "KV7FILENOTSENT:  The file could not be sent",
    "KV7COMMANDNOTSENT: Command could not be sent",
    "KV7COMMANDNOTRECEIVED:  Command not received",
    "KV7INVALIDFILE:  Invalid File",
    "KV7INVALIDSOFTWAREVERSION:  Invalid Software Version",
    "KV7INVALIDGPSVERSION:  Invalid GPS Version",
    "KV7INVALIDBOOTCODEVERSION: Invalid Boot Code Version",
    "KV7GETOVERLAPPEDRESULTERROR:  Get Overlapped Result Error (com function)",
    "KV7WAITFORSINGLEOBJECTERROR:  Wait for single object error (com function)",
    nullptr, // 21: KV7EVENTNOTCREATED is produced but was never given a text
    "KV7XMODEMSYNCERROR:  XModem Failure No Sync",
    "KV7XMODEMCANCELEDERROR:  XModem Failure Remote Cancel",
    "KV7XMODEMTOOMANYRETURNERRORS:  XModem Failure Too Many Retries",
    "KV7XMODEMUNKNOWNERROR: XModem Failure Unknown Error",
    "KV7INVALIDHANDLEVALUE: Invalid Comm Handle Value ",
    "KV7GETCOMMSTATEERROR: Com State could not be retrieved (com function)",
    "KV7SETCOMMTIMEOUTERROR: Set Com Time Out error (com function)",
    "KV7SETCOMSTATEERROR: Set Com State error (com function)",
    "KV7NULLFUNCTIONPOINTER: Null Function Pointer (progess monitor)",
    "KV7GPSALLOFFNOTSENT:  The All Off Command was not sent correctly to the GPS (GPS "
    "Passthrough)",
    "KV7GPSUPDATEFIRMWARENOTSENT:  The Update Firmware Command not sent correctly to the GPS "
    "(GPS Passthrough)",
};

// Callers size their buffers by kStatusTextBufferSize; every text must fit it.
constexpr bool allTextsFit() {
  for (const char* text : kTexts) {
    if (text != nullptr && std::string_view(text).size() >= kStatusTextBufferSize)
      return false;
  }
  return std::string_view(kUndefinedText).size() < kStatusTextBufferSize;
}
static_assert(allTextsFit(), "a status text does not fit kStatusTextBufferSize");

} // namespace

bool StatusText(StatusCode code, char* buffer) {
  if (buffer == nullptr)
    return false;
  const char* text = nullptr;
  if (code >= kFirstCode && code <= kLastCode)
    text = kTexts[static_cast<std::size_t>(code - kFirstCode)];
  const bool defined = text != nullptr;
  if (!defined)
    text = kUndefinedText;
  std::memcpy(buffer, text, std::strlen(text) + 1);
  return defined;
}

} // namespace quillon
