#include "shell/FramePainter.h"

#include <cstring>
#include <new>

namespace tessivane {

BITMAPINFO TopDownDib(int width, int height) {
  BITMAPINFO info{};
  BITMAPINFOHEADER& header = info.bmiHeader;
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = -height;  // rows from the top
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  return info;
}

void FramePainter::Paint(HDC dc, const FrameBitmap& image) {
  if (!dc || image.Empty()) return;
  const BITMAPINFO info = TopDownDib(image.Width(), image.Height());
  const auto height = static_cast<UINT>(image.Height());
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(image.Width()), height, 0, 0, 0, height, image.Data(), &info,
                    DIB_RGB_COLORS);
}

void TilePainter::Paint(HDC dc, const FrameBitmap& tile, int width, int height) {
  if (!dc || tile.Empty()) return;
  if (tile.Width() != width_ || tile.Height() != height_) {
    brush_.reset();
    bitmap_.reset();
    bits_ = nullptr;
    width_ = height_ = 0;
    const BITMAPINFO info = TopDownDib(tile.Width(), tile.Height());
    bitmap_.reset(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
    if (!bitmap_ || !bits_) throw std::bad_alloc();
    width_ = tile.Width();
    height_ = tile.Height();
  }
  GdiFlush();  // the GDI is done with the bitmap before its pixels change
  std::memcpy(bits_, tile.Data(), tile.Stride() * static_cast<size_t>(tile.Height()));
  brush_.reset(CreatePatternBrush(bitmap_.get()));
  if (!brush_) throw std::bad_alloc();
  Repaint(dc, width, height);
}

void TilePainter::Repaint(HDC dc, int width, int height) const {
  if (!dc || !brush_) return;
  SetBrushOrgEx(dc, 0, 0, nullptr);
  ScopedSelect select(dc, brush_.get());
  PatBlt(dc, 0, 0, width, height, PATCOPY);
}

}  // namespace tessivane
