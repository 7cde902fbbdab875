#pragma once

#include "sim/virtual_yardmark.h"

#include <string>

namespace quillon::sim {

// Empty when the device can play these options; otherwise what is wrong, for a person.
std::string CheckOptions(const YardmarkOptions& options);

// One line per fault: its name, its argument and what it does.
std::string DescribeFaults();

} // namespace quillon::sim
