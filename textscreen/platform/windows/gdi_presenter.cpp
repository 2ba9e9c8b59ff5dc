#include "platform/windows/gdi_presenter.h"

#include <algorithm>
#include <cstring>

namespace textscreen::platform {

bool GdiPresenter::open(HWND window, int32_t width, int32_t height, bool full_screen) {
  if (full_screen) return false;
  window_ = window;
  width_ = width;
  height_ = height;
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;  // top-down: line 0 first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  HDC window_dc = GetDC(window);
  bitmap_dc_ = CreateCompatibleDC(window_dc);
  ReleaseDC(window, window_dc);
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(bitmap_dc_, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap_ == nullptr) return false;
  pixels_ = static_cast<uint32_t*>(bits);
  std::memset(pixels_, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  old_bitmap_ = SelectObject(bitmap_dc_, bitmap_);
  return true;
}

void GdiPresenter::close() {
  if (bitmap_dc_ != nullptr) {
    if (old_bitmap_ != nullptr) SelectObject(bitmap_dc_, old_bitmap_);
    DeleteDC(bitmap_dc_);
  }
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  bitmap_dc_ = nullptr;
  old_bitmap_ = nullptr;
  bitmap_ = nullptr;
  pixels_ = nullptr;
  window_ = nullptr;
  dirty_ = {};
}

void GdiPresenter::upload(const uint32_t* display, int32_t pitch, DisplayLines lines) {
  if (pixels_ == nullptr) return;
  const int32_t first = std::max(lines.first, 0);
  const int32_t end = std::min(lines.end, height_);
  if (first >= end) return;
  // ARGB8888 words are the bitmap's blue, green, red, unused bytes.
  for (int32_t line = first; line < end; ++line) {
    std::memcpy(pixels_ + static_cast<size_t>(line) * static_cast<size_t>(width_),
                display + static_cast<size_t>(line) * static_cast<size_t>(pitch),
                static_cast<size_t>(width_) * 4);
  }
  dirty_ = dirty_.empty() ? DisplayLines{first, end}
                          : DisplayLines{std::min(dirty_.first, first), std::max(dirty_.end, end)};
}

bool GdiPresenter::present() {
  if (window_ == nullptr || dirty_.empty()) return true;
  HDC dc = GetDC(window_);
  BitBlt(dc, 0, dirty_.first, width_, dirty_.end - dirty_.first, bitmap_dc_, 0, dirty_.first,
         SRCCOPY);
  ReleaseDC(window_, dc);
  GdiFlush();
  dirty_ = {};
  return true;
}

void GdiPresenter::repaint(HDC dc) {
  if (bitmap_dc_ != nullptr) BitBlt(dc, 0, 0, width_, height_, bitmap_dc_, 0, 0, SRCCOPY);
}

}  // namespace textscreen::platform
