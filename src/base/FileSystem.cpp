#include "base/FileSystem.h"

namespace tessivane {

bool ReadOnlyFile::ReadAt(uint64_t offset, uint8_t* out, size_t count, size_t& done) {
  done = 0;
  if (!file_) return false;
  if (offset >= size_ || count == 0) return true;
#if defined(_WIN32)
  if (_fseeki64(file_.get(), static_cast<int64_t>(offset), SEEK_SET) != 0) return false;
#else
  if (fseeko(file_.get(), static_cast<off_t>(offset), SEEK_SET) != 0) return false;
#endif
  done = std::fread(out, 1, count, file_.get());
  return done == count || !std::ferror(file_.get());
}

}  // namespace tessivane
