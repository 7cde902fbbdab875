#pragma once

#include "fuzz/loader_frame_check.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::fuzz {

// Small valid firmware images for the flash loader, each with the bytes it holds.
struct TestImage {
  std::string text; // the S-record file
  ImageBytes bytes; // address -> byte
};

// One S-record line with a correct count and checksum, ended by LF. `type` is 1, 2 or 3.
std::string recordLine(int type, std::uint32_t address, const std::vector<std::uint8_t>& data);

// A few shapes of image the loader meets: one long run of S3 records across several chunks;
// S3 records with gaps and odd lengths; S1 and S2 records; an image that starts above the
// erase range's start and ends on an odd byte.
const std::vector<TestImage>& testImages();

} // namespace quillon::fuzz
