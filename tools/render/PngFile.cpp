#include "render/PngFile.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <system_error>

#include "render/RenderOptions.h"

namespace tessivane::render {
namespace {

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

File OpenForWriting(const std::filesystem::path& path) {
#ifdef _WIN32
  return File(_wfopen(path.c_str(), L"wb"));
#else
  return File(std::fopen(path.c_str(), "wb"));
#endif
}

}  // namespace

std::filesystem::path PathFromUtf8(const std::string& name) {
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

void WritePng(const Bitmap& bitmap, const std::string& name) {
  if (bitmap.Empty()) throw RenderError("nothing to write to '" + name + "': the picture is empty");
  const std::filesystem::path target = PathFromUtf8(name);
  std::filesystem::path part = target;
  part += ".part";

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(bitmap.Width());
  image.height = static_cast<png_uint_32>(bitmap.Height());
  image.format = PNG_FORMAT_BGR;
  {
    File file = OpenForWriting(part);
    if (!file) throw RenderError("cannot write '" + name + "'");
    int ok = png_image_write_to_stdio(&image, file.get(), 0, bitmap.Data(),
                                      static_cast<png_int_32>(bitmap.Stride()), nullptr);
    bool closed = std::fclose(file.release()) == 0;
    if (!ok || !closed) {
      std::string why = ok ? "the file could not be completed" : image.message;
      png_image_free(&image);
      std::error_code ignored;
      std::filesystem::remove(part, ignored);
      throw RenderError("cannot write '" + name + "': " + why);
    }
  }
  std::error_code ec;
  std::filesystem::rename(part, target, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(part, ignored);
    throw RenderError("cannot write '" + name + "': " + ec.message());
  }
}

}  // namespace tessivane::render
