// One picture file decoded, and given its load-time effects, on a worker
// thread (BackgroundWork), so that a large picture never holds up the
// frames. The worker touches nothing but its own file name, flags, loader
// and result.
#pragma once
#include <functional>
#include <string>

#include "base/Bitmap.h"
#include "saver/BackgroundWork.h"

namespace tessivane {

class BackgroundPictureLoad {
public:
  using ReadyCallback = WorkReadyCallback;
  // What reads the file; LoadPicture unless a test hands in another.
  using Loader = std::function<Bitmap(const std::string&)>;
  using ThreadStarter = WorkerStarter;

  // Starts a thread that loads `path` (BMP, JPEG or PNG by content), then
  // blurs it when blur and turns it monotone when monoTone. A thread
  // that cannot start throws std::system_error, and nothing is left behind.
  BackgroundPictureLoad(std::string path, bool blur, bool monoTone, ReadyCallback ready = {},
                        Loader loader = {}, const ThreadStarter& start = {});

  bool Ready() const { return work_.Ready(); }
  // Blocks until Ready.
  void Wait() const { work_.Wait(); }
  // Waits, then hands over the picture, or throws what the load threw
  // (PictureError for a file that does not decode, std::bad_alloc, ...).
  Bitmap Take() { return work_.Take(); }

  const std::string& Path() const { return path_; }

  // Worker threads of all background work that have not ended yet,
  // given-up loads included.
  static int RunningWorkers() { return RunningBackgroundWorkers(); }

private:
  std::string path_;
  BackgroundWork<Bitmap> work_;  // given up, not waited for, when the load is
};

}  // namespace tessivane
