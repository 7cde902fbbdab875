#pragma once

namespace quillon {

// Bitmaps and the icon of the program, by their resource number, and the pixel size each is
// drawn at. The picture frames of the templates are sized from these.
namespace art {
inline constexpr int kAppIcon = 128;
inline constexpr int kReadyScreen = 135;     // the device's screen when it is ready
inline constexpr int kBanner = 141;
inline constexpr int kCableAtDevice = 161;
inline constexpr int kCentreKeyOn = 166;
inline constexpr int kOffKey = 167;
inline constexpr int kCableAtComputer = 176;

struct PixelSize {
  int width = 0;
  int height = 0;
};

// The size of the bitmap with this number; 0 x 0 for a number the program has no bitmap for.
constexpr PixelSize SizeOf(int image) {
  switch (image) {
  case kAppIcon:
    return {32, 32};
  case kReadyScreen:
    return {216, 144};
  case kBanner:
    return {253, 38};
  case kCableAtDevice:
  case kCentreKeyOn:
  case kOffKey:
  case kCableAtComputer:
    return {200, 200};
  default:
    return {};
  }
}
} // namespace art

} // namespace quillon
