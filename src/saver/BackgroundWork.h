// One piece of slow work (decoding a picture, listing a folder that may sit
// on a share that stops answering) done on a worker thread of its own, so
// that it never holds up the window's thread. The window's thread starts
// it, asks whether it is done at its frame boundaries and takes the result
// there. The worker touches nothing but what its work function owns and the
// state it shares with its owner; an owner that goes first gives the work
// up without waiting, and the worker finishes alone, frees its result and
// ends.
#pragma once
#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace tessivane {

// Called on the worker thread once the result is ready, unless the work
// was given up first. It must not block (the saver window posts itself a
// message).
using WorkReadyCallback = std::function<void()>;
// What starts a worker thread running `work`; a std::thread unless a test
// hands in another (one that fails as a system short of resources).
using WorkerStarter = std::function<std::thread(std::function<void()> work)>;

namespace detail {

inline std::atomic<int> runningWorkers{0};

// Counts a worker from before its start until everything it held is freed.
struct WorkerCount {
  WorkerCount() { ++runningWorkers; }
  ~WorkerCount() { --runningWorkers; }
  WorkerCount(const WorkerCount&) = delete;
  WorkerCount& operator=(const WorkerCount&) = delete;
};

}  // namespace detail

// Worker threads of all background work that have not ended yet, given-up
// work included (tests: given-up work must still end and free its result).
inline int RunningBackgroundWorkers() { return detail::runningWorkers.load(); }

template <typename Result>
class BackgroundWork {
public:
  // Starts a thread that runs `work`. A thread that cannot start throws
  // std::system_error, and nothing is left behind.
  explicit BackgroundWork(std::function<Result()> work, WorkReadyCallback ready = {},
                          const WorkerStarter& start = {});
  // Gives the work up without waiting: a worker still busy finishes on its
  // own, frees its result and ends; its callback is not called any more once
  // this returns.
  ~BackgroundWork();
  BackgroundWork(const BackgroundWork&) = delete;
  BackgroundWork& operator=(const BackgroundWork&) = delete;

  bool Ready() const;
  // Blocks until Ready.
  void Wait() const;
  // Waits, then hands over the result, or throws what the work threw.
  Result Take();

private:
  // What the worker and the owner share; the last of the two to let go of
  // it frees it, so a worker that outlives its owner still has its result
  // to write into.
  struct Shared {
    mutable std::mutex mutex;
    mutable std::condition_variable done;
    bool ready = false;      // result or error is set
    bool abandoned = false;  // the owner is gone: no callback, result unused
    std::optional<Result> result;
    std::exception_ptr error;
    WorkReadyCallback callback;
    std::thread worker;
  };
  std::shared_ptr<Shared> shared_;
};

template <typename Result>
BackgroundWork<Result>::BackgroundWork(std::function<Result()> work, WorkReadyCallback ready,
                                       const WorkerStarter& start)
    : shared_(std::make_shared<Shared>()) {
  shared_->callback = std::move(ready);
  auto count = std::make_shared<detail::WorkerCount>();
  auto run = [count = std::move(count), shared = shared_, work = std::move(work)]() mutable {
    // Everything the worker holds is moved into locals, so that all of
    // it is freed before the count (declared first) goes down.
    const std::shared_ptr<detail::WorkerCount> counted = std::move(count);
    const std::shared_ptr<Shared> state = std::move(shared);
    const std::function<Result()> job = std::move(work);
    std::optional<Result> result;
    std::exception_ptr error;
    try {
      result.emplace(job());
    } catch (...) {
      error = std::current_exception();
    }
    std::lock_guard<std::mutex> lock(state->mutex);
    if (state->abandoned) return;  // `result` is freed here, by this thread
    state->result = std::move(result);
    state->error = error;
    state->ready = true;
    state->done.notify_all();
    if (state->callback) state->callback();
  };
  std::lock_guard<std::mutex> lock(shared_->mutex);  // the thread's handle is shared state too
  shared_->worker = start ? start(std::move(run)) : std::thread(std::move(run));
}

template <typename Result>
BackgroundWork<Result>::~BackgroundWork() {
  std::thread worker;
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->abandoned = true;
    shared_->result.reset();
    worker = std::move(shared_->worker);
  }
  // A finished worker has only its return left; one still busy is let go
  // and ends by itself.
  if (worker.joinable()) {
    if (Ready())
      worker.join();
    else
      worker.detach();
  }
}

template <typename Result>
bool BackgroundWork<Result>::Ready() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->ready;
}

template <typename Result>
void BackgroundWork<Result>::Wait() const {
  std::unique_lock<std::mutex> lock(shared_->mutex);
  shared_->done.wait(lock, [this] { return shared_->ready; });
}

template <typename Result>
Result BackgroundWork<Result>::Take() {
  std::unique_lock<std::mutex> lock(shared_->mutex);
  shared_->done.wait(lock, [this] { return shared_->ready; });
  if (shared_->error) std::rethrow_exception(shared_->error);
  return std::move(*shared_->result);
}

}  // namespace tessivane
