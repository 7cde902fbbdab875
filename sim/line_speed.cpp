// Apart from serial_line.cpp: the kernel's termios records cannot share a file with the C
// library's <termios.h>.
#include "sim/line_speed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace quillon::sim {

int LineSpeedOf(int fd) {
  termios2 settings{};
  if (ioctl(fd, TCGETS2, &settings) != 0)
    return -1;
  return static_cast<int>(settings.c_ospeed);
}

} // namespace quillon::sim
