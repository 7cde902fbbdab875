#pragma once

#include <windows.h>

namespace quillon {

// One of the program's bitmaps (artwork_numbers.h), loaded from the executable's resources
// and drawn into an owner-drawn picture frame. Released with this object.
class PictureBitmap {
public:
  explicit PictureBitmap(int image);
  ~PictureBitmap();
  PictureBitmap(const PictureBitmap&) = delete;
  PictureBitmap& operator=(const PictureBitmap&) = delete;

  // Answers WM_DRAWITEM for the frame: the dialog's background, then the bitmap centred at its
  // own size times the window's scale, shrunk to fit where the frame is smaller.
  void draw(const DRAWITEMSTRUCT& item) const;

private:
  HBITMAP bitmap_;
  SIZE size_{};
};

} // namespace quillon
