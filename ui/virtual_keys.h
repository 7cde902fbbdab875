#pragma once

namespace quillon {

// The platform-neutral key code page logic speaks (F9 is 120), for a Qt key; 0 for keys the
// pages have no code for.
int VirtualKeyOf(int qtKey);

} // namespace quillon
