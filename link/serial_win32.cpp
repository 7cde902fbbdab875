// The Windows serial port: a COM port opened for overlapped I/O and one event per transfer. A
// write waits on its event until its own bound; a read waits 300 ms at a time until the
// driver completes it or keeps it far past its time-out.
//
// Every transfer is over when read() or write() returns: it completed, or it was cancelled and
// its cancellation awaited. The driver holds a pointer to the caller's buffer and to the
// OVERLAPPED record while a transfer is pending, so neither may be released before then.
// Nothing is ever left pending between calls, so a receive purge never has a read to abort
// (wine's purge would not abort one anyway).

#include "base/utf16.h"
#include "link/device_protocol.h"
#include "link/serial_port.h"

#include <chrono>
#include <cstdint>
#include <limits>
#include <windows.h>

namespace quillon {
namespace {

namespace dp = device_protocol;
using SteadyClock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Each wait on a pending read's event lasts at most this long.
constexpr DWORD kReadWaitMs = 300;
// A pending read is given its own total time-out and this much more before it is cancelled:
// a driver whose adapter was pulled mid-read may never complete it.
constexpr milliseconds kPendingReadMargin{1000};

constexpr DWORD kPurgeReceiveFlags = PURGE_RXABORT | PURGE_RXCLEAR;
constexpr DWORD kPurgeTransmitFlags = PURGE_TXABORT | PURGE_TXCLEAR;
static_assert(kPurgeReceiveFlags == 0x0A && kPurgeTransmitFlags == 0x05);

// The line-settings record the device link was written against: 28 bytes on Windows.
static_assert(sizeof(DCB) == 28);

constexpr DWORD kMaxTransfer = std::numeric_limits<DWORD>::max();

// Errors with which Windows answers I/O on a port whose USB serial adapter has been removed.
bool MeansDeviceGone(DWORD error) {
  switch (error) {
  case ERROR_ACCESS_DENIED:     // the port's device object went away under the handle
  case ERROR_BAD_COMMAND:       // usbser and most adapter drivers after a surprise removal
  case ERROR_OPERATION_ABORTED: // a transfer the driver dropped; ours are never aborted
  case ERROR_DEVICE_REMOVED:    // the plug-and-play manager's own word for it
  case ERROR_DEVICE_NOT_CONNECTED:
  case ERROR_GEN_FAILURE: // "a device attached to the system is not functioning"
  case ERROR_IO_DEVICE:   // wine: the pseudo-terminal's other side closed (EIO)
  case ERROR_NOT_READY:
  case ERROR_BROKEN_PIPE:
    return true;
  default:
    return false;
  }
}

// What a system error code says about a transfer, in the link's words.
PortFailure TransferFailureOf(DWORD error) {
  const int code = static_cast<int>(error);
  if (MeansDeviceGone(error))
    return {PortError::Gone, code};
  switch (error) {
  case ERROR_TIMEOUT:
  case WAIT_TIMEOUT:
    return {PortError::TimedOut, code};
  case ERROR_NOT_ENOUGH_MEMORY:
  case ERROR_OUTOFMEMORY:
  case ERROR_NO_SYSTEM_RESOURCES:
    return {PortError::NoResources, code};
  default:
    return {PortError::Other, code};
  }
}

// What a failed CreateFile says about the port. A port held by another program is refused
// with "access denied" (the port is opened with share mode 0), not with a sharing violation:
// on a COM port that is busy, not a permission the golfer lacks.
PortFailure OpenFailureOf(DWORD error) {
  const int code = static_cast<int>(error);
  switch (error) {
  case ERROR_ACCESS_DENIED:
  case ERROR_SHARING_VIOLATION:
    return {PortError::Busy, code};
  case ERROR_FILE_NOT_FOUND:
  case ERROR_PATH_NOT_FOUND:
    return {PortError::Gone, code};
  default:
    return TransferFailureOf(error);
  }
}

PortFailure LastFailure() {
  return TransferFailureOf(GetLastError());
}

// One transfer's OVERLAPPED record and its manual-reset event, closed when the transfer ends.
class OverlappedTransfer {
public:
  OverlappedTransfer() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    record_.hEvent = event_;
  }
  ~OverlappedTransfer() {
    if (event_ != nullptr)
      CloseHandle(event_);
  }
  OverlappedTransfer(const OverlappedTransfer&) = delete;
  OverlappedTransfer& operator=(const OverlappedTransfer&) = delete;

  bool created() const { return event_ != nullptr; }
  HANDLE event() const { return event_; }
  OVERLAPPED* record() { return &record_; }

private:
  HANDLE event_;
  OVERLAPPED record_{}; // offsets zero: a serial port has no file position
};

// How a transfer ended: the bytes it moved, and the error when the driver reported one.
struct Completion {
  DWORD count = 0;
  DWORD error = ERROR_SUCCESS;
  bool succeeded() const { return error == ERROR_SUCCESS; }
};

Completion QueryCompletion(HANDLE port, OverlappedTransfer& transfer, bool wait) {
  Completion done;
  if (GetOverlappedResult(port, transfer.record(), &done.count, wait ? TRUE : FALSE) == FALSE)
    done.error = GetLastError();
  return done;
}

// Gives up a pending transfer and waits until the driver has let go of its buffer and record.
// If the transfer finished before the cancel reached it, its real outcome is returned.
Completion CancelAndAwait(HANDLE port, OverlappedTransfer& transfer) {
  CancelIoEx(port, transfer.record());
  return QueryCompletion(port, transfer, true);
}

DCB LineSettings(DWORD baud) {
  DCB dcb{};
  dcb.DCBlength = sizeof(DCB);
  dcb.BaudRate = baud;
  dcb.fBinary = 1;
  dcb.fDtrControl = DTR_CONTROL_DISABLE;
  dcb.fRtsControl = RTS_CONTROL_DISABLE;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  // Everything else stays zero: no flow control of any kind, no parity checks, no error or
  // event characters, and NUL bytes kept (every command goes out with its zero byte).
  return dcb;
}

class Win32SerialPort final : public SerialPort {
public:
  Win32SerialPort() = default;
  ~Win32SerialPort() override { close(); }
  Win32SerialPort(const Win32SerialPort&) = delete;
  Win32SerialPort& operator=(const Win32SerialPort&) = delete;

  PortResult open(const std::string& path) override;
  PortResult applyTimeouts() override;
  PortResult applyLineSettings(int baud) override;
  void close() override;
  bool isOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }
  ReadResult read(std::uint8_t* buffer, std::size_t n) override;
  PortResult write(const std::uint8_t* buffer, std::size_t n) override;
  void purgeReceive() override;
  void purgeTransmit() override;
  bool hasGone() const override { return gone_.has_value(); }

private:
  // What the driver's error means, remembering a removed adapter.
  PortFailure failed(DWORD error) {
    const PortFailure failure = TransferFailureOf(error);
    if (failure.error == PortError::Gone)
      gone_ = failure;
    return failure;
  }
  // Why nothing can be done on the port now, if that is so.
  PortResult unusable() const {
    if (!isOpen())
      return PortFailure{PortError::Other, static_cast<int>(ERROR_INVALID_HANDLE)};
    return gone_;
  }
  ReadResult awaitRead(OverlappedTransfer& transfer, std::size_t n);

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  // Set when the driver said the adapter was removed, with the error it said it with.
  PortResult gone_;
};

PortResult Win32SerialPort::open(const std::string& path) {
  close();
  // Share mode 0: Windows refuses any other open of the port while this handle lives.
  const HANDLE handle = CreateFileW(ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    return OpenFailureOf(GetLastError());
  handle_ = handle;
  gone_.reset();
  return {};
}

PortResult Win32SerialPort::applyTimeouts() {
  if (const PortResult failure = unusable())
    return failure;
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = static_cast<DWORD>(kReadInterval.count());
  timeouts.ReadTotalTimeoutMultiplier = static_cast<DWORD>(kReadTotal.perByte.count());
  timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(kReadTotal.constant.count());
  timeouts.WriteTotalTimeoutMultiplier = static_cast<DWORD>(kWriteTotal.perByte.count());
  timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(kWriteTotal.constant.count());
  if (SetCommTimeouts(handle_, &timeouts) == FALSE)
    return LastFailure();
  return {};
}

PortResult Win32SerialPort::applyLineSettings(int baud) {
  if (const PortResult failure = unusable())
    return failure;
  if (!dp::IsLineSpeed(baud))
    return PortFailure{PortError::Other, static_cast<int>(ERROR_INVALID_PARAMETER)};
  // The whole record is ours, so the port's present settings need not be read first.
  DCB wanted = LineSettings(static_cast<DWORD>(baud));
  if (SetCommState(handle_, &wanted) == FALSE)
    return LastFailure();
  return {};
}

void Win32SerialPort::close() {
  if (!isOpen())
    return;
  CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  gone_.reset();
}

ReadResult Win32SerialPort::read(std::uint8_t* buffer, std::size_t n) {
  if (const PortResult failure = unusable())
    return {0, failure};
  if (buffer == nullptr || n == 0)
    return {};
  // A read of fewer bytes than asked is a success, so an outsized request is simply capped.
  if (n > kMaxTransfer)
    n = kMaxTransfer;
  OverlappedTransfer transfer;
  if (!transfer.created()) {
    const PortFailure failure{PortError::NoResources, static_cast<int>(GetLastError())};
    SetCommMask(handle_, 0);
    return {0, failure};
  }
  if (ReadFile(handle_, buffer, static_cast<DWORD>(n), nullptr, transfer.record()) != FALSE) {
    const Completion done = QueryCompletion(handle_, transfer, false);
    return done.succeeded() ? ReadResult{done.count, {}} : ReadResult{0, failed(done.error)};
  }
  const DWORD error = GetLastError();
  if (error == ERROR_IO_PENDING)
    return awaitRead(transfer, n);
  // wine ends a read that timed out with nothing with ERROR_TIMEOUT: a silent line, no failure.
  return error == ERROR_TIMEOUT ? ReadResult{} : ReadResult{0, failed(error)};
}

ReadResult Win32SerialPort::awaitRead(OverlappedTransfer& transfer, std::size_t n) {
  const auto giveUpAt = kReadTotal.deadlineFor(n) + kPendingReadMargin;
  Completion done;
  for (;;) {
    const DWORD waited = WaitForSingleObject(transfer.event(), kReadWaitMs);
    if (waited == WAIT_OBJECT_0) {
      done = QueryCompletion(handle_, transfer, true);
      break;
    }
    if (waited != WAIT_TIMEOUT || SteadyClock::now() >= giveUpAt) {
      // The wait itself failed, or the driver kept the read far past its own time-out. This
      // cancel is ours, so its ERROR_OPERATION_ABORTED says nothing about the adapter; the
      // bytes that arrived before it are in the buffer all the same and are not thrown away.
      done = CancelAndAwait(handle_, transfer);
      if (done.error == ERROR_OPERATION_ABORTED)
        return {done.count, {}};
      break;
    }
  }
  // wine: the time-out that ends a read with nothing completes it with ERROR_TIMEOUT.
  if (done.succeeded() || done.error == ERROR_TIMEOUT)
    return {done.count, {}};
  return {0, failed(done.error)};
}

PortResult Win32SerialPort::write(const std::uint8_t* buffer, std::size_t n) {
  if (const PortResult failure = unusable())
    return failure;
  if (buffer == nullptr || n > kMaxTransfer)
    return PortFailure{PortError::Other, static_cast<int>(ERROR_INVALID_PARAMETER)};
  OverlappedTransfer transfer;
  if (!transfer.created()) {
    const PortFailure failure{PortError::NoResources, static_cast<int>(GetLastError())};
    SetCommMask(handle_, 0);
    return failure;
  }
  const auto wanted = static_cast<DWORD>(n);
  const auto deadline = kWriteTotal.deadlineFor(n);
  Completion done;
  if (WriteFile(handle_, buffer, wanted, nullptr, transfer.record()) != FALSE) {
    // Completed at once (wine often does): what matters is how much went out.
    done = QueryCompletion(handle_, transfer, false);
  } else if (const DWORD error = GetLastError(); error != ERROR_IO_PENDING) {
    return failed(error);
  } else if (WaitForSingleObject(transfer.event(), static_cast<DWORD>(MsUntil(deadline))) ==
             WAIT_OBJECT_0) {
    done = QueryCompletion(handle_, transfer, false);
  } else {
    // Not done within its bound: take the write back before its buffer goes. Only a write that
    // turns out to have gone out whole after all counts as sent.
    done = CancelAndAwait(handle_, transfer);
    if (done.succeeded() && done.count == wanted)
      return {};
    return PortFailure{PortError::TimedOut, static_cast<int>(WAIT_TIMEOUT)};
  }
  if (!done.succeeded())
    return failed(done.error);
  // The write time-out ends a write early and still reports success: fewer bytes than asked
  // means the device did not get the command or the record.
  if (done.count != wanted)
    return PortFailure{PortError::TimedOut, 0};
  return {};
}

void Win32SerialPort::purgeReceive() {
  if (isOpen())
    PurgeComm(handle_, kPurgeReceiveFlags);
}

void Win32SerialPort::purgeTransmit() {
  if (isOpen())
    PurgeComm(handle_, kPurgeTransmitFlags);
}

} // namespace

std::unique_ptr<SerialPort> MakePlatformSerialPort() {
  return std::make_unique<Win32SerialPort>();
}

} // namespace quillon
