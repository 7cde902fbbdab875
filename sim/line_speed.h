#pragma once

namespace quillon::sim {

// The output speed, in baud, of the terminal behind `fd` (for a pseudo-terminal's master: the
// speed its slave was set to); -1 when it cannot be read. Read as the number the kernel keeps,
// so a rate the host set as a plain number (the kernel's second termios record, which wine
// 10 uses for every rate, the standard ones included) reads the same as one set with a classic
// speed constant.
int LineSpeedOf(int fd);

} // namespace quillon::sim
