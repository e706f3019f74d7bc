#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "dialogs/MusicDialogModel.h"
#include "settings/MemorySettingsStore.h"
#include "support/FakeMediaPlayer.h"

namespace tessivane::dialogs {
namespace {

using testing::FakePlayerFactory;
using testing::MediaJournal;
using Calls = std::vector<std::string>;

class MusicDialogModelTest : public ::testing::Test {
protected:
  MemorySettingsStore store;
  MediaJournal journal;
};

TEST_F(MusicDialogModelTest, AnEmptyStoreShowsNoMusicAndAnEmptyPath) {
  MusicDialogModel model(FakePlayerFactory(journal), store);
  const MusicControls c = model.ActivationControls();
  EXPECT_FALSE(c.musicOn);
  EXPECT_EQ(c.path, "");
}

TEST_F(MusicDialogModelTest, MusicOnIsStoredOnlyAfterThePlayerOpenedTheFile) {
  store.PutText("BGM", "File", "old.mid");
  MusicDialogModel model(FakePlayerFactory(journal), store);
  store.ClearWrites();
  EXPECT_TRUE(model.Save({true, "C:\\音楽\\loop.wav"}).saved);
  // Opened and closed again by freeing the player; never played.
  EXPECT_EQ(journal.calls, (Calls{"open C:\\音楽\\loop.wav", "free"}));
  EXPECT_EQ(store.writes(), (std::vector<MemorySettingsStore::Write>{{"BGM", "File", "C:\\音楽\\loop.wav"},
                                                                     {"BGM", "Flag", "1"}}));
  EXPECT_TRUE(model.ActivationControls().musicOn);
}

TEST_F(MusicDialogModelTest, AFileThatCannotBeOpenedIsRefusedAndNothingChanges) {
  store.PutText("BGM", "File", "old.mid");
  store.PutText("BGM", "Flag", "0");
  journal.failOpen = true;
  {
    MusicDialogModel model(FakePlayerFactory(journal), store);
    store.ClearWrites();
    const MusicOutcome outcome = model.Save({true, "C:\\a%sb.txt"});
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(outcome.message, "[C:\\a%sb.txt]は再生できません。");
    EXPECT_EQ(model.Save({true, ""}).message, "[]は再生できません。");
    EXPECT_TRUE(store.writes().empty());
    EXPECT_FALSE(model.ActivationControls().musicOn);
  }
  // Written back when the dialog goes: still the old music.
  EXPECT_EQ(store.Text("BGM", "File"), "old.mid");
  EXPECT_EQ(store.Text("BGM", "Flag"), "0");

  MusicDialogModel noPlayer([]() -> std::unique_ptr<MediaPlayer> { throw std::runtime_error("no window"); },
                            store);
  EXPECT_FALSE(noPlayer.Save({true, "loop.wav"}).saved);
}

TEST_F(MusicDialogModelTest, MusicOffStoresAnyPathUntested) {
  journal.failOpen = true;
  MusicDialogModel model(FakePlayerFactory(journal), store);
  EXPECT_TRUE(model.Save({false, "no such file ?*"}).saved);
  EXPECT_EQ(journal.playersMade, 0);
  EXPECT_EQ(store.Text("BGM", "File"), "no such file ?*");
  EXPECT_EQ(store.Text("BGM", "Flag"), "0");
}

TEST_F(MusicDialogModelTest, ARegistryFailureWhileSavingPropagates) {
  MusicDialogModel model(FakePlayerFactory(journal), store);
  store.FailWrite("BGM", "File");
  EXPECT_THROW(model.Save({false, "x.wav"}), RegistryError);
}

}  // namespace
}  // namespace tessivane::dialogs
