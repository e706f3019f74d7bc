#include "shell/FramePainter.h"

namespace tessivane {

FramePainter::FramePainter() {
  BITMAPINFOHEADER& header = info_.bmiHeader;
  header.biSize = sizeof header;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
}

void FramePainter::Paint(HDC dc, const FrameBitmap& image) {
  if (!dc || image.Empty()) return;
  BITMAPINFOHEADER& header = info_.bmiHeader;
  header.biWidth = image.Width();
  header.biHeight = -image.Height();  // rows from the top
  const auto height = static_cast<UINT>(image.Height());
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(image.Width()), height, 0, 0, 0, height, image.Data(), &info_,
                    DIB_RGB_COLORS);
}

}  // namespace tessivane
