#include "fuzz/link_expectations.h"

#include <algorithm>
#include <iterator>

namespace quillon::fuzz {
namespace {

bool oneOf(StatusCode code, std::initializer_list<StatusCode> codes) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

bool isWriteFailure(StatusCode code) {
  return oneOf(code,
               {KV7GETOVERLAPPEDRESULTERROR, KV7WAITFORSINGLEOBJECTERROR, KV7EVENTNOTCREATED});
}

} // namespace

bool isDocumentedResult(LinkOp op, StatusCode code) {
  switch (op) {
  case LinkOp::FindDevice:
    return oneOf(code, {KV7SUCCESS, KV7NOTFOUND, KV7INVALIDHANDLEVALUE, KV7SETCOMSTATEERROR});
  case LinkOp::EnterCommandMode:
  case LinkOp::ReadDeviceInfo:
  case LinkOp::ReadGpsVersion:
  case LinkOp::ResetGps:
  case LinkOp::StartGpsPassthrough:
  case LinkOp::ShutDown:
    return oneOf(code, {KV7SUCCESS, KV7NOTFOUND, KV7INCORRECTMODE, KV7INVALIDHANDLEVALUE,
                        KV7NORESPONSE, KV7INVALIDRESPONSE}) ||
           isWriteFailure(code);
  case LinkOp::ExitGpsPassthrough:
  case LinkOp::SetBaud4800:
  case LinkOp::SetBaud115200:
    return oneOf(code, {KV7SUCCESS, KV7NOTFOUND, KV7INCORRECTMODE, KV7SETCOMSTATEERROR});
  case LinkOp::PrepareGpsForLoad:
    return oneOf(code, {KV7SUCCESS, KV7NOTFOUND, KV7INCORRECTMODE, KV7INVALIDBAUDRATE,
                        KV7GPSALLOFFNOTSENT, KV7GPSUPDATEFIRMWARENOTSENT});
  case LinkOp::ReadByte:
    return oneOf(code, {KV7SUCCESS, KV7INVALIDRESPONSE});
  case LinkOp::WriteByte:
    return oneOf(code, {KV7SUCCESS, KV7INVALIDHANDLEVALUE}) || isWriteFailure(code);
  case LinkOp::Count:
    break;
  }
  return false;
}

ModeStep expectedMode(LinkOp op, LinkMode before, bool portFoundBefore, StatusCode result) {
  const bool ok = result == KV7SUCCESS;
  switch (op) {
  case LinkOp::FindDevice:
    return {true, ok ? ModeCommand : ModeIdle};
  case LinkOp::EnterCommandMode:
    return {before == ModeIdle || (before != ModeInitial && portFoundBefore),
            ok ? ModeCommand : before};
  case LinkOp::ReadDeviceInfo:
  case LinkOp::ReadGpsVersion:
  case LinkOp::ResetGps:
    return {before == ModeCommand, before};
  case LinkOp::StartGpsPassthrough:
    return {before == ModeCommand, ok ? ModePassthrough : before};
  case LinkOp::ShutDown:
    return {before == ModeCommand, ok ? ModeIdle : before};
  case LinkOp::ExitGpsPassthrough:
    return {before == ModePassthrough, ok ? ModeIdle : before};
  case LinkOp::SetBaud4800:
  case LinkOp::SetBaud115200:
  case LinkOp::PrepareGpsForLoad:
    return {before == ModePassthrough, before};
  case LinkOp::ReadByte:
  case LinkOp::WriteByte:
  case LinkOp::Count:
    break;
  }
  return {true, before};
}

const char* opName(LinkOp op) {
  static constexpr const char* kNames[] = {
      "FindDevice",  "EnterCommandMode",    "ReadDeviceInfo",    "ReadGpsVersion",
      "ResetGps",    "StartGpsPassthrough", "ShutDown",          "ExitGpsPassthrough",
      "SetBaud4800", "SetBaud115200",       "PrepareGpsForLoad", "ReadByte",
      "WriteByte"};
  static_assert(std::size(kNames) == static_cast<std::size_t>(LinkOp::Count));
  return kNames[static_cast<std::size_t>(op)];
}

} // namespace quillon::fuzz
