#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <sys/types.h>

namespace quillon::sim {

// The device's end of the serial cable: the master side of a pseudo-terminal (whose slave the
// host opens), or a real serial port for a null-modem cable.
class SerialLine {
public:
  // Creates a raw pseudo-terminal; when linkPath is not empty a symbolic link there points
  // at the slave (an old link in the way is replaced). Null, with `error`, on failure.
  static std::unique_ptr<SerialLine> OpenPty(const std::string& linkPath, std::string& error);
  // Opens a real serial port, raw 8N1 at 115200 baud.
  static std::unique_ptr<SerialLine> OpenPort(const std::string& devicePath, std::string& error);

  ~SerialLine();
  SerialLine(const SerialLine&) = delete;
  SerialLine& operator=(const SerialLine&) = delete;

  // The descriptor to poll; -1 once the cable was pulled.
  int fd() const { return fd_; }
  // The path the host opens: the slave of the pseudo-terminal, or the real port.
  const std::string& hostPath() const { return hostPath_; }

  // The line rate bytes travel at now. On a pseudo-terminal that is what the host set (the
  // pair shares one termios); on a real port it is the rate the device listens at.
  int baud() const;
  // A real port follows the device's protocol; a pseudo-terminal keeps the host's setting.
  void listenAt(int baud);

  // Bytes the device sent that the host has not read yet; 0 on a real port, which cannot tell.
  std::size_t unreadByHost() const;

  // Closes the device's end: the host sees a hang-up, and the link, if any, is removed.
  void hangUp();

  // Non-blocking transfers; -1 with errno as the system left it.
  ssize_t readSome(std::uint8_t* buffer, std::size_t size);
  ssize_t writeSome(const std::uint8_t* buffer, std::size_t size);

private:
  SerialLine() = default;

  int fd_ = -1;
  int slaveKeeper_ = -1; // our own hold on the slave, so the master never sees a hang-up
  bool pty_ = false;
  int lastBaud_ = 115200;
  std::string hostPath_;
  std::string linkPath_;
};

} // namespace quillon::sim
