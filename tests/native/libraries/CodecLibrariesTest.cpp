// The JPEG and PNG libraries link and work in every build (native, and the
// cross-built static ones under Wine): a tiny picture survives a round trip
// through each.
#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>
#include <png.h>

namespace {

constexpr int kWidth = 16;
constexpr int kHeight = 8;

// A smooth RGB gradient: JPEG keeps it within a few levels.
std::vector<uint8_t> Gradient() {
  std::vector<uint8_t> rgb(kWidth * kHeight * 3);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      uint8_t* p = &rgb[(y * kWidth + x) * 3];
      p[0] = static_cast<uint8_t>(x * 16);
      p[1] = static_cast<uint8_t>(y * 32);
      p[2] = 128;
    }
  }
  return rgb;
}

// libjpeg's default error handler ends the process; jump back instead.
struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); }

std::vector<uint8_t> CompressJpeg(const std::vector<uint8_t>& rgb) {
  jpeg_compress_struct info{};
  JpegError error{};
  info.err = jpeg_std_error(&error.mgr);
  error.mgr.error_exit = OnJpegError;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  if (setjmp(error.jump)) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return {};
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = kWidth;
  info.image_height = kHeight;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&rgb[info.next_scanline * kWidth * 3]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

// Returns false when libjpeg reports an error (a damaged stream).
bool DecompressJpeg(const std::vector<uint8_t>& jpeg, std::vector<uint8_t>& rgb, int& width, int& height) {
  jpeg_decompress_struct info{};
  JpegError error{};
  info.err = jpeg_std_error(&error.mgr);
  error.mgr.error_exit = OnJpegError;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  width = static_cast<int>(info.output_width);
  height = static_cast<int>(info.output_height);
  rgb.assign(static_cast<size_t>(width) * height * 3, 0);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = &rgb[info.output_scanline * width * 3];
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

TEST(CodecLibraries, JpegRoundTripKeepsSizeAndColours) {
  const std::vector<uint8_t> rgb = Gradient();
  const std::vector<uint8_t> jpeg = CompressJpeg(rgb);
  ASSERT_GT(jpeg.size(), 4u);
  EXPECT_EQ(jpeg[0], 0xFF);
  EXPECT_EQ(jpeg[1], 0xD8);

  std::vector<uint8_t> back;
  int width = 0, height = 0;
  ASSERT_TRUE(DecompressJpeg(jpeg, back, width, height));
  ASSERT_EQ(width, kWidth);
  ASSERT_EQ(height, kHeight);
  // Lossy, with chroma subsampling: close on average, never far off.
  int worst = 0;
  long total = 0;
  for (size_t i = 0; i < rgb.size(); ++i) {
    const int diff = std::abs(rgb[i] - back[i]);
    worst = std::max(worst, diff);
    total += diff;
  }
  EXPECT_LE(worst, 32);
  EXPECT_LE(total / static_cast<long>(rgb.size()), 4);
}

TEST(CodecLibraries, JpegErrorReturnsInsteadOfEndingTheProgram) {
  std::vector<uint8_t> jpeg = CompressJpeg(Gradient());
  jpeg.resize(20);  // cut inside the headers
  std::vector<uint8_t> back;
  int width = 0, height = 0;
  EXPECT_FALSE(DecompressJpeg(jpeg, back, width, height));
}

// The RGB pixels as a PNG file in memory; empty when writing fails.
std::vector<uint8_t> CompressPng(const std::vector<uint8_t>& rgb) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = kWidth;
  image.height = kHeight;
  image.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr)) return {};
  std::vector<uint8_t> png(size);
  if (!png_image_write_to_memory(&image, png.data(), &size, 0, rgb.data(), 0, nullptr)) return {};
  png.resize(size);
  return png;
}

TEST(CodecLibraries, PngRoundTripIsExact) {
  const std::vector<uint8_t> rgb = Gradient();
  const std::vector<uint8_t> png = CompressPng(rgb);
  ASSERT_FALSE(png.empty());
  EXPECT_EQ(png[1], 'P');

  png_image read{};
  read.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_memory(&read, png.data(), png.size())) << read.message;
  read.format = PNG_FORMAT_RGB;
  ASSERT_EQ(read.width, static_cast<png_uint_32>(kWidth));
  ASSERT_EQ(read.height, static_cast<png_uint_32>(kHeight));
  std::vector<uint8_t> back(PNG_IMAGE_SIZE(read));
  ASSERT_TRUE(png_image_finish_read(&read, nullptr, back.data(), 0, nullptr)) << read.message;
  EXPECT_EQ(back, rgb);
}

TEST(CodecLibraries, PngRefusesACorruptedStream) {
  const std::vector<uint8_t> rgb = Gradient();
  std::vector<uint8_t> png = CompressPng(rgb);
  ASSERT_FALSE(png.empty());
  png[png.size() - 20] ^= 0xFF;  // inside the compressed data: its checksum fails

  png_image read{};
  read.version = PNG_IMAGE_VERSION;
  bool ok = png_image_begin_read_from_memory(&read, png.data(), png.size()) != 0;
  if (ok) {
    read.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> back(PNG_IMAGE_SIZE(read));
    ok = png_image_finish_read(&read, nullptr, back.data(), 0, nullptr) != 0;
  }
  png_image_free(&read);
  EXPECT_FALSE(ok);
}

}  // namespace
