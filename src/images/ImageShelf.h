// A folder of pictures from which one is drawn at random. The saver
// creates a shelf, calls GetImage once and frees it, each time it needs a
// new picture from the folder.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "base/Bitmap.h"
#include "base/Random.h"

namespace tessivane {

class ImageShelf {
public:
  // Create: lists the folder. Every entry becomes "<folder><delimiter>
  // <name>" (the folder name unchanged, so one ending in the delimiter gives
  // a doubled one, which the file system accepts), whatever its extension.
  // A folder that does not exist or cannot be reached throws
  // std::runtime_error (the folder-not-found message), one that exists but
  // cannot be listed throws it with the unreadable-folder message: neither
  // is taken for a folder that holds no picture.
  // It touches nothing but its own arguments and the shelf, so the saver
  // lists on a worker thread: a folder may take any time to answer.
  explicit ImageShelf(const std::string& folderName);

  // Re-seeds `random` and loads one entry drawn with it
  // into `bitmap`. An entry that does not decode as BMP, JPEG or PNG
  // (whatever its name says) is dropped and another drawn from the same
  // sequence; when none is left, throws std::runtime_error (the no-picture
  // message).
  void GetImage(Bitmap& bitmap, RandomGenerator& random);

  // The steps of GetImage, for a caller that decodes elsewhere: Draw picks
  // an entry with `random` and returns its path; DropDrawn removes the entry
  // last drawn, which could not be used; the next Draw from the same
  // generator goes on with the same sequence. Draw on an empty shelf throws
  // std::runtime_error (the no-picture message).
  const std::string& Draw(RandomGenerator& random);
  void DropDrawn();
  // Takes the entry `path` off the shelf, where it is on it: a change that
  // must show another picture than the one on the screen.
  void Remove(const std::string& path);

  const std::vector<std::string>& Files() const { return files_; }

private:
  std::vector<std::string> files_;
  size_t drawn_ = 0;  // the entry Draw picked last
};

}  // namespace tessivane
