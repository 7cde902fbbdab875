#include "gpsload/status_codes.h"

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

TEST(StatusText, ReservedAndTextlessCodesAreUndefined) {
  for (StatusCode code : {StatusCode{7}, StatusCode{9}, StatusCode{KV7EVENTNOTCREATED}}) {
    const Lookup got = lookUp(code);
    EXPECT_FALSE(got.known) << code;
    EXPECT_EQ(got.text, "Undefined error") << code;
  }
}

TEST(StatusText, CodesOutsideTheTableAreUndefined) {
  for (StatusCode code : {33, 100, -2, INT32_MIN, INT32_MAX}) {
    const Lookup got = lookUp(code);
    EXPECT_FALSE(got.known) << code;
    EXPECT_EQ(got.text, "Undefined error") << code;
  }
}

TEST(StatusText, EveryCodeInRangeIsEitherKnownOrUndefined) {
  // Nothing between -1 and 32 may fall through both the table and the three gaps.
  for (StatusCode code = -1; code <= 32; ++code) {
    const Lookup got = lookUp(code);
    const bool expectedKnown = knownTexts().count(code) == 1;
    EXPECT_EQ(got.known, expectedKnown) << code;
    if (!expectedKnown) {
      EXPECT_EQ(got.text, "Undefined error") << code;
    }
  }
}

TEST(StatusText, NamedConstantsMatchTheNamesInTheirTexts) {
  // Each text starts with its code's name; the header's values must point at the same rows.
  const std::map<StatusCode, std::string> names = {
      {KV7SUCCESS, "KV7SUCCESS"},
      {KV7INVALIDPORT, "KV7INVALIDPORT"},
      {KV7NOTFOUND, "KV7NOTFOUND"},
      {KV7NOCONNECTION, "KV7NOCONNECTION"},
      {KV7NORESPONSE, "KV7NORESPONSE"},
      {KV7INVALIDRESPONSE, "KV7INVALIDRESPONSE"},
      {KV7INCORRECTMODE, "KV7INCORRECTMODE"},
      {KV7UNKNOWNERROR, "KV7UNKNOWNERROR"},
      {KV7INVALIDBAUDRATE, "KV7INVALIDBAUDRATE"},
      {KV7STARNOTFOUND, "KV7STARNOTFOUND"},
      {KV7FILENOTSENT, "KV7FILENOTSENT"},
      {KV7COMMANDNOTSENT, "KV7COMMANDNOTSENT"},
      {KV7COMMANDNOTRECEIVED, "KV7COMMANDNOTRECEIVED"},
      {KV7INVALIDFILE, "KV7INVALIDFILE"},
      {KV7INVALIDSOFTWAREVERSION, "KV7INVALIDSOFTWAREVERSION"},
      {KV7INVALIDGPSVERSION, "KV7INVALIDGPSVERSION"},
      {KV7INVALIDBOOTCODEVERSION, "KV7INVALIDBOOTCODEVERSION"},
      {KV7GETOVERLAPPEDRESULTERROR, "KV7GETOVERLAPPEDRESULTERROR"},
      {KV7WAITFORSINGLEOBJECTERROR, "KV7WAITFORSINGLEOBJECTERROR"},
      {KV7XMODEMSYNCERROR, "KV7XMODEMSYNCERROR"},
      {KV7XMODEMCANCELEDERROR, "KV7XMODEMCANCELEDERROR"},
      {KV7XMODEMTOOMANYRETURNERRORS, "KV7XMODEMTOOMANYRETURNERRORS"},
      {KV7XMODEMUNKNOWNERROR, "KV7XMODEMUNKNOWNERROR"},
      {KV7INVALIDHANDLEVALUE, "KV7INVALIDHANDLEVALUE"},
      {KV7GETCOMMSTATEERROR, "KV7GETCOMMSTATEERROR"},
      {KV7SETCOMMTIMEOUTERROR, "KV7SETCOMMTIMEOUTERROR"},
      {KV7SETCOMSTATEERROR, "KV7SETCOMSTATEERROR"},
      {KV7NULLFUNCTIONPOINTER, "KV7NULLFUNCTIONPOINTER"},
      {KV7GPSALLOFFNOTSENT, "KV7GPSALLOFFNOTSENT"},
      {KV7GPSUPDATEFIRMWARENOTSENT, "KV7GPSUPDATEFIRMWARENOTSENT"},
  };
  for (const auto& [code, name] : names) {
    const std::string text = lookUp(code).text;
    EXPECT_EQ(text.substr(0, name.size() + 1), name + ":") << code;
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
