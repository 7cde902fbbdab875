#pragma once

#include "base/status_codes.h"
#include "link/device_link.h"

namespace quillon::fuzz {

// The device link operations a run can call, and what each is allowed to answer.
enum class LinkOp {
  FindDevice,
  EnterCommandMode,
  ReadDeviceInfo,
  ReadGpsVersion,
  ResetGps,
  StartGpsPassthrough,
  ShutDown,
  ExitGpsPassthrough,
  SetBaud4800,
  SetBaud115200,
  PrepareGpsForLoad,
  ReadByte,
  WriteByte,
  Count,
};

// True when `code` is one of the results the operation documents.
bool isDocumentedResult(LinkOp op, StatusCode code);

// Where the mode machine may go: the mode after `op` ended with `result`, given the mode and
// portFound before it, and whether the operation may succeed from that mode at all.
struct ModeStep {
  bool successAllowed = true;
  LinkMode after = ModeInitial;
};
ModeStep expectedMode(LinkOp op, LinkMode before, bool portFoundBefore, StatusCode result);

const char* opName(LinkOp op);

} // namespace quillon::fuzz
