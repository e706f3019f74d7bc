#include "saver/StoredRun.h"

#include <utility>

namespace tessivane {

StoredRun::StoredRun(bool preview, SettingsStore& store, RandomGenerator& random, FrameLoop::Clock now,
                     MethodFactory factory)
    : settings_(std::in_place, store), options_(std::in_place, store) {
  loop_.emplace(preview, RunConfigOf(*settings_, *options_), random, std::move(now), factory);
}

StoredRun::~StoredRun() {
  if (loop_->StoresRandomPicture()) settings_->FileType = kFileTypeRandom;
  loop_.reset();
  settings_.reset();
  options_.reset();
}

}  // namespace tessivane
