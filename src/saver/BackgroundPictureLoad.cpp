#include "saver/BackgroundPictureLoad.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

#include "codecs/PictureLoader.h"
#include "saver/SourcePicture.h"

namespace tessivane {

// What the worker and the owner share; the last of the two to let go of it
// frees it, so a worker that outlives its owner still has its result to
// write into.
struct BackgroundPictureLoad::Shared {
  mutable std::mutex mutex;
  mutable std::condition_variable done;
  bool ready = false;      // picture or error is set
  bool abandoned = false;  // the owner is gone: no callback, result unused
  Bitmap picture;
  std::exception_ptr error;
  ReadyCallback callback;
  std::thread worker;
};

namespace {

std::atomic<int> runningWorkers{0};

// Counts a worker from before its start until everything it held is freed.
struct WorkerCount {
  WorkerCount() { ++runningWorkers; }
  ~WorkerCount() { --runningWorkers; }
  WorkerCount(const WorkerCount&) = delete;
  WorkerCount& operator=(const WorkerCount&) = delete;
};

}  // namespace

int BackgroundPictureLoad::RunningWorkers() { return runningWorkers.load(); }

BackgroundPictureLoad::BackgroundPictureLoad(std::string path, bool blur, bool monoTone, ReadyCallback ready,
                                             Loader loader, const ThreadStarter& start)
    : path_(std::move(path)), shared_(std::make_shared<Shared>()) {
  shared_->callback = std::move(ready);
  if (!loader) loader = &LoadPicture;
  auto count = std::make_shared<WorkerCount>();
  auto work = [count = std::move(count), shared = shared_, path = path_, loader = std::move(loader), blur,
               monoTone]() mutable {
    // Everything the worker holds is moved into locals, so that all of
    // it is freed before the count (declared first) goes down.
    const std::shared_ptr<WorkerCount> counted = std::move(count);
    const std::shared_ptr<Shared> state = std::move(shared);
    const std::string file = std::move(path);
    const Loader load = std::move(loader);
    Bitmap picture;
    std::exception_ptr error;
    try {
      picture = load(file);
      ApplySourceEffects(picture, blur, monoTone);
    } catch (...) {
      error = std::current_exception();
    }
    std::lock_guard<std::mutex> lock(state->mutex);
    if (state->abandoned) return;  // `picture` is freed here, by this thread
    state->picture = std::move(picture);
    state->error = error;
    state->ready = true;
    state->done.notify_all();
    if (state->callback) state->callback();
  };
  std::lock_guard<std::mutex> lock(shared_->mutex);  // the thread's handle is shared state too
  shared_->worker = start ? start(std::move(work)) : std::thread(std::move(work));
}

BackgroundPictureLoad::~BackgroundPictureLoad() {
  std::thread worker;
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->abandoned = true;
    shared_->picture = Bitmap();
    worker = std::move(shared_->worker);
  }
  // A finished worker has only its return left; one still decoding is let
  // go and ends by itself.
  if (worker.joinable()) {
    if (Ready())
      worker.join();
    else
      worker.detach();
  }
}

bool BackgroundPictureLoad::Ready() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->ready;
}

void BackgroundPictureLoad::Wait() const {
  std::unique_lock<std::mutex> lock(shared_->mutex);
  shared_->done.wait(lock, [this] { return shared_->ready; });
}

Bitmap BackgroundPictureLoad::Take() {
  std::unique_lock<std::mutex> lock(shared_->mutex);
  shared_->done.wait(lock, [this] { return shared_->ready; });
  if (shared_->error) std::rethrow_exception(shared_->error);
  return std::move(shared_->picture);
}

}  // namespace tessivane
