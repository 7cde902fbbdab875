#include "base/status_codes.h"

#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace quillon {
namespace {

// The texts as support staff know them from the logs of earlier releases, typed in afresh
// here so a slip in the program's table shows up as a difference.
const std::map<StatusCode, std::string>& knownTexts() {
  static const std::map<StatusCode, std::string> texts = {
      {-1, "SPACE"},
      {0, "KV7SUCCESS: Successful"},
      {1, "KV7INVALIDPORT: Com Port is Incorrect"},
      {2, "KV7NOTFOUND:  The KV7 was not Found"},
      {3, "KV7NOCONNECTION: No port connection found"},
      {4, "KV7NORESPONSE: KV7 did not respond"},
      {5, "KV7INVALIDRESPONSE:  KV7 responded incorrectly"},
      {6, "KV7INCORRECTMODE:  KV7 is not in correct mode for this command"},
      {8, "KV7UNKNOWNERROR:  Unknown Error"},
      {10, "KV7INVALIDBAUDRATE: The baud rate is invalid"},
      {11, "KV7STARNOTFOUND:  Did not read *"},
      {12, "KV7FILENOTSENT:  The file could not be sent"},
      {13, "KV7COMMANDNOTSENT: Command could not be sent"},
      {14, "KV7COMMANDNOTRECEIVED:  Command not received"},
      {15, "KV7INVALIDFILE:  Invalid File"},
      {16, "KV7INVALIDSOFTWAREVERSION:  Invalid Software Version"},
      {17, "KV7INVALIDGPSVERSION:  Invalid GPS Version"},
      {18, "KV7INVALIDBOOTCODEVERSION: Invalid Boot Code Version"},
      {19, "KV7GETOVERLAPPEDRESULTERROR:  Get Overlapped Result Error (com function)"},
      {20, "KV7WAITFORSINGLEOBJECTERROR:  Wait for single object error (com function)"},
      {22, "KV7XMODEMSYNCERROR:  XModem Failure No Sync"},
      {23, "KV7XMODEMCANCELEDERROR:  XModem Failure Remote Cancel"},
      {24, "KV7XMODEMTOOMANYRETURNERRORS:  XModem Failure Too Many Retries"},
      {25, "KV7XMODEMUNKNOWNERROR: XModem Failure Unknown Error"},
      {26, "KV7INVALIDHANDLEVALUE: Invalid Comm Handle Value "},
      {27, "KV7GETCOMMSTATEERROR: Com State could not be retrieved (com function)"},
      {28, "KV7SETCOMMTIMEOUTERROR: Set Com Time Out error (com function)"},
      {29, "KV7SETCOMSTATEERROR: Set Com State error (com function)"},
      {30, "KV7NULLFUNCTIONPOINTER: Null Function Pointer (progess monitor)"},
      {31, "KV7GPSALLOFFNOTSENT:  The All Off Command was not sent correctly to the GPS "
           "(GPS Passthrough)"},
      {32, "KV7GPSUPDATEFIRMWARENOTSENT:  The Update Firmware Command not sent correctly to "
           "the GPS (GPS Passthrough)"},
  };
  return texts;
}

constexpr char kGuard = '\x5A';

// Looks `code` up into a buffer of exactly kStatusTextBufferSize bytes followed by guard
// bytes, and fails the test if the lookup wrote past the size callers are told to provide.
struct Lookup {
  bool known = false;
  std::string text;
};

Lookup lookUp(StatusCode code) {
  char buffer[kStatusTextBufferSize + 16];
  std::memset(buffer, kGuard, sizeof buffer);
  Lookup result;
  result.known = StatusText(code, buffer);
  const void* end = std::memchr(buffer, '\0', kStatusTextBufferSize);
  EXPECT_NE(end, nullptr) << "no terminator within the buffer for " << code;
  for (std::size_t i = kStatusTextBufferSize; i < sizeof buffer; ++i)
    EXPECT_EQ(buffer[i], kGuard) << "byte " << i << " overwritten for " << code;
  if (end != nullptr)
    result.text.assign(buffer);
  return result;
}

TEST(StatusText, EveryDefinedCodeGivesItsExactText) {
  for (const auto& [code, expected] : knownTexts()) {
    const Lookup got = lookUp(code);
    EXPECT_TRUE(got.known) << code;
    EXPECT_EQ(got.text, expected) << code;
  }
}

TEST(StatusText, CodesWithoutATextAreUndefined) {
  // 7 and 9 are reserved; 21 is produced by a failed serial write but never had a text.
  for (StatusCode code : {7, 9, 21, 33, 100, -2, INT32_MIN, INT32_MAX}) {
    const Lookup got = lookUp(code);
    EXPECT_FALSE(got.known) << code;
    EXPECT_EQ(got.text, "Undefined error") << code;
  }
}

TEST(StatusText, LongestTextFillsTheAdvertisedBufferExactly) {
  // Callers size their buffers from this constant; it must be neither short nor padded.
  EXPECT_EQ(lookUp(KV7GPSUPDATEFIRMWARENOTSENT).text.size() + 1,
            static_cast<std::size_t>(kStatusTextBufferSize));
}

TEST(StatusText, NullBufferIsRefused) {
  EXPECT_FALSE(StatusText(KV7SUCCESS, nullptr));
}

} // namespace
} // namespace quillon
