// A run of the settings records, as the Windows saver and its preview make
// one: the main and the option record, loaded first (a value of a type they
// cannot read takes its default and is listed in their UnreadableValues),
// and the frame loop of the run they describe (RunConfigOf). When it ends,
// a set-up error's request that later runs start with the random picture
// goes into the main record, and the records write back every value nobody
// stored meanwhile (a record that met an unreadable value writes nothing).
#pragma once
#include <optional>

#include "base/DateTime.h"
#include "base/Random.h"
#include "pattern/MethodTable.h"
#include "saver/FrameLoop.h"
#include "settings/MainSettings.h"
#include "settings/MethodOptions.h"
#include "settings/SettingsStore.h"

namespace tessivane {

class StoredRun {
public:
  StoredRun(bool preview, SettingsStore& store, RandomGenerator& random, FrameLoop::Clock now = &Now,
            MethodFactory factory = &CreateMethodByType);
  // Frees the loop (its picture and composer), then the main record and
  // the option record, which write themselves back in that order.
  ~StoredRun();
  StoredRun(const StoredRun&) = delete;
  StoredRun& operator=(const StoredRun&) = delete;

  FrameLoop& Loop() { return *loop_; }
  const MainSettings& Settings() const { return *settings_; }
  const MethodOptions& Options() const { return *options_; }

private:
  std::optional<MainSettings> settings_;
  std::optional<MethodOptions> options_;
  std::optional<FrameLoop> loop_;
};

}  // namespace tessivane
