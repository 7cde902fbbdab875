#pragma once

#include <compare>
#include <filesystem>
#include <set>
#include <string>

namespace quillon::testing {

struct ShownNotice {
  std::string caption;
  std::string text;
  auto operator<=>(const ShownNotice&) const = default;
};

// Every notice the wizard can show, as the user would see it: the driver and the instruction
// pages are walked down every road that ends in a notice (a missing and an outdated
// Orbfix.dat, a page that cannot be created, F9, the screen checks' NO answers, a missing
// firmware file), and the device pages' failure tables are read as the pages use them.
// `releaseOrbfix` is the Orbfix.dat the walks run on; its firmware file is left out, so the
// firmware-load page stops at its first check.
std::set<ShownNotice> NoticesTheProgramShows(const std::filesystem::path& releaseOrbfix);

// The captions of every notice written into the program's sources ("NOTICE E:4", "NOTICE"),
// from string literals outside comments: a notice added anywhere shows up here.
std::set<std::string> NoticeCaptionsInSources(const std::filesystem::path& sourceRoot);

} // namespace quillon::testing
