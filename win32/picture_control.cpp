#include "win32/picture_control.h"

namespace quillon {
namespace {

constexpr int kStandardDpi = 96;

// GetDpiForWindow exists from Windows 10 1607 on; before that every window is at the
// system's scale, which the screen's device context reports.
int dpiOf(HWND window, HDC dc) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = [] {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const FARPROC found = user32 ? GetProcAddress(user32, "GetDpiForWindow") : nullptr;
    return reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void (*)()>(found));
  }();
  const int dpi =
      getDpiForWindow ? static_cast<int>(getDpiForWindow(window)) : GetDeviceCaps(dc, LOGPIXELSY);
  return dpi > 0 ? dpi : kStandardDpi;
}

} // namespace

PictureBitmap::PictureBitmap(int image)
    : bitmap_(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(image),
                                              IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
  BITMAP info{};
  if (bitmap_ && GetObjectW(bitmap_, sizeof info, &info) != 0)
    size_ = {info.bmWidth, info.bmHeight};
}

PictureBitmap::~PictureBitmap() {
  if (bitmap_)
    DeleteObject(bitmap_);
}

void PictureBitmap::draw(const DRAWITEMSTRUCT& item) const {
  const RECT& frame = item.rcItem;
  FillRect(item.hDC, &frame, GetSysColorBrush(COLOR_BTNFACE));
  if (!bitmap_ || size_.cx <= 0 || size_.cy <= 0)
    return;
  const int roomW = frame.right - frame.left;
  const int roomH = frame.bottom - frame.top;
  const int dpi = dpiOf(item.hwndItem, item.hDC);
  int width = MulDiv(size_.cx, dpi, kStandardDpi);
  int height = MulDiv(size_.cy, dpi, kStandardDpi);
  if (width > roomW || height > roomH) {
    // Keep the proportions: the tighter side decides.
    const bool widthDecides =
        static_cast<long long>(roomW) * size_.cy <= static_cast<long long>(roomH) * size_.cx;
    width = widthDecides ? roomW : MulDiv(size_.cx, roomH, size_.cy);
    height = widthDecides ? MulDiv(size_.cy, roomW, size_.cx) : roomH;
  }
  const int left = frame.left + (roomW - width) / 2;
  const int top = frame.top + (roomH - height) / 2;
  HDC source = CreateCompatibleDC(item.hDC);
  const HGDIOBJ previous = SelectObject(source, bitmap_);
  if (width == size_.cx && height == size_.cy) {
    BitBlt(item.hDC, left, top, width, height, source, 0, 0, SRCCOPY);
  } else {
    SetStretchBltMode(item.hDC, HALFTONE);
    SetBrushOrgEx(item.hDC, 0, 0, nullptr);
    StretchBlt(item.hDC, left, top, width, height, source, 0, 0, size_.cx, size_.cy, SRCCOPY);
  }
  SelectObject(source, previous);
  DeleteDC(source);
}

} // namespace quillon
