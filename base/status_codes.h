#pragma once

#include <cstdint>

namespace quillon {

// Result of every device-link operation: 0 for success. The values are the device link's
// public vocabulary: pages log their texts and support staff read them in Orbfix.log.
using StatusCode = std::int32_t;

enum : StatusCode {
  KV7SUCCESS = 0,
  KV7INVALIDPORT = 1,
  KV7NOTFOUND = 2,
  KV7NOCONNECTION = 3,
  KV7NORESPONSE = 4,
  KV7INVALIDRESPONSE = 5,
  KV7INCORRECTMODE = 6,
  KV7UNKNOWNERROR = 8,
  KV7INVALIDBAUDRATE = 10,
  KV7STARNOTFOUND = 11,
  KV7FILENOTSENT = 12,
  KV7COMMANDNOTSENT = 13,
  KV7COMMANDNOTRECEIVED = 14,
  KV7INVALIDFILE = 15,
  KV7INVALIDSOFTWAREVERSION = 16,
  KV7INVALIDGPSVERSION = 17,
  KV7INVALIDBOOTCODEVERSION = 18,
  KV7GETOVERLAPPEDRESULTERROR = 19,
  KV7WAITFORSINGLEOBJECTERROR = 20,
  // A serial write whose completion event could not be created. It has no text of its own.
  KV7EVENTNOTCREATED = 21,
  KV7XMODEMSYNCERROR = 22,
  KV7XMODEMCANCELEDERROR = 23,
  KV7XMODEMTOOMANYRETURNERRORS = 24,
  KV7XMODEMUNKNOWNERROR = 25,
  KV7INVALIDHANDLEVALUE = 26,
  KV7GETCOMMSTATEERROR = 27,
  KV7SETCOMMTIMEOUTERROR = 28,
  KV7SETCOMSTATEERROR = 29,
  KV7NULLFUNCTIONPOINTER = 30,
  KV7GPSALLOFFNOTSENT = 31,
  KV7GPSUPDATEFIRMWARENOTSENT = 32,
};

// The longest text (that of 32) and its terminating NUL.
inline constexpr int kStatusTextBufferSize = 106;

// Copies the text of `code` with its NUL into `buffer` (at least kStatusTextBufferSize bytes).
// Returns false, with "Undefined error", for 7, 9, 21 and every value outside -1..32.
bool StatusText(StatusCode code, char* buffer);

} // namespace quillon
