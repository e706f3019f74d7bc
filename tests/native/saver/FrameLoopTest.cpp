#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "base/Texts.h"
#include "base/Errors.h"
#include "base/Random.h"
#include "codecs/PictureLoader.h"
#include "codecs/TestPictures.h"
#include "images/ImageShelf.h"
#include "images/PictureEffects.h"
#include "images/RandomPicture.h"
#include "motion/MotionPaths.h"
#include "pattern/PluginCalls.h"
#include "pattern/TestMethod.h"
#include "saver/BackgroundPictureLoad.h"
#include "saver/FrameLoop.h"
#include "saver/PictureFade.h"
#include "saver/StoredRun.h"
#include "FrameLoopTestView.h"
#include "saver/SourcePicture.h"
#include "settings/MemorySettingsStore.h"
#include "support/AllocationCounter.h"
#include "support/ErrorRecorder.h"
#include "support/TempFolder.h"
#include "WorkerWait.h"

namespace tessivane {
namespace {

namespace fs = std::filesystem;
using testing::AsFrontEnd;
using testing::ErrorRecorder;
using testing::TempFolder;

// A BMP file of one colour.
testing::Bytes SolidBmp(int width, int height, uint32_t rgb) {
  Bitmap picture(width, height);
  picture.Fill(rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16);
  return testing::Rgb24(picture).Write();
}

bool OneColour(const FrameBitmap& image) {
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if (image.PixelRgb(x, y) != image.PixelRgb(0, 0)) return false;
  return true;
}

constexpr DateTime kStart = 46000.25;
constexpr double kSecond = 1.0 / 86400.0;
constexpr Point kClient{320, 200};

class FrameLoopTest : public ::testing::Test {
protected:
  void SetUp() override { SetErrorDisplay(&recorder); }
  void TearDown() override { SetErrorDisplay(nullptr); }

  // A run of the store's records, as the Windows saver makes one, used as
  // a pointer to its frame loop.
  class RecordsRun {
  public:
    explicit RecordsRun(std::unique_ptr<StoredRun> run) : run_(std::move(run)) {}
    FrameLoop* operator->() const { return &run_->Loop(); }
    FrameLoop& operator*() const { return run_->Loop(); }
    const StoredRun& Records() const { return *run_; }
    void reset() { run_.reset(); }

  private:
    std::unique_ptr<StoredRun> run_;
  };
  RecordsRun Loop(bool preview = false, MethodFactory factory = &CreateMethodByType) {
    return RecordsRun(std::make_unique<StoredRun>(
        preview, store, ProgramRandom(), [this] { return now; }, factory));
  }
  void Put(const std::string& name, const std::string& text) { store.PutText("Settings", name, text); }
  // Folder mode on `folder`, a new picture every second.
  void UseFolderChangingEverySecond(const TempFolder& folder) {
    Put("FileType", "3");
    Put("ImageFolderName", folder.Path());
    Put("ImageChangeTime", "1");
  }
  // Each seed drawn is the next number, so that every picture change draws
  // from a sequence of its own.
  void CountSeeds() {
    countingSeeds.emplace([this] { return nextSeed++; });
  }
  // The frame boundaries of a picture change, without frames: waits for
  // each decode and switches, until the change has ended (the folder's
  // "." and ".." entries are drawn and dropped like damaged pictures).
  static void SettlePictureChange(FrameLoop& loop, Point client = kClient) {
    for (int i = 0; i < 100 && loop.PictureChangePending(); ++i) {
      loop.WaitForPicture();
      loop.SwitchPictureIfReady(client);
    }
    ASSERT_FALSE(loop.PictureChangePending());
  }

  MemorySettingsStore store;
  ErrorRecorder recorder;
  ScopedSeedSource seed{FixedSeed(20261207)};
  uint32_t nextSeed = 1;
  std::optional<ScopedSeedSource> countingSeeds;  // after `seed`: ends before it
  DateTime now = kStart;
};

TEST(FrameInterval, WeightTimesTenOrTheSlideShowStepAsAnUnsignedTimerInterval) {
  EXPECT_EQ(FrameInterval(1, kMoveLine), 10u);
  EXPECT_EQ(FrameInterval(99, kMoveCurve), 990u);
  EXPECT_EQ(FrameInterval(1, kMoveSlideShow), 100u);
  EXPECT_EQ(FrameInterval(99, kMoveSlideShow), 49100u);
  // An edited store: Weight 0 stops the timer, negative weights wrap to huge
  // intervals instead of overflowing.
  EXPECT_EQ(FrameInterval(0, kMoveLine), 0u);
  EXPECT_EQ(FrameInterval(0, kMoveSlideShow), 4294966896u);
  EXPECT_EQ(FrameInterval(-1, kMoveLine), 4294967286u);
  EXPECT_EQ(FrameInterval(INT32_MAX, kMoveLine), 4294967286u);
}

TEST(ChooseRunMethodType, PluginSwitchWinsOverTheMethodAndRandomIsResolved) {
  MemorySettingsStore store;
  store.PutText("Settings", "UnitType", std::to_string(MethodTypeToCode(3)));
  store.PutText("Settings", "TransType", "2");
  EXPECT_EQ(RunConfigOf(MainSettings(store), MethodOptions(store)).MethodType, kMethodTypePlugin);
  EXPECT_EQ(RunConfigOf(MainSettings(store), MethodOptions(store)).FallbackMethodType, 3);
  EXPECT_EQ(ChooseRunMethodType(3, "0000000000", ProgramRandom()), 3);
  std::string onlyFloral(10, '0');
  onlyFloral[MethodTypeToCode(7)] = '1';
  EXPECT_EQ(ChooseRunMethodType(kMethodTypeRandom, onlyFloral, ProgramRandom()), 7);
}

TEST_F(FrameLoopTest, EmptyStoreRunsTheKaleidoscopeOnTheRandomPictureAndWritesTheRecordsBack) {
  auto loop = Loop();
  EXPECT_FALSE(loop->FolderMode());
  EXPECT_EQ(loop->Config().ChangeSeconds, 60);
  ASSERT_TRUE(loop->ActivateAndWait(kClient));
  EXPECT_FALSE(loop->ActivateAndWait(kClient)) << "only the first activation sets the run up";
  EXPECT_EQ(loop->FrameComposer()->UnitType(), 1);
  EXPECT_EQ(loop->Config().CutSide, 32);
  EXPECT_EQ(loop->Config().Speed, 3);
  EXPECT_EQ(loop->Config().FrameIntervalMs, 10u);
  EXPECT_EQ(loop->LastImageChange(), kStart);

  Bitmap expected(kRandomImageWidth, kRandomImageHeight);
  MakeRandomImage(expected, ProgramRandom());
  EXPECT_EQ(loop->FrameComposer()->SourceForTesting(), expected);
  EXPECT_TRUE(FrameLoopTestView(*loop).SourceBitmap().Empty())
      << "the composer took the picture over: no second copy";

  const FrameBitmap first = loop->MakeFrame();
  EXPECT_EQ(loop->FinishFrame(kClient), 10u);
  const FrameBitmap& second = loop->MakeFrame();
  EXPECT_EQ(second.Width(), kClient.x);
  EXPECT_EQ(second.Height(), kClient.y);
  EXPECT_FALSE(OneColour(second));
  EXPECT_NE(first, second) << "the sampling position moves between frames";
  EXPECT_TRUE(recorder.shown.empty());

  loop.reset();
  EXPECT_EQ(store.Text("Settings", "FileType"), "1");
  EXPECT_EQ(store.Text("Settings", "Size"), "8");
  EXPECT_EQ(store.Text("Settings", "UnitType"), std::to_string(MethodTypeToCode(1)));
  EXPECT_EQ(store.Text("Settings", "ImageChangeTime"), "60");
  MemorySettingsStore empty;
  EXPECT_EQ(store.Text("Option", "Random"), MethodOptions(empty).Random);
}

TEST_F(FrameLoopTest, AValueThatIsNotTextRunsWithItsDefaultAndTheStoreIsLeftAsItWas) {
  store.PutDword("Settings", "Size", 20);
  Put("Move", "5");
  store.PutRaw("Option", "Rotate", kStoredBinary, {9});
  const auto before = store.contents();
  auto loop = Loop();
  EXPECT_EQ(loop.Records().Settings().UnreadableValues(), std::vector<std::string>{"Size"});
  EXPECT_EQ(loop.Records().Options().UnreadableValues(), std::vector<std::string>{"Rotate"});
  ASSERT_TRUE(loop->Activate(kClient));
  EXPECT_EQ(loop->Config().CutSide, 32);
  EXPECT_EQ(loop->Config().Speed, 5);
  loop->MakeFrame();
  EXPECT_TRUE(recorder.shown.empty()) << "the shell reports the value, not the frame loop";
  loop.reset();
  EXPECT_EQ(store.contents(), before);
}

// With whole frames (the renderer) and with the tile alone (the saver window).
TEST_F(FrameLoopTest, FramesBetweenImageChangesAllocateNothing) {
  TempFolder folder("tessivane-loop-alloc");
  folder.Write("a.bmp", SolidBmp(64, 64, 0x00FF00));
  Put("FileType", "3");
  Put("ImageFolderName", folder.Path());
  for (const bool makesFrames : {true, false}) {
    SCOPED_TRACE(makesFrames);
    auto loop = Loop();
    loop->SetMakesFrames(makesFrames);
    ASSERT_TRUE(loop->ActivateAndWait({640, 360}));
    loop->MakeFrame();
    testing::AllocationCounter counter;
    for (int i = 0; i < 20; ++i) {
      now += 0.01 * kSecond;
      loop->MakeFrame();
      loop->FinishFrame({640, 360});
    }
    EXPECT_EQ(counter.Count(), 0u);
    EXPECT_EQ(loop->FrameComposer()->Image().Empty(), !makesFrames);
  }
}

TEST_F(FrameLoopTest, SettingsOfTheRunAreCopiedAtEachLoad) {
  Put("Size", "16");
  Put("Move", "7");
  Put("Weight", "99");
  Put("MovePositionType", "2");
  Put("MonoTone", "1");
  Put("ShadeOff", "1");
  Put("Shuffle", "1");
  Put("BrightnessChange", "1");
  auto loop = Loop();
  ASSERT_TRUE(loop->ActivateAndWait(kClient));
  EXPECT_EQ(loop->Config().CutSide, 64);
  EXPECT_EQ(loop->Config().Speed, 7);
  EXPECT_EQ(loop->Config().FrameIntervalMs, 49100u);
  EXPECT_TRUE(loop->FrameComposer()->SettingsForTesting().shuffle);
  EXPECT_TRUE(loop->FrameComposer()->SettingsForTesting().brightness);
  // Blur first, then monotone.
  Bitmap expected(kRandomImageWidth, kRandomImageHeight);
  MakeRandomImage(expected, ProgramRandom());
  BlurBitmap(expected);
  MonotoneBitmap(expected);
  EXPECT_EQ(loop->FrameComposer()->SourceForTesting(), expected);

  // Weight 0 (only an edited store holds it): the timer is handed 0 and stays stopped.
  FrameLoopTestView(*loop).Settings().FrameIntervalMs = FrameInterval(0, kMoveLine);
  loop->LoadSourceImage();
  EXPECT_EQ(loop->FinishFrame(kClient), 0u);
}

TEST_F(FrameLoopTest, AspectStepReachesOnlyTheRectangleAndNoConversionMethods) {
  store.PutText("Option", "XY", "2");
  store.PutText("Option", "NoneXY", "-3");
  for (int type : {5, 6, 1}) {
    Put("UnitType", std::to_string(MethodTypeToCode(type)));
    auto loop = Loop();
    ASSERT_TRUE(loop->ActivateAndWait(kClient));
    const int32_t aspect = type == 5 ? 2 : type == 6 ? -3 : 0;
    EXPECT_EQ(PieceAspectOf(loop->Config(), loop->FrameComposer()->UnitType()), aspect) << type;
    const Point piece = Composer::PieceSizeFor(type, 32, aspect);
    EXPECT_EQ(loop->FrameComposer()->PieceForTesting().Width(), piece.x) << type;
    EXPECT_EQ(loop->FrameComposer()->PieceForTesting().Height(), piece.y) << type;
  }
  EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(FrameLoopTest, MethodChoiceFollowsThePluginSwitchAndTheRandomOption) {
  std::string onlySpiral(10, '0');
  onlySpiral[MethodTypeToCode(11)] = '1';
  store.PutText("Option", "Random", onlySpiral);
  Put("UnitType", std::to_string(MethodTypeToCode(kMethodTypeRandom)));
  {
    auto loop = Loop();
    ASSERT_TRUE(loop->ActivateAndWait(kClient));
    EXPECT_EQ(loop->FrameComposer()->UnitType(), 11);
  }
  // The plug-in switch: a library that does not load ends the run with the
  // box of error 7, which names the file.
  Put("TransType", "2");
  const std::string missing = (fs::temp_directory_path() / "tessivane-no-such-plugin.dll").string();
  Put("DllFileName", missing);
  auto loop = Loop();
  EXPECT_THROW(AsFrontEnd([&] { loop->ActivateAndWait(kClient); }), UnitFailed);
  EXPECT_EQ(loop->FrameComposer()->UnitType(), kMethodTypePlugin);
  EXPECT_EQ(loop->FrameComposer()->Error().number, kErrPluginLoad);
  EXPECT_EQ(recorder.shown, std::vector<std::string>{FormatUnitError(kErrPluginLoad, DetailFile(missing))});
}

// A runner whose run always ends before the plug-in answers, as when a key
// closes the saver window while a plug-in is still being asked.
struct RunEndsFirst : PluginCallRunner {
  PluginAnswers Ask(const PluginQuestion&) override { throw PluginRunEnded(); }
};

TEST_F(FrameLoopTest, RunEndingWhileThePluginIsAskedShowsNothingAndKeepsTheSourceKind) {
  TempFolder folder("tessivane-loop-run-ends");
  folder.Write("a.bmp", SolidBmp(200, 200, 0x123456));
  Put("FileType", "3");
  Put("ImageFolderName", folder.Path());
  Put("TransType", "2");
  Put("DllFileName", "slow.dll");
  RunEndsFirst runner;
  SetPluginCallRunner(&runner);
  auto loop = Loop();
  EXPECT_THROW(loop->ActivateAndWait(kClient), PluginRunEnded);
  SetPluginCallRunner(nullptr);
  loop.reset();
  EXPECT_TRUE(recorder.shown.empty());
  // A unit error of the set-up would have stored the random picture (1).
  EXPECT_EQ(store.Text("Settings", "FileType"), "3");
}

TEST_F(FrameLoopTest, MethodWithoutClassShowsErrorSixAndLoadsNothing) {
  TempFolder folder("tessivane-loop-noclass");
  Put("UnitType", "42");  // loads as type 0
  Put("FileType", "2");
  // A picture that loads, so that an empty source means it was never read.
  Put("BmpFileName", folder.Write("a.bmp", SolidBmp(64, 64, 0x00FF00)));
  auto loop = Loop(/*preview=*/true);
  EXPECT_THROW(AsFrontEnd([&] { loop->ActivateAndWait(kClient); }), UnitFailed);
  EXPECT_EQ(recorder.shown, std::vector<std::string>{FormatUnitError(kErrBadMethod, "")});
  EXPECT_TRUE(FrameLoopTestView(*loop).SourceBitmap().Empty());
  EXPECT_THROW(loop->MakeFrame(), SilentAbort);
  loop.reset();
  EXPECT_EQ(store.Text("Settings", "FileType"), "2") << "only a set-up error resets the source kind";
}

TEST_F(FrameLoopTest, SourceSmallerThanOneAndAHalfCutsShowsErrorFiveAndStoresTheRandomPicture) {
  TempFolder folder("tessivane-loop-small");
  Put("FileType", "2");
  const std::string small = folder.Write("small.bmp", SolidBmp(47, 200, 0x336699));
  Put("BmpFileName", small);
  for (bool preview : {false, true}) {
    recorder.shown.clear();
    auto loop = Loop(preview);
    EXPECT_THROW(AsFrontEnd([&] { loop->ActivateAndWait(kClient); }), UnitFailed);
    // The preview hides picture errors, not composer errors; the picture's
    // name follows the error's own text.
    EXPECT_EQ(recorder.shown, std::vector<std::string>{FormatUnitError(kErrSourceTooSmall, small)});
    EXPECT_TRUE(loop->StoresRandomPicture());
    loop.reset();
    EXPECT_EQ(store.Text("Settings", "FileType"), "1");
    Put("FileType", "2");
  }
  // 48 pixels are exactly 1.5 cuts of 32: accepted.
  Put("BmpFileName", folder.Write("enough.bmp", SolidBmp(48, 48, 0x336699)));
  recorder.shown.clear();
  auto loop = Loop();
  EXPECT_TRUE(loop->ActivateAndWait(kClient));
  EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(FrameLoopTest, PictureErrorsPropagateWithTheirMessageExceptInPreview) {
  TempFolder empty("tessivane-loop-empty");
  struct Case {
    std::string fileType, file, folder;
  } cases[] = {{"2", empty.Path() + "/missing.png", ""},
               {"2", empty.Write("bad.jpg", {0xFF, 0xD8, 0xFF, 0x00}), ""},
               {"3", "", empty.Path()}};
  for (const Case& c : cases) {
    Put("FileType", c.fileType);
    Put("BmpFileName", c.file);
    Put("ImageFolderName", c.folder);
    {
      auto loop = Loop();
      try {
        loop->ActivateAndWait(kClient);
        ADD_FAILURE() << "no error for " << c.file << c.folder;
      } catch (const SilentAbort&) {
        ADD_FAILURE() << "the error lost its message";
      } catch (const std::exception& e) {
        // The file or folder is named before the error's own text.
        if (c.fileType == "3") {
          EXPECT_EQ(e.what(), c.folder + "\r\n" + "イメージファイルが存在しません。");
        } else {
          EXPECT_NE(dynamic_cast<const PictureError*>(&e), nullptr) << e.what();
          EXPECT_NE(std::string(e.what()).find(c.file), std::string::npos) << e.what();
        }
      }
    }
    auto preview = Loop(true);
    EXPECT_THROW(preview->ActivateAndWait(kClient), SilentAbort);
    EXPECT_TRUE(recorder.shown.empty());
    preview.reset();
    EXPECT_EQ(store.Text("Settings", "FileType"), c.fileType) << "a picture error keeps the source kind";
  }
}

TEST_F(FrameLoopTest, FolderPictureChangesOnceTheChangeTimeHasPassedByAMillisecond) {
  TempFolder folder("tessivane-loop-change");
  folder.Write("red.bmp", SolidBmp(64, 64, 0xFF0000));
  folder.Write("blue.bmp", SolidBmp(64, 64, 0x0000FF));
  UseFolderChangingEverySecond(folder);
  CountSeeds();
  auto loop = Loop();
  EXPECT_TRUE(loop->FolderMode());
  ASSERT_TRUE(loop->ActivateAndWait(kClient));
  std::set<uint32_t> colours{loop->FrameComposer()->SourceForTesting().PixelRgb(0, 0)};

  const auto frameAt = [&](double seconds) {
    now = kStart + seconds * kSecond;
    loop->MakeFrame();
    return loop->FinishFrame(kClient);
  };
  EXPECT_EQ(frameAt(0.5), 10u);
  EXPECT_EQ(loop->LastImageChange(), kStart);
  frameAt(1.0009);  // less than 1 ms past the due moment counts as the moment itself
  EXPECT_EQ(loop->LastImageChange(), kStart);
  EXPECT_FALSE(loop->PictureChangePending());
  frameAt(1.002);  // the change begins: a picture is drawn and decoded elsewhere
  EXPECT_TRUE(loop->PictureChangePending());
  EXPECT_EQ(loop->LastImageChange(), kStart);
  for (double t = 1.012; loop->PictureChangePending(); t += 0.01) {
    loop->WaitForPicture();
    frameAt(t);  // a later frame's end switches to it
  }
  EXPECT_EQ(loop->LastImageChange(), now);
  const DateTime changed = now;
  colours.insert(loop->FrameComposer()->SourceForTesting().PixelRgb(0, 0));
  frameAt(1.5);
  EXPECT_EQ(loop->LastImageChange(), changed);
  EXPECT_FALSE(loop->PictureChangePending());
  for (double t = 3; t < 40; t += 1.5) {
    frameAt(t);
    now += 0.01 * kSecond;
    SettlePictureChange(*loop);
    colours.insert(loop->FrameComposer()->SourceForTesting().PixelRgb(0, 0));
  }
  EXPECT_EQ(colours, (std::set<uint32_t>{0xFF0000, 0x0000FF})) << "both pictures are drawn over many changes";

  // The folder emptied meanwhile: the reload's error ends the frames.
  fs::remove(folder.Path() + "/red.bmp");
  fs::remove(folder.Path() + "/blue.bmp");
  now += 2 * kSecond;
  loop->FinishFrame(kClient);
  EXPECT_THROW(SettlePictureChange(*loop), std::runtime_error);
  EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(FrameLoopTest, ChangeTimeZeroReloadsAfterEveryFrameAMillisecondLater) {
  TempFolder folder("tessivane-loop-zero");
  folder.Write("a.bmp", SolidBmp(64, 64, 0x00FF00));
  Put("FileType", "3");
  Put("ImageFolderName", folder.Path());
  Put("ImageChangeTime", "0");
  auto loop = Loop();
  ASSERT_TRUE(loop->ActivateAndWait(kClient));
  // A reload at the same moment would keep the same time stamp: whether a
  // change is pending tells it, and the new content of the file shows
  // which picture the composer took.
  folder.Write("a.bmp", SolidBmp(64, 64, 0x0000FF));
  loop->FinishFrame(kClient);
  EXPECT_FALSE(loop->PictureChangePending()) << "same moment: no reload";
  EXPECT_EQ(loop->FrameComposer()->SourceForTesting().PixelRgb(0, 0), 0x00FF00u);
  now += 0.002 * kSecond;
  loop->FinishFrame(kClient);
  EXPECT_TRUE(loop->PictureChangePending());
  SettlePictureChange(*loop);
  EXPECT_EQ(loop->LastImageChange(), now);
  EXPECT_EQ(loop->FrameComposer()->SourceForTesting().PixelRgb(0, 0), 0x0000FFu);
  loop->FinishFrame(kClient);
  EXPECT_FALSE(loop->PictureChangePending()) << "same moment as the switch: no reload";
  now += 0.002 * kSecond;
  loop->FinishFrame(kClient);
  EXPECT_TRUE(loop->PictureChangePending());
}

// The picture of a change, the pictures dropped on the way and the
// generator afterwards are those of a load on the window's thread (as
// GetImage does it), however many frames pass while the pictures decode.
TEST_F(FrameLoopTest, FolderChangeDrawsAndDropsAsALoadInPlaceWould) {
  TempFolder folder("tessivane-loop-order");
  folder.Write("red.bmp", SolidBmp(64, 64, 0xFF0000));
  folder.Write("blue.png", SolidBmp(64, 64, 0x0000FF));  // a BMP by content: loads
  folder.Write("green.bmp", SolidBmp(64, 64, 0x00FF00));
  folder.Write("bad.jpg", {0xFF, 0xD8, 0xFF, 0x00});
  folder.Write("notes.txt", {'h', 'i'});
  UseFolderChangingEverySecond(folder);
  std::set<uint32_t> colours;
  for (uint32_t changeSeed = 1; changeSeed <= 12; ++changeSeed) {
    Bitmap expected;
    uint32_t seedAfter = 0;
    {
      ScopedSeedSource fixed(FixedSeed(changeSeed));
      ImageShelf(folder.Path()).GetImage(expected, ProgramRandom());
      seedAfter = RandSeed();
    }
    now = kStart;
    auto loop = Loop();
    ASSERT_TRUE(loop->ActivateAndWait(kClient));
    ScopedSeedSource fixed(FixedSeed(changeSeed));
    now = kStart + 2 * kSecond;
    loop->FinishFrame(kClient);
    int boundaries = 0;
    while (loop->PictureChangePending()) {
      loop->MakeFrame();  // frames draw from the generator meanwhile
      SetRandSeed(RandSeed() ^ 0x5A5A5A5Au);
      loop->WaitForPicture();
      now += 0.01 * kSecond;
      loop->FinishFrame(kClient);
      ASSERT_LT(++boundaries, 10);
    }
    EXPECT_EQ(loop->FrameComposer()->SourceForTesting(), expected) << changeSeed;
    EXPECT_EQ(loop->LastImageChange(), now);
    // The composer was set up from the generator where the draws left it.
    SetRandSeed(seedAfter);
    const std::unique_ptr<MotionPath> path =
        MakeMotionPath(kMoveLine, 0, 0, loop->Config().Speed, Point{64 - 32, 64 - 32}, ProgramRandom());
    EXPECT_EQ(loop->FrameComposer()->MotionForTesting()->DX, path->DX) << changeSeed;
    colours.insert(expected.PixelRgb(0, 0));
  }
  EXPECT_EQ(colours.size(), 3u) << "all three pictures drawn over the seeds";
  EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(FrameLoopTest, FolderWhosePicturesAllFailEndsWithTheEmptyFolderError) {
  TempFolder folder("tessivane-loop-allbad");
  folder.Write("a.bmp", SolidBmp(64, 64, 0x00FF00));
  UseFolderChangingEverySecond(folder);
  for (bool preview : {false, true}) {
    folder.Write("a.bmp", SolidBmp(64, 64, 0x00FF00));
    auto loop = Loop(preview);
    ASSERT_TRUE(loop->ActivateAndWait(kClient));
    folder.Write("a.bmp", {'B', 'M', 0});  // damaged after the start
    now += 2 * kSecond;
    const auto finishAll = [&] {
      loop->FinishFrame(kClient);
      SettlePictureChange(*loop);
    };
    if (preview) {
      EXPECT_THROW(finishAll(), SilentAbort);
    } else {
      try {
        finishAll();
        ADD_FAILURE() << "no error";
      } catch (const SilentAbort&) {
        ADD_FAILURE() << "the error lost its message";
      } catch (const std::runtime_error& e) {
        EXPECT_EQ(e.what(), folder.Path() + "\r\n" + "イメージファイルが存在しません。");
      }
    }
    EXPECT_FALSE(loop->PictureChangePending());
    EXPECT_EQ(loop->FrameComposer()->SourceForTesting().PixelRgb(0, 0), 0x00FF00u) << "the old picture stays";
    EXPECT_TRUE(recorder.shown.empty());
    now = kStart;
  }
}

// A run that ends while a large picture decodes does not wait for it; the
// worker ends by itself and frees what it held (the sanitizer build checks
// the freeing).
TEST_F(FrameLoopTest, RunEndingDuringADecodeEndsAtOnceAndTheWorkerStillEnds) {
  TempFolder folder("tessivane-loop-inflight");
  UseFolderChangingEverySecond(folder);
  Put("ShadeOff", "1");
  folder.Write("a.bmp", SolidBmp(2400, 1800, 0x3366CC));
  auto loop = Loop();
  ASSERT_TRUE(loop->ActivateAndWait(kClient));
  now += 2 * kSecond;
  loop->FinishFrame(kClient);
  ASSERT_TRUE(loop->PictureChangePending());
  const auto start = std::chrono::steady_clock::now();
  loop.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
  WaitForWorkersToEnd();
}

TEST_F(FrameLoopTest, FolderModeIsFixedWhenTheRunBeginsButTheSourceKindIsReadAtEachLoad) {
  TempFolder folder("tessivane-loop-fixed");
  folder.Write("a.bmp", SolidBmp(64, 64, 0x00FF00));
  Put("ImageFolderName", folder.Path());
  Put("ImageChangeTime", "1");
  Put("FileType", "3");
  {
    auto loop = Loop();
    ASSERT_TRUE(loop->ActivateAndWait(kClient));
    EXPECT_EQ(loop->FrameComposer()->SourceForTesting().Width(), 64);
    FrameLoopTestView(*loop).Settings().Source = kFileTypeRandom;
    now += 5 * kSecond;
    loop->FinishFrame(kClient);
    EXPECT_EQ(loop->LastImageChange(), now);
    EXPECT_EQ(loop->FrameComposer()->SourceForTesting().Width(), kRandomImageWidth);
  }
  Put("FileType", "1");
  auto loop = Loop();
  ASSERT_TRUE(loop->ActivateAndWait(kClient));
  const DateTime start = now;
  FrameLoopTestView(*loop).Settings().Source = kFileTypeFolder;
  now += 5 * kSecond;
  loop->FinishFrame(kClient);
  EXPECT_EQ(loop->LastImageChange(), start);
}

// A unit whose second frame fails with error 13.
class FailingUnit : public testing::TestMethod {
protected:
  UnitFailure PaintTile(Bitmap& tile) override {
    if (++frames_ == 2) return {.number = kErrPluginUnusable};
    return TestMethod::PaintTile(tile);
  }

private:
  int frames_ = 0;
};

std::unique_ptr<ConversionMethod> MakeFailingUnit(int, const ComposerParams&) {
  return std::make_unique<FailingUnit>();
}

TEST_F(FrameLoopTest, FrameErrorIsShownWithTheComposersNumberAndEndsTheFrames) {
  auto loop = Loop(false, &MakeFailingUnit);
  ASSERT_TRUE(loop->ActivateAndWait(kClient));
  loop->MakeFrame();
  EXPECT_THROW(AsFrontEnd([&] { loop->MakeFrame(); }), UnitFailed);
  EXPECT_EQ(recorder.shown, std::vector<std::string>{FormatUnitError(kErrPluginUnusable, "")});
}

// Whether every pixel of the frame repeats the tile from (0, 0).
bool TiledWith(const FrameBitmap& frame, const Bitmap& tile) {
  if (tile.Empty()) return false;
  for (int y = 0; y < frame.Height(); ++y)
    for (int x = 0; x < frame.Width(); ++x) {
      const uint8_t* t = tile.Row(y % tile.Height()) + (x % tile.Width()) * 3;
      if (frame.PixelRgb(x, y) != (uint32_t{t[2]} << 16 | uint32_t{t[1]} << 8 | t[0])) return false;
    }
  return true;
}

// A window that takes another size after the set-up (the preview taking
// its parent's size, a monitor added) gets frames of the new size at once,
// painted all over, while the picture and the motion go on: the frames
// match those of a run that kept the old size, over the part they share.
TEST_F(FrameLoopTest, ResizeGivesWholeFramesOfTheNewSizeAndKeepsTheMotion) {
  constexpr Point kDesign{641, 448};
  constexpr Point kLarger{800, 600};
  auto resized = Loop();
  auto kept = Loop();
  resized->Resize(kLarger);  // before the set-up: nothing to resize yet
  EXPECT_EQ(resized->FrameComposer(), nullptr);
  ASSERT_TRUE(resized->Activate(kDesign));
  ASSERT_TRUE(kept->Activate(kDesign));
  EXPECT_EQ(resized->MakeFrame(), kept->MakeFrame());

  resized->Resize(kLarger);
  const FrameBitmap& now = resized->FrameComposer()->Image();
  EXPECT_EQ(now.Width(), kLarger.x);
  EXPECT_EQ(now.Height(), kLarger.y);
  EXPECT_TRUE(TiledWith(now, resized->FrameComposer()->Method()->Tile()))
      << "the next paint shows no black part";

  for (int i = 0; i < 3; ++i) {
    const FrameBitmap& large = resized->MakeFrame();
    const FrameBitmap& small = kept->MakeFrame();
    ASSERT_EQ(large.Width(), kLarger.x);
    bool same = true;
    for (int y = 0; y < kDesign.y; ++y)
      for (int x = 0; x < kDesign.x; ++x) same = same && large.PixelRgb(x, y) == small.PixelRgb(x, y);
    EXPECT_TRUE(same) << "frame " << i << " continues the same motion";
    EXPECT_TRUE(TiledWith(large, resized->FrameComposer()->Method()->Tile()));
  }

  // A minimised window (no client area) and back, and a size no frame can
  // have, which leaves the frame as it was.
  resized->Resize({0, 0});
  EXPECT_TRUE(resized->MakeFrame().Empty());
  EXPECT_THROW(resized->Resize({1 << 20, 1 << 20}), std::length_error);
  resized->Resize(kDesign);
  EXPECT_EQ(resized->FrameComposer()->Image().Width(), kDesign.x);
  EXPECT_EQ(resized->MakeFrame().Height(), kDesign.y);
  EXPECT_TRUE(recorder.shown.empty());
}

// The set-up used to catch everything, so an allocation failure showed unit
// error 0 and switched the stored source to the random picture. It shows
// the out-of-memory message with the picture's name and keeps the source.
class HungryUnit : public testing::TestMethod {
  UnitFailure BuildMap() override { throw std::bad_alloc(); }
};

TEST_F(FrameLoopTest, AllocationFailureInTheSetUpIsNeitherAUnitErrorNorABadSource) {
  TempFolder folder("tessivane-loop-hungry");
  const std::string picture = folder.Write("a.bmp", SolidBmp(64, 64, 0x00FF00));
  Put("FileType", "3");
  Put("ImageFolderName", folder.Path());
  auto loop = Loop(false, [](int, const ComposerParams&) -> std::unique_ptr<ConversionMethod> {
    return std::make_unique<HungryUnit>();
  });
  EXPECT_THROW(loop->ActivateAndWait(kClient), SilentAbort);
  EXPECT_EQ(recorder.shown, std::vector<std::string>{picture + "\r\n" + Tr(TextId::kOutOfMemory)});
  EXPECT_FALSE(loop->StoresRandomPicture());
}

// A run description with a value no run can take is one error, naming
// the value, when the loop takes it; the values at each bound run.
TEST_F(FrameLoopTest, ARunDescriptionOutsideWhatARunTakesIsOneErrorWhenTheLoopTakesIt) {
  const struct {
    const char* name;
    void (*set)(RunConfig&, int32_t);
    int32_t bad, good;
  } cases[] = {
      {"Source", [](RunConfig& c, int32_t v) { c.Source = static_cast<uint8_t>(v); }, 4, 3},
      {"Source", [](RunConfig& c, int32_t v) { c.Source = static_cast<uint8_t>(v); }, 0, 1},
      {"Motion", [](RunConfig& c, int32_t v) { c.Motion = static_cast<uint8_t>(v); }, 3, 2},
      {"ChangeSeconds", [](RunConfig& c, int32_t v) { c.ChangeSeconds = v; }, -1, 0},
      {"FadeTenths", [](RunConfig& c, int32_t v) { c.FadeTenths = v; }, 51, 50},
      {"FadeTenths", [](RunConfig& c, int32_t v) { c.FadeTenths = v; }, -1, 0},
  };
  for (const auto& c : cases) {
    RunConfig config;
    c.set(config, c.bad);
    try {
      FrameLoop loop(false, config, ProgramRandom());
      ADD_FAILURE() << c.name << " " << c.bad << " was taken";
    } catch (const std::invalid_argument& e) {
      const std::string said = "the run's " + std::string(c.name) + " is " + std::to_string(c.bad) + ",";
      EXPECT_EQ(std::string(e.what()).rfind(said, 0), 0u) << e.what();
    }
    c.set(config, c.good);
    EXPECT_NO_THROW(FrameLoop(false, config, ProgramRandom())) << c.name << " " << c.good;
  }
}

TEST_F(FrameLoopTest, HostileNumbersInTheStoreNeverCrashTheRun) {
  // Every hostile size fails the set-up; the one sound size lets the
  // hostile moves reach the frames.
  const char* sizes[] = {"-3", "0", "7", "65", "1073741824", "2147483647", "8"};
  const char* moves[] = {"0", "-5", "2147483647"};
  int runsWithFrames = 0;
  for (const char* size : sizes) {
    for (const char* move : moves) {
      Put("Size", size);
      Put("Move", move);
      Put("Weight", "-1");
      Put("ImageChangeTime", "-7");
      auto loop = Loop();
      EXPECT_EQ(loop->Config().ChangeSeconds, 60);
      try {
        if (loop->ActivateAndWait(kClient)) {
          for (int i = 0; i < 3; ++i) loop->MakeFrame();
          ++runsWithFrames;
        }
      } catch (const UnitFailed& e) {
        ShowUnitError(e.Failure());  // as the front end does
      } catch (const SilentAbort&) {
        EXPECT_FALSE(recorder.shown.empty()) << size << " " << move;
      }
      recorder.shown.clear();
    }
  }
  EXPECT_EQ(runsWithFrames, 3) << "each hostile move made frames with the sound size";
}

// The worker decoding a picture change must get the entry's full path: a
// bare name was opened in the current folder, which here holds a picture
// named like the folder's text file.
TEST_F(FrameLoopTest, PictureChangesShowOnlyPicturesOfTheChosenFolder) {
  TempFolder folder("tessivane-loop-own-folder");
  folder.Write("red.bmp", SolidBmp(64, 64, 0xFF0000));
  folder.Write("notes.txt", {'h', 'i'});
  TempFolder current("tessivane-loop-current-folder");
  current.Write("notes.txt", SolidBmp(64, 64, 0x0000FF));
  struct CurrentFolder {
    fs::path before = fs::current_path();
    ~CurrentFolder() { fs::current_path(before); }
  } restore;
  fs::current_path(fs::u8path(current.Path()));
  UseFolderChangingEverySecond(folder);
  CountSeeds();
  auto loop = Loop();
  ASSERT_TRUE(loop->ActivateAndWait(kClient));
  std::set<uint32_t> colours{loop->FrameComposer()->SourceForTesting().PixelRgb(0, 0)};
  for (int change = 0; change < 20; ++change) {
    now += 2 * kSecond;
    loop->MakeFrame();
    loop->FinishFrame(kClient);
    SettlePictureChange(*loop);
    colours.insert(loop->FrameComposer()->SourceForTesting().PixelRgb(0, 0));
  }
  EXPECT_EQ(colours, std::set<uint32_t>{0xFF0000});
}

// The piece size was worked out in 32 bits: a stored "Size" of 536870912
// wrapped it to INT32_MIN and the composer then overflowed subtracting it.
// Every numeric value at the extremes of a 32-bit integer, one at a time,
// either runs or fails with a shown error, and is written back as read.
TEST_F(FrameLoopTest, ExtremeStoredNumbersRunOrFailCleanlyAndAreWrittenBackAsRead) {
  const int64_t extremes[] = {
      INT32_MIN,  int64_t{INT32_MIN} + 1, -1073741824, -536870912, -1, 0, 1, 536870912,
      1073741824, INT32_MAX - 1,          INT32_MAX};
  const std::pair<const char*, const char*> values[] = {{"Settings", "Size"},
                                                        {"Settings", "Move"},
                                                        {"Settings", "Weight"},
                                                        {"Settings", "ImageChangeTime"},
                                                        {"Settings", "FileType"},
                                                        {"Settings", "UnitType"},
                                                        {"Settings", "BrightnessChange"},
                                                        {"Settings", "MonoTone"},
                                                        {"Settings", "ShadeOff"},
                                                        {"Settings", "Shuffle"},
                                                        {"Settings", "TransType"},
                                                        {"Settings", "MovePositionType"},
                                                        {"Option", "NoneXY"},
                                                        {"Option", "XY"},
                                                        {"Option", "Rotate"}};
  TempFolder folder("tessivane-loop-extremes");
  folder.Write("a.bmp", SolidBmp(64, 64, 0x00FF00));
  for (const auto& [subkey, name] : values) {
    for (const int64_t value : extremes) {
      SCOPED_TRACE(std::string(subkey) + "\\" + name + " = " + std::to_string(value));
      store = MemorySettingsStore();
      // The aspect steps matter only to the methods that read them.
      if (std::string(name) == "XY") Put("UnitType", std::to_string(MethodTypeToCode(5)));
      if (std::string(name) == "NoneXY") Put("UnitType", std::to_string(MethodTypeToCode(6)));
      // The change time matters only to a folder.
      if (std::string(name) == "ImageChangeTime") {
        Put("FileType", "3");
        Put("ImageFolderName", folder.Path());
      }
      store.PutText(subkey, name, std::to_string(value));
      recorder.shown.clear();
      {
        auto loop = Loop();
        try {
          if (loop->ActivateAndWait(kClient)) {
            for (int i = 0; i < 3; ++i) {
              now += 1e6 * kSecond;
              loop->MakeFrame();
              loop->FinishFrame(kClient);
              loop->WaitForPicture();
            }
          }
        } catch (const UnitFailed& e) {
          ShowUnitError(e.Failure());  // as the front end does
        } catch (const SilentAbort&) {
          EXPECT_FALSE(recorder.shown.empty());
        }
        if (std::string(name) == "Size" && !recorder.shown.empty() && value != 8) {
          EXPECT_TRUE(loop->FrameComposer() && (loop->FrameComposer()->Error().number == kErrCutTooLarge ||
                                                loop->FrameComposer()->Error().number == kErrCutTooSmall))
              << "a size out of range is error 1 or 2";
        }
      }  // the records are written back as the loop ends
      if (std::string(name) == "Size" || std::string(name) == "Move" || std::string(name) == "Weight" ||
          std::string(subkey) == "Option") {
        EXPECT_EQ(store.Text(subkey, name), std::to_string(value)) << "written back as read";
      }
    }
  }
}

// A folder picture too small for the cut used to stop the run with error 5
// and switch the stored source to the random picture. It is passed over
// like a damaged picture, at the start and at every change; only a folder
// of nothing usable shows error 5 (with the folder's name), and then the
// next run starts with the random picture.
TEST_F(FrameLoopTest, FolderPicturesTooSmallForTheCutArePassedOver) {
  TempFolder folder("tessivane-loop-toosmall");
  folder.Write("red.bmp", SolidBmp(64, 64, 0xFF0000));
  folder.Write("tiny.png", SolidBmp(40, 40, 0x00FF00));
  folder.Write("thin.bmp", SolidBmp(200, 47, 0x00FF00));
  UseFolderChangingEverySecond(folder);
  CountSeeds();
  for (bool preview : {false, true}) {
    auto loop = Loop(preview);
    ASSERT_TRUE(loop->ActivateAndWait(kClient));
    EXPECT_EQ(loop->FrameComposer()->SourceForTesting().PixelRgb(0, 0), 0xFF0000u);
    for (int change = 0; change < 12; ++change) {
      now += 2 * kSecond;
      loop->MakeFrame();
      loop->FinishFrame(kClient);
      SettlePictureChange(*loop);
      EXPECT_EQ(loop->FrameComposer()->SourceForTesting().PixelRgb(0, 0), 0xFF0000u) << change;
    }
    EXPECT_TRUE(recorder.shown.empty());
    EXPECT_FALSE(loop->StoresRandomPicture());
  }

  // Nothing usable left at a change: the frames stop on error 5.
  auto loop = Loop();
  ASSERT_TRUE(loop->ActivateAndWait(kClient));
  fs::remove(folder.Path() + "/red.bmp");
  folder.Write("bad.jpg", {0xFF, 0xD8, 0xFF, 0x00});
  now += 2 * kSecond;
  loop->FinishFrame(kClient);
  EXPECT_THROW(AsFrontEnd([&] { SettlePictureChange(*loop); }), UnitFailed);
  EXPECT_EQ(recorder.shown, std::vector<std::string>{FormatUnitError(kErrSourceTooSmall, folder.Path())});
  EXPECT_EQ(loop->FrameComposer()->SourceForTesting().PixelRgb(0, 0), 0xFF0000u)
      << "the last picture stays on the screen";
  EXPECT_TRUE(loop->StoresRandomPicture());

  // And at the start, in the preview too (a composer error shows there).
  for (bool preview : {false, true}) {
    Put("FileType", "3");
    recorder.shown.clear();
    auto first = Loop(preview);
    EXPECT_THROW(AsFrontEnd([&] { first->ActivateAndWait(kClient); }), UnitFailed);
    EXPECT_EQ(recorder.shown, std::vector<std::string>{FormatUnitError(kErrSourceTooSmall, folder.Path())});
    first.reset();
    EXPECT_EQ(store.Text("Settings", "FileType"), "1");
  }
}

// Reads pictures as LoadPicture does, except for the files named in
// `hungry`, which run out of memory (as a 32-bit process does at a large
// picture), counting their reads.
struct HungryLoader {
  std::shared_ptr<std::set<std::string>> hungry = std::make_shared<std::set<std::string>>();
  std::shared_ptr<std::atomic<int>> reads = std::make_shared<std::atomic<int>>(0);
  int kind = 0;  // bad_alloc, length_error, the loader's own out-of-memory error
  Bitmap operator()(const std::string& path) const {
    if (hungry->count(fs::path(path).filename().string())) {
      ++*reads;
      switch (kind) {
        case 0:
          throw std::bad_alloc();
        case 1:
          throw std::length_error("vector");
        default:
          throw PictureOutOfMemory("not enough memory for the picture");
      }
    }
    return LoadPicture(path);
  }
  // The worker's thread starter: kind 3 has no thread to give while a picture is hungry.
  BackgroundPictureLoad::ThreadStarter Starter() const {
    return [hungry = hungry, reads = reads, kind = kind](std::function<void()> work) {
      if (kind < 3 || hungry->empty()) return std::thread(std::move(work));
      ++*reads;
      throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    };
  }
};

// Running out of memory while the next picture decodes used to count as a
// damaged picture: every file was dropped and the run stopped with "no
// image file" (or showed ":0", "std::bad_alloc." and reset the source).
// The current picture goes on, nothing is dropped, and the next change
// comes at the next change time; no message, no setting changed.
TEST_F(FrameLoopTest, OutOfMemoryAtAChangeKeepsThePictureAndTriesAgainLater) {
  TempFolder folder("tessivane-loop-oom");
  folder.Write("red.bmp", SolidBmp(64, 64, 0xFF0000));
  folder.Write("blue.bmp", SolidBmp(64, 64, 0x0000FF));
  UseFolderChangingEverySecond(folder);
  CountSeeds();
  for (int kind : {0, 1, 2, 3}) {
    HungryLoader loader;
    loader.kind = kind;
    auto loop = Loop();
    loop->UsePictureLoader(loader);
    loop->UseThreadStarter(loader.Starter());
    ASSERT_TRUE(loop->ActivateAndWait(kClient));
    const uint32_t first = loop->FrameComposer()->SourceForTesting().PixelRgb(0, 0);
    *loader.hungry = {"red.bmp", "blue.bmp"};
    for (int change = 0; change < 5; ++change) {
      now += 2 * kSecond;
      loop->MakeFrame();
      const int readsBefore = *loader.reads;
      loop->FinishFrame(kClient);
      SettlePictureChange(*loop);
      EXPECT_EQ(*loader.reads - readsBefore, 1) << "one attempt per change time, nothing dropped";
      EXPECT_EQ(loop->LastImageChange(), now);
      EXPECT_EQ(loop->FrameComposer()->SourceForTesting().PixelRgb(0, 0), first);
      loop->MakeFrame();  // the frames go on
    }
    EXPECT_TRUE(recorder.shown.empty());
    // Memory back: both pictures are still on the shelf.
    loader.hungry->clear();
    std::set<uint32_t> colours;
    for (int change = 0; change < 12; ++change) {
      now += 2 * kSecond;
      loop->FinishFrame(kClient);
      SettlePictureChange(*loop);
      colours.insert(loop->FrameComposer()->SourceForTesting().PixelRgb(0, 0));
    }
    EXPECT_EQ(colours, (std::set<uint32_t>{0xFF0000, 0x0000FF}));
    EXPECT_FALSE(loop->StoresRandomPicture());
  }
}

// A unit whose set-up runs out of memory while setUpsToFail is above zero
// (a factory is a plain function, so the count is the class's own).
class SometimesHungryUnit : public testing::TestMethod {
public:
  static inline int setUpsToFail = 0;
  UnitFailure BuildMap() override {
    if (setUpsToFail > 0) {
      --setUpsToFail;
      throw std::bad_alloc();
    }
    return TestMethod::BuildMap();
  }
};

// The composer's own set-up running out of memory at a change used to show
// the box and stop the frames: the picture being shown was already gone.
// It now goes back to that picture, as a decode that runs out of memory does.
TEST_F(FrameLoopTest, OutOfMemoryInTheSetUpAtAChangeKeepsThePicture) {
  TempFolder folder("tessivane-loop-oom-setup");
  const std::string red = folder.Write("red.bmp", SolidBmp(64, 64, 0xFF0000));
  UseFolderChangingEverySecond(folder);
  int& hungry = SometimesHungryUnit::setUpsToFail;
  hungry = 0;
  auto loop = Loop(false, [](int, const ComposerParams&) -> std::unique_ptr<ConversionMethod> {
    return std::make_unique<SometimesHungryUnit>();
  });
  ASSERT_TRUE(loop->ActivateAndWait(kClient));
  fs::remove(fs::u8path(red));  // every change now draws the blue picture
  folder.Write("blue.bmp", SolidBmp(64, 64, 0x0000FF));
  for (int change = 0; change < 3; ++change) {
    hungry = 1;
    now += 2 * kSecond;
    loop->MakeFrame();
    loop->FinishFrame(kClient);
    SettlePictureChange(*loop);
    EXPECT_EQ(hungry, 0) << "the blue picture's set-up was tried";
    EXPECT_EQ(loop->FrameComposer()->SourceForTesting().PixelRgb(0, 0), 0xFF0000u);
    EXPECT_EQ(loop->LastImageChange(), now) << "the next try comes at the next change time";
    loop->MakeFrame();  // the frames go on
  }
  now += 2 * kSecond;
  loop->FinishFrame(kClient);
  SettlePictureChange(*loop);
  EXPECT_EQ(loop->FrameComposer()->SourceForTesting().PixelRgb(0, 0), 0x0000FFu)
      << "memory back: the change happens";
  EXPECT_TRUE(recorder.shown.empty());
  EXPECT_FALSE(loop->StoresRandomPicture());
}

// With nothing on the screen yet, out of memory for the first picture is
// shown with its own message and the picture's name; the stored source
// kind stays. The preview stays silent, as for any picture that does not load.
TEST_F(FrameLoopTest, OutOfMemoryForTheFirstPictureNamesItAndKeepsTheSettings) {
  TempFolder folder("tessivane-loop-oom-first");
  const std::string picture = folder.Write("big.bmp", SolidBmp(64, 64, 0xFF0000));
  for (const char* fileType : {"2", "3"}) {
    Put("FileType", fileType);
    Put("BmpFileName", picture);
    Put("ImageFolderName", folder.Path());
    for (auto [preview, kind] : {std::pair{false, 0}, {true, 0}, {false, 3}, {true, 3}}) {
      if (kind == 3 && fileType[0] == '3') continue;  // a folder's first draw may be its "." entry
      recorder.shown.clear();
      HungryLoader loader;
      loader.kind = kind;
      *loader.hungry = {"big.bmp"};
      {
        auto loop = Loop(preview);
        loop->UsePictureLoader(loader);
        loop->UseThreadStarter(loader.Starter());
        EXPECT_THROW(loop->ActivateAndWait(kClient), SilentAbort);
        EXPECT_EQ(*loader.reads, 1) << "not dropped and retried like a damaged picture";
      }
      if (preview)
        EXPECT_TRUE(recorder.shown.empty());
      else
        EXPECT_EQ(recorder.shown, std::vector<std::string>{picture + "\r\n" + Tr(TextId::kOutOfMemory)});
      EXPECT_EQ(store.Text("Settings", "FileType"), fileType);
    }
  }
}

// The first picture used to be decoded inside the activation, so a slow
// picture held up the window and its input. Activation returns at once;
// the frames start when the picture is in, and a run that ends first does
// not wait for it.
TEST_F(FrameLoopTest, FirstPictureDecodesWithoutHoldingUpTheActivation) {
  TempFolder folder("tessivane-loop-slow");
  const std::string picture = folder.Write("slow.bmp", SolidBmp(64, 64, 0x0000FF));
  const auto slowLoader = [](const std::string& path) {
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    return LoadPicture(path);
  };
  for (const char* fileType : {"2", "3"}) {
    Put("FileType", fileType);
    Put("BmpFileName", picture);
    Put("ImageFolderName", folder.Path());
    std::atomic<int> ready{0};
    auto loop = Loop();
    loop->UsePictureLoader(slowLoader);
    loop->OnPictureReady([&ready] { ++ready; });
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(loop->Activate(kClient));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    EXPECT_FALSE(loop->FramesReady());
    EXPECT_FALSE(loop->SwitchPictureIfReady(kClient));
    EXPECT_THROW(loop->MakeFrame(), SilentAbort) << "no frame before the picture";
    while (ready == 0 || loop->PictureChangePending()) {  // the folder's "." and ".." come first
      loop->WaitForPicture();
      loop->SwitchPictureIfReady(kClient);
    }
    EXPECT_TRUE(loop->FramesReady());
    EXPECT_EQ(loop->LastImageChange(), now);
    EXPECT_EQ(loop->MakeFrame().PixelRgb(0, 0), 0x0000FFu);

    // Ending the run during the first decode.
    auto ended = Loop();
    ended->UsePictureLoader(slowLoader);
    ASSERT_TRUE(ended->Activate(kClient));
    start = std::chrono::steady_clock::now();
    ended.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
  }
  WaitForWorkersToEnd();
  EXPECT_TRUE(recorder.shown.empty());
}

// A folder on a share that stops answering was listed on the window's
// thread, which locked the user out until it answered. The first picture and
// every change wait for its listing without holding anything up, and a run
// that ends meanwhile ends at once and says nothing.
TEST_F(FrameLoopTest, FolderThatStopsAnsweringHoldsUpNeitherTheFramesNorTheEnd) {
  TempFolder folder("tessivane-loop-stalled");
  folder.Write("a.bmp", SolidBmp(64, 64, 0x00FF00));
  UseFolderChangingEverySecond(folder);
  const auto stalls = std::make_shared<std::atomic<bool>>(false);  // the share stops answering
  const auto lister = [stalls](const std::string& name) {
    while (*stalls) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return ImageShelf(name);
  };
  for (const bool atStart : {true, false}) {
    SCOPED_TRACE(atStart ? "first picture" : "change");
    auto loop = Loop();
    loop->UseFolderLister(lister);
    *stalls = atStart;
    ASSERT_TRUE(loop->Activate(kClient));
    if (!atStart) {
      SettlePictureChange(*loop);
      *stalls = true;
    }
    for (int frame = 0; frame < 3; ++frame) {
      now += 2 * kSecond;
      if (loop->FramesReady()) loop->MakeFrame();
      EXPECT_EQ(loop->FinishFrame(kClient), 10u);
      EXPECT_FALSE(loop->SwitchPictureIfReady(kClient));
      EXPECT_TRUE(loop->PictureChangePending());
    }
    EXPECT_EQ(loop->FramesReady(), !atStart);
    const auto start = std::chrono::steady_clock::now();
    loop.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
  }
  *stalls = false;  // the share answers again: the given-up listings end alone
  WaitForWorkersToEnd();
  EXPECT_TRUE(recorder.shown.empty());
}

// The same change with and without a fade of 0.5 s at 100 ms frames: the
// fading run's piece goes where the other's goes; its tile starts as the old
// picture's, lies between the old and the new one while it fades, and is
// the other run's bit for bit once the fade is over. A fade's frames
// allocate nothing.
TEST_F(FrameLoopTest, AChangeFadesFromTheOldTileToTheNewAlongTheSamePath) {
  TempFolder folder("tessivane-loop-fade");
  UseFolderChangingEverySecond(folder);
  Put("Weight", "10");
  Bitmap gradient(96, 96);
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 96; ++x) gradient.SetPixelRgb(x, y, static_cast<uint32_t>(x * 2 << 8 | y * 2));
  using Frame = std::pair<Point, FrameBitmap>;  // the cut's position and the tile
  size_t fadeAllocations = 0;
  const auto run = [&](const char* fadeTime) {
    Put("FadeTime", fadeTime);
    const std::string red = folder.Write("red.bmp", SolidBmp(64, 64, 0xFF0000));
    auto loop = Loop();
    EXPECT_TRUE(loop->ActivateAndWait(kClient));
    loop->MakeFrame();
    fs::remove(fs::u8path(red));
    const std::string next = folder.Write("next.bmp", testing::Rgb24(gradient).Write());  // the only one now
    now += 2 * kSecond;
    loop->FinishFrame(kClient);
    SettlePictureChange(*loop);
    fs::remove(fs::u8path(next));
    std::vector<Frame> frames;
    for (int i = 0; i < 7; ++i) {
      testing::AllocationCounter counter;
      loop->MakeFrame();
      fadeAllocations += counter.Count();
      frames.push_back(
          {loop->FrameComposer()->MotionForTesting()->Position(), loop->FrameComposer()->TileImage()});
    }
    return frames;
  };
  const std::vector<Frame> cut = run("0");
  const std::vector<Frame> faded = run("5");
  EXPECT_EQ(fadeAllocations, 0u);
  for (size_t i = 0; i < cut.size(); ++i) {
    SCOPED_TRACE(i);
    const auto& [at, tile] = faded[i];
    EXPECT_EQ(at, cut[i].first);
    // Five blended frames (0.5 s at 100 ms), the first already a blend.
    EXPECT_TRUE(i < 5 || tile == cut[i].second) << "the new picture's tile alone";
    for (int y = 0; i < 5 && y < tile.Height(); ++y)
      for (int x = 0; x < tile.Width(); ++x) {
        const uint32_t a = tile.PixelRgb(x, y), b = cut[i].second.PixelRgb(x, y);
        EXPECT_TRUE((a >> 16) > 0 && (a >> 16) < 255 && (a >> 8 & 0xFF) <= (b >> 8 & 0xFF) &&
                    (a & 0xFF) <= (b & 0xFF));
      }
  }
}

// A fade lasts its time whatever paces the frames: the run's interval, the
// front end's own pace (the X11 saver's -delay) or frames as fast as they
// come; shorter than one frame it is a cut.
TEST_F(FrameLoopTest, AFadeLastsItsTimeWhateverPacesTheFrames) {
  TempFolder folder("tessivane-loop-fade-time");
  UseFolderChangingEverySecond(folder);
  struct Case {
    const char* fadeTime;
    const char* weight;
    const char* motion;
    std::optional<uint32_t> pace;
    double frameMs;  // the clock's step from one frame to the next
    int blended;
  } cases[] = {
      {"5", "10", "0", std::nullopt, 100, 5},  // 0.5 s at 100 ms
      {"10", "10", "0", 500, 500, 2},          // -delay 0.5 s: 1 s is two frames, not ten
      {"10", "10", "0", 0, 5, 199},            // -delay 0: frames every 5 ms for 1 s
      {"1", "5", "2", std::nullopt, 2100, 0},  // a slide of 2.1 s: a 0.1 s fade is a cut
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fadeTime + std::string(" ") + std::to_string(c.frameMs));
    Put("FadeTime", c.fadeTime);
    Put("Weight", c.weight);
    Put("MovePositionType", c.motion);
    const std::string red = folder.Write("red.bmp", SolidBmp(64, 64, 0xFF0000));
    auto loop = Loop();
    if (c.pace) loop->SetFramePace(*c.pace);
    ASSERT_TRUE(loop->ActivateAndWait(kClient));
    loop->MakeFrame();
    fs::remove(fs::u8path(red));
    const std::string blue = folder.Write("blue.bmp", SolidBmp(64, 64, 0x0000FF));
    now += 2 * kSecond;
    loop->FinishFrame(kClient);
    SettlePictureChange(*loop);
    fs::remove(fs::u8path(blue));
    int blended = 0;
    for (;; ++blended) {
      now += c.frameMs / 1000 * kSecond;
      loop->MakeFrame();
      const FrameBitmap& tile = loop->FrameComposer()->TileImage();
      if (tile.PixelRgb(0, 0) == 0x0000FFu) break;
      ASSERT_LT(blended, 5000);
    }
    EXPECT_EQ(blended, c.blended);
  }
}

TEST(PictureFade, OutOfMemoryForItsBuffersIsACut) {
  PictureFade fade;
  EXPECT_TRUE(fade.Start(Bitmap(64, 64), {44, 44}, 1, 100));
  EXPECT_FALSE(fade.Start(Bitmap(64, 64), {1 << 20, 1 << 20}, 3, 300));
  EXPECT_FALSE(fade.Active());
}

}  // namespace
}  // namespace tessivane
