#include "codecs/TestPictures.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <png.h>

#include "codecs/PictureLoader.h"

namespace tessivane::testing {

Bitmap Pattern(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      b.SetPixelRgb(x, y,
                    (uint32_t((x * 255) / std::max(1, width - 1)) << 16) |
                        (uint32_t((y * 255) / std::max(1, height - 1)) << 8) |
                        uint32_t((x * 7 + y * 13) & 255));
  return b;
}

Bytes BmpFile::Write() const {
  ByteWriter info;
  if (headerSize == 12) {
    info.U32(12);
    info.U16(width);
    info.U16(height);
    info.U16(planes);
    info.U16(bitCount);
  } else {
    info.U32(headerSize);
    info.U32(width);
    info.U32(height);
    info.U16(planes);
    info.U16(bitCount);
    info.U32(compression);
    info.U32(static_cast<uint32_t>(sizeImage >= 0 ? sizeImage : static_cast<int64_t>(pixels.size())));
    info.U32(2835);
    info.U32(2835);
    info.U32(colorsUsed);
    info.U32(0);
    if (headerSize >= 52)
      for (int i = 0; i < (headerSize >= 56 ? 4 : 3); ++i) info.U32(masks[i]);
    while (info.bytes.size() < headerSize) info.U8(0);
  }
  ByteWriter pal;
  for (uint32_t c : palette) {
    pal.U8(c);
    pal.U8(c >> 8);
    pal.U8(c >> 16);
    if (headerSize != 12) pal.U8(0);
  }
  const uint32_t offset = static_cast<uint32_t>(14 + info.bytes.size() + extra.size() + pal.bytes.size());
  ByteWriter file;
  file.U8('B');
  file.U8('M');
  file.U32(offset + static_cast<uint32_t>(pixels.size()));
  file.U32(0);
  file.U32(offset);
  file.Put(info.bytes);
  file.Put(extra);
  file.Put(pal.bytes);
  file.Put(pixels);
  return file.bytes;
}

Bytes BmpRows24(const Bitmap& picture, bool topDown) {
  ByteWriter w;
  for (int i = 0; i < picture.Height(); ++i) {
    int y = topDown ? i : picture.Height() - 1 - i;
    const uint8_t* row = picture.Row(y);
    w.bytes.insert(w.bytes.end(), row, row + 3 * picture.Width());
    w.PadTo4();
  }
  return w.bytes;
}

BmpFile Rgb24(const Bitmap& picture, bool topDown) {
  BmpFile f;
  f.width = picture.Width();
  f.height = topDown ? -picture.Height() : picture.Height();
  f.pixels = BmpRows24(picture, topDown);
  return f;
}

Bytes EncodeJpeg(const Bitmap& picture, const JpegOptions& options) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = picture.Width();
  cinfo.image_height = picture.Height();
  if (options.grayscale) {
    cinfo.input_components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
  } else if (options.cmyk) {
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
  } else {
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
  }
  jpeg_set_defaults(&cinfo);
  if (options.cmyk && options.ycck) jpeg_set_colorspace(&cinfo, JCS_YCCK);
  jpeg_set_quality(&cinfo, options.quality, TRUE);
  for (int c = 0; c < cinfo.num_components; ++c)
    cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
  cinfo.dct_method = JDCT_ISLOW;
  if (options.progressive) jpeg_simple_progression(&cinfo);
  std::vector<jpeg_scan_info> script;
  if (options.manyScans) {
    jpeg_scan_info dc{};
    dc.comps_in_scan = cinfo.num_components;
    for (int c = 0; c < cinfo.num_components; ++c) dc.component_index[c] = c;
    script.push_back(dc);
    for (int c = 0; c < cinfo.num_components; ++c)
      for (int band = 0; band < options.acBands; ++band) {
        jpeg_scan_info ac{};
        ac.comps_in_scan = 1;
        ac.component_index[0] = c;
        ac.Ss = 1 + band * 63 / options.acBands;
        ac.Se = (band + 1) * 63 / options.acBands;
        script.push_back(ac);
      }
    cinfo.scan_info = script.data();
    cinfo.num_scans = static_cast<int>(script.size());
  }
  if (options.arithmetic) cinfo.arith_code = TRUE;
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(picture.Width()) * 4);
  while (cinfo.next_scanline < cinfo.image_height) {
    const uint8_t* src = picture.Row(cinfo.next_scanline);
    JSAMPROW rowPointer = const_cast<uint8_t*>(src);
    if (options.grayscale) {
      for (int x = 0; x < picture.Width(); ++x) row[x] = src[3 * x + 1];
      rowPointer = row.data();
    } else if (options.cmyk) {
      // Adobe convention: stored value = 255 - ink, so no black ink is 255.
      for (int x = 0; x < picture.Width(); ++x) {
        row[4 * x] = src[3 * x + 2];
        row[4 * x + 1] = src[3 * x + 1];
        row[4 * x + 2] = src[3 * x];
        row[4 * x + 3] = 255;
      }
      rowPointer = row.data();
    }
    jpeg_write_scanlines(&cinfo, &rowPointer, 1);
  }
  jpeg_finish_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

namespace {

void WriteToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

int Channels(int colorType) {
  switch (colorType) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE:
      return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return 2;
    case PNG_COLOR_TYPE_RGB:
      return 3;
    default:
      return 4;
  }
}

}  // namespace

Bytes PngFile::Write() const {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, WriteToVector, FlushNothing);
  png_set_IHDR(png, info, width, height, bitDepth, colorType,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> plte;
  for (uint32_t c : palette)
    plte.push_back({static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8), static_cast<png_byte>(c)});
  if (!plte.empty()) png_set_PLTE(png, info, plte.data(), static_cast<int>(plte.size()));
  if (!paletteAlpha.empty())
    png_set_tRNS(png, info, paletteAlpha.data(), static_cast<int>(paletteAlpha.size()), nullptr);
  png_write_info(png, info);
  // Pack the samples into rows of the file's layout.
  const int channels = Channels(colorType);
  const size_t rowBytes = (static_cast<size_t>(width) * channels * bitDepth + 7) / 8;
  std::vector<Bytes> rows(height, Bytes(rowBytes, 0));
  for (int y = 0; y < height; ++y)
    for (int i = 0; i < width * channels; ++i) {
      uint32_t v = samples[static_cast<size_t>(y) * width * channels + i];
      if (bitDepth == 16) {
        rows[y][2 * i] = static_cast<uint8_t>(v >> 8);
        rows[y][2 * i + 1] = static_cast<uint8_t>(v);
      } else {
        size_t bit = static_cast<size_t>(i) * bitDepth;
        rows[y][bit / 8] |= static_cast<uint8_t>(v << (8 - bitDepth - bit % 8));
      }
    }
  std::vector<png_bytep> pointers;
  for (auto& r : rows) pointers.push_back(r.data());
  png_write_image(png, pointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Bytes EncodePng(const Bitmap& picture, bool interlaced) {
  PngFile f;
  f.width = picture.Width();
  f.height = picture.Height();
  f.colorType = PNG_COLOR_TYPE_RGB;
  f.interlaced = interlaced;
  for (int y = 0; y < f.height; ++y)
    for (int x = 0; x < f.width; ++x) {
      uint32_t c = picture.PixelRgb(x, y);
      f.samples.insert(f.samples.end(), {uint16_t(c >> 16), uint16_t((c >> 8) & 255), uint16_t(c & 255)});
    }
  return f.Write();
}

std::vector<std::pair<std::string, Bytes>> SeedFiles() {
  std::vector<std::pair<std::string, Bytes>> seeds;
  const Bitmap p = Pattern(13, 9);

  seeds.emplace_back("rgb24.bmp", Rgb24(p).Write());

  BmpFile pal8;
  pal8.width = 5;
  pal8.height = 3;
  pal8.bitCount = 8;
  pal8.colorsUsed = 4;
  pal8.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  pal8.pixels = {0, 1, 2, 3, 0, 0, 0, 0, 3, 2, 1, 0, 3, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0};
  seeds.emplace_back("pal8.bmp", pal8.Write());

  BmpFile rle8 = pal8;
  rle8.compression = 1;
  rle8.pixels = {3, 1, 2, 2, 0, 0, 0, 3, 2, 3, 0, 0, 0, 2, 1, 1, 1, 3, 0, 1};
  seeds.emplace_back("rle8.bmp", rle8.Write());

  BmpFile rle4 = pal8;
  rle4.bitCount = 4;
  rle4.compression = 2;
  rle4.pixels = {5, 0x12, 0, 0, 0, 3, 0x12, 0x30, 0, 2, 1, 1, 1, 0x33, 0, 1};
  seeds.emplace_back("rle4.bmp", rle4.Write());

  BmpFile bf;
  bf.headerSize = 124;
  bf.width = 3;
  bf.height = -2;
  bf.bitCount = 32;
  bf.compression = 3;
  bf.masks[0] = 0x00FF0000;
  bf.masks[1] = 0x0000FF00;
  bf.masks[2] = 0x000000FF;
  bf.masks[3] = 0xFF000000;
  ByteWriter px;
  for (uint32_t v : {0xFF102030u, 0x80FFFFFFu, 0x00000000u, 0x40FF0000u, 0xC000FF00u, 0xFF0000FFu}) px.U32(v);
  bf.pixels = px.bytes;
  seeds.emplace_back("argb32.bmp", bf.Write());

  BmpFile core;
  core.headerSize = 12;
  core.width = 4;
  core.height = 2;
  core.bitCount = 1;
  core.palette = {0xFFFFFF, 0x000000};
  core.pixels = {0x90, 0, 0, 0, 0x60, 0, 0, 0};
  seeds.emplace_back("os2.bmp", core.Write());

  seeds.emplace_back("baseline.jpg", EncodeJpeg(p));
  JpegOptions progressive;
  progressive.progressive = true;
  seeds.emplace_back("progressive.jpg", EncodeJpeg(p, progressive));
  JpegOptions gray;
  gray.grayscale = true;
  seeds.emplace_back("gray.jpg", EncodeJpeg(p, gray));
  JpegOptions ycck;
  ycck.cmyk = ycck.ycck = true;
  seeds.emplace_back("ycck.jpg", EncodeJpeg(p, ycck));
  JpegOptions arith;
  arith.arithmetic = true;
  seeds.emplace_back("arithmetic.jpg", EncodeJpeg(p, arith));

  seeds.emplace_back("rgb.png", EncodePng(p));
  seeds.emplace_back("interlaced.png", EncodePng(p, true));
  PngFile pal;
  pal.width = 3;
  pal.height = 2;
  pal.colorType = PNG_COLOR_TYPE_PALETTE;
  pal.bitDepth = 2;
  pal.palette = {0xFF0000, 0x00FF00, 0x0000FF};
  pal.paletteAlpha = {255, 128};
  pal.samples = {0, 1, 2, 2, 1, 0};
  seeds.emplace_back("palette.png", pal.Write());
  PngFile ga;
  ga.width = 2;
  ga.height = 2;
  ga.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
  ga.bitDepth = 16;
  ga.samples = {0, 65535, 65535, 0, 32768, 32768, 1000, 60000};
  seeds.emplace_back("gray-alpha16.png", ga.Write());
  return seeds;
}

Bitmap Decode(const Bytes& file) { return DecodePicture(file.data(), file.size()); }

std::string ErrorOf(const Bytes& file) {
  try {
    Decode(file);
  } catch (const PictureError& e) {
    return e.Reason();
  }
  return "(decoded)";
}

}  // namespace tessivane::testing
