// One picture file decoded, and given its load-time effects, on a worker
// thread, so that a large picture never holds up the frames. The window's
// thread starts the load, asks whether it is done at its frame boundaries
// and takes the result there; the worker touches nothing but its own file
// name, flags and result.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "base/Bitmap.h"

namespace tessivane {

class BackgroundPictureLoad {
public:
  // Called on the worker thread once the result is ready, unless the load
  // was given up first. It must not block (the saver window posts itself
  // a message).
  using ReadyCallback = std::function<void()>;
  // What reads the file; LoadPicture unless a test hands in another.
  using Loader = std::function<Bitmap(const std::string&)>;
  // What starts the worker thread running `work`; a std::thread unless a
  // test hands in another (one that fails as a system short of resources).
  using ThreadStarter = std::function<std::thread(std::function<void()> work)>;

  // Starts a thread that loads `path` (BMP, JPEG or PNG by content), then
  // blurs it when blur and turns it monotone when monoTone. A thread
  // that cannot start throws std::system_error, and nothing is left behind.
  BackgroundPictureLoad(std::string path, bool blur, bool monoTone, ReadyCallback ready = {},
                        Loader loader = {}, const ThreadStarter& start = {});
  // Gives the load up without waiting: a worker still decoding finishes on
  // its own, frees its picture and ends; its callback is not called any
  // more once this returns.
  ~BackgroundPictureLoad();
  BackgroundPictureLoad(const BackgroundPictureLoad&) = delete;
  BackgroundPictureLoad& operator=(const BackgroundPictureLoad&) = delete;

  bool Ready() const;
  // Blocks until Ready.
  void Wait() const;
  // Waits, then hands over the picture, or throws what the load threw
  // (PictureError for a file that does not decode, std::bad_alloc, ...).
  Bitmap Take();

  const std::string& Path() const { return path_; }

  // Worker threads of all loads that have not ended yet, given-up ones
  // included (tests: a given-up load must still end and free its picture).
  static int RunningWorkers();

private:
  struct Shared;
  std::string path_;
  std::shared_ptr<Shared> shared_;
};

}  // namespace tessivane
