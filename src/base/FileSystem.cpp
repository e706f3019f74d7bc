#include "base/FileSystem.h"

namespace tessivane {

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

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

bool WildcardMatch(const std::string& pattern, const std::string& name) {
  if (pattern == "*.*") return true;  // a folder search's "every entry"
  // Greedy matching with one backtrack point: the last '*' seen.
  size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace tessivane
