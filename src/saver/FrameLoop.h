// The frame loop without the window: the run's description (RunConfig, all
// it knows of the settings), the conversion method, the source picture, the
// composer and the image-change schedule. It owns no settings records and
// writes none: what a run asks to be stored (StoresRandomPicture) goes
// through the front end (saver/StoredRun.h for the Windows saver).
// The front ends drive it through SaverRun (saver/SaverRun.h), which keeps
// the calling order; the front end owns the window, its timer and the
// painting.
//
// A picture file, the first one included, is decoded, blurred and turned
// monotone on a worker thread, and a folder is listed on one, so the window
// shows its background and answers input while a large picture decodes or
// a folder on a share that stops answering is listed. In folder mode the
// picture is drawn on the caller's thread once the listing is in (the
// program's generator lives there); the switch to it, with the composer's
// new set-up, happens on the caller's thread at a frame boundary.
// With a fade time (RunConfig::FadeTime) a change keeps the old picture in
// a PictureFade for the fade's frames, whose tiles blend the old picture
// into the new one; a fade that cannot have its buffers is a cut.
// Everything but the workers' own results is touched by the caller's thread
// only, and a run that ends waits for no worker.
//
// Failures follow one rule. A front end that installs a trouble handler
// (OnTrouble: the saver window, the X11 saver) keeps its run moving
// whatever happens to the picture source or the plug-in: the failure goes
// to the handler, to be shown without stopping the frames, and the run goes
// on. At the start it goes on with the random picture in place of a source
// that cannot be used and with the settings' built-in method in place of a
// plug-in that cannot be used; at a folder's change the picture on screen
// stays and the next change time tries again, so a folder that comes back
// is drawn from again. A change's failure is handed over once until a
// change succeeds. Only what leaves nothing to run with (a method that
// cannot be made at all, a cut that even the random picture cannot give)
// still ends the frames. Without a handler (the renderer) the failure
// propagates instead: an error of the composer as UnitFailed, its failure
// (number, detail, the picture or folder it concerns) unchanged, for the
// front end to show in its own way; an error of the source picture with
// its own message, the file's or folder's name before it, or as
// SilentAbort unseen in preview mode; either way SaverRun leaves the frame
// timer stopped. In folder mode a picture that does not decode or is too
// small for the cut is passed over, and a picture change that runs out of
// memory (a worker thread that cannot start included) keeps the current
// picture and tries again at the next change time. The preview hands no
// picture failure over (it has no box for one); the composer's are handed
// over in the preview too. Each failure is decided once, where it happens,
// as an Outcome that Settle carries out.
#pragma once
#include <cstdint>
#include <functional>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "base/Bitmap.h"
#include "base/DateTime.h"
#include "base/FrameBitmap.h"
#include "base/Point.h"
#include "base/Random.h"
#include "images/ImageShelf.h"
#include "pattern/Composer.h"
#include "saver/BackgroundPictureLoad.h"
#include "saver/BackgroundWork.h"
#include "saver/PictureFade.h"
#include "settings/RunConfig.h"

namespace tessivane {

class FrameLoop {
public:
  using Clock = std::function<DateTime()>;
  static constexpr uint32_t kFirstFrameMs = 100;  // from activation to the first frame

  // A run of `config`. `now` is the clock of the image-change schedule;
  // `factory` makes the unit transforms; `random` is the program's
  // generator, which the loop re-seeds for a folder's draws and which goes
  // on from those draws once their picture is switched to. The image-change
  // time and folder mode are fixed for the whole run.
  FrameLoop(bool preview, RunConfig config, RandomGenerator& random, Clock now = &Now,
            MethodFactory factory = &CreateMethodByType);
  // Frees the source picture and the composer; a run in flight's workers
  // are given up, not waited for.
  ~FrameLoop();
  FrameLoop(const FrameLoop&) = delete;
  FrameLoop& operator=(const FrameLoop&) = delete;

  // The set-up of a run, done on the first call only: chooses the method
  // and creates the composer; the random picture is then made and the
  // composer prepared for clientSize at once, a picture file begins
  // decoding on a worker (SwitchPictureIfReady finishes the set-up). True
  // when this call did the set-up (the caller then arms its frame timer at
  // kFirstFrameMs); false on later calls.
  bool Activate(Point clientSize);
  // Activate, then waits for the first picture and finishes the set-up
  // (tests and measurements; the saver never waits).
  bool ActivateAndWait(Point clientSize);
  // Whether the composer has its first picture and frames can be made.
  bool FramesReady() const { return framesReady_; }

  // The window's client area changed: the frame takes clientSize at once,
  // filled with the current tile; the source picture and the motion go on.
  // Nothing happens before the first activation, which takes the size it
  // is given.
  void Resize(Point clientSize);

  // One frame of the composer. Returns its Image, to be painted at (0, 0);
  // without MakesFrames that is empty and the composer's TileImage, repeated
  // from (0, 0), is the frame.
  const FrameBitmap& MakeFrame();
  // The rest of the frame: in folder mode, once ImageChangeSecs have passed
  // since the last change, the change to a new source picture begins (the
  // folder is listed on a worker, then its picture drawn and decoded on
  // one; another source kind loads at once), and a change in progress goes
  // on (SwitchPictureIfReady). Returns the interval for the frame
  // timer (0: stay stopped).
  uint32_t FinishFrame(Point clientSize);

  // At a frame boundary: when the folder's listing is in, draws its picture
  // and starts decoding it; when the picture being decoded is ready, makes
  // it the source and sets the composer up again for clientSize. In folder
  // mode a picture that did not decode, or is too small for the cut, is
  // dropped from the folder's draw and another one drawn; when none is
  // left the error is thrown (error 5 when a picture was too small, else the
  // empty folder's). Out of memory at a change, in the decode or in the
  // composer's set-up, keeps the current picture and ends the change (the
  // next comes at the next change time); out of memory for the first
  // picture shows the out-of-memory text with the picture's name. True when the
  // source changed. Otherwise throws as LoadSourceImage and SetUpComposer
  // do.
  bool SwitchPictureIfReady(Point clientSize);
  // Whether a folder is being listed or a picture decoded; WaitForPicture
  // blocks until that step is done (tests and measurements; the saver
  // never waits).
  bool PictureChangePending() const { return folderListing_ || pictureLoad_; }
  void WaitForPicture() const;
  // Called on the worker thread when a folder has been listed or a picture
  // has finished decoding (never after this object is gone). Set it before
  // the first frame.
  void OnPictureReady(BackgroundPictureLoad::ReadyCallback ready) { pictureReady_ = std::move(ready); }
  // What reads a picture file on the worker: LoadPicture unless a test
  // hands in another (a slow one, one that runs out of memory).
  void UsePictureLoader(BackgroundPictureLoad::Loader loader) { pictureLoader_ = std::move(loader); }
  // What starts the worker threads: std::thread unless a test hands in
  // another. A worker that cannot start counts as running out of memory.
  void UseThreadStarter(BackgroundPictureLoad::ThreadStarter start) { threadStarter_ = std::move(start); }
  // What lists a folder into a shelf on the worker: the ImageShelf
  // constructor unless a test hands in another (one that stalls like a
  // share that stops answering).
  using FolderLister = std::function<ImageShelf(const std::string& folder)>;
  void UseFolderLister(FolderLister lister) { folderLister_ = std::move(lister); }

  // Loads the source picture of the current source kind and applies its
  // effects. False when it ran out of
  // memory during a change: the current picture stays.
  bool LoadSourceImage();
  // Prepares the composer for clientSize and hands it the loaded picture (which
  // is empty afterwards: the composer's Source is the run's picture, and no
  // second copy is kept or made). On failure the
  // source kind becomes the random picture (and StoresRandomPicture, so the
  // next run starts with one) and UnitFailed is thrown with the unit error; running out of
  // memory shows the out-of-memory text instead, keeps the source kind and
  // throws SilentAbort.
  // `pictureName` (the file, empty for the random picture) goes with
  // error 5 and the out-of-memory message.
  void SetUpComposer(Point clientSize, const std::string& pictureName = {});

  bool Preview() const { return preview_; }

  // Where the run's trouble goes (see the top of this file): called on the
  // caller's thread with the error as the run would otherwise have thrown
  // it, in the middle of a step, so it shows nothing modal itself (the
  // saver window posts it to its own queue). Set it before the first call.
  using TroubleHandler = std::function<void(std::exception_ptr error)>;
  void OnTrouble(TroubleHandler handler) { onTrouble_ = std::move(handler); }
  // The time from the end of one frame to the next when the front end
  // paces its frames itself (the X11 saver's -delay), in ms; a fade's
  // frames are counted from it. Without it the run's own interval paces.
  void SetFramePace(uint32_t ms) { framePace_ = ms; }

  // What the loop shows of its state.
  const RunConfig& Config() const { return config_; }
  const Composer* FrameComposer() const { return composer_.get(); }  // null until the first activation
  DateTime LastImageChange() const { return lastImageChange_; }
  // Whether the source was the folder when the run began: only then does
  // the picture change.
  bool FolderMode() const { return folderMode_; }
  // A set-up error asks that later runs start with the random picture: the
  // front end that stores the settings stores that source kind.
  bool StoresRandomPicture() const { return storesRandomPicture_; }

  // Given to the composer at its creation: false when the caller repeats
  // the tile over the window itself and needs no window-sized frame.
  void SetMakesFrames(bool makesFrames) { makesFrames_ = makesFrames; }

  // The tests' view of the rest (tests/native/saver/FrameLoopTestView.h).
  friend class FrameLoopTestView;

private:
  void UseConfig(RunConfig config);
  void BeginPictureChange(Point clientSize);
  void BeginFolderDraw();
  void DrawFromListing();
  void DecodeNextPicture();
  void StartDecode(std::string path);
  void DropAndDrawNext();
  void PrepareComposer(Point clientSize);
  // Makes the random picture the source kind and returns the composer's
  // unit error (naming the picture when it is too small for the cut).
  UnitFailure FailComposer(UnitFailure failure, const std::string& pictureName);
  bool ChangeComposerPicture(Point clientSize, Bitmap picture, const std::string& path);
  struct Outcome;
  Outcome OutOfMemory(const std::string& name, bool canKeepCurrent) const;
  template <typename Step>
  Outcome LoadStep(const std::string& name, bool passOver, Step step);
  Outcome PrepareStep(Point clientSize, const std::string& name, bool canKeepCurrent);
  bool Settle(const Outcome& outcome);
  bool GoOnAfter(std::exception_ptr error, bool shown);
  bool ReplaceFailedPlugin(const UnitFailure& failure, bool atSetUp);
  void StartWithRandomPicture();
  uint32_t FramePace() const { return framePace_ ? *framePace_ : config_.FrameIntervalMs; }

  bool preview_;
  RunConfig config_;  // what the run does; a set-up error makes its source the random picture
  std::unique_ptr<Composer> composer_;  // null until the first activation
  Bitmap sourceBitmap_;                 // a loaded picture until SetUpComposer hands it over
  PictureFade fade_;                    // the old picture and the blend, while a change fades
  bool folderMode_ = false;
  bool storesRandomPicture_ = false;
  DateTime lastImageChange_ = 0;
  bool firstActivate_ = true;
  bool makesFrames_ = true;
  Clock now_;
  MethodFactory factory_;
  BackgroundPictureLoad::ReadyCallback pictureReady_;
  BackgroundPictureLoad::Loader pictureLoader_;
  BackgroundPictureLoad::ThreadStarter threadStarter_;
  FolderLister folderLister_;
  bool framesReady_ = false;  // the composer was set up with a first picture
  TroubleHandler onTrouble_;
  bool changeTroubleShown_ = false;  // a change's failure was handed over; cleared by a change that succeeds
  bool onRandomPicture_ = false;     // the first picture is the random one: nothing to fall back to
  Point clientSize_{};               // the window's size at the last call that gave one
  std::optional<uint32_t> framePace_;
  DateTime fadeStart_ = 0;
  RandomGenerator& random_;
  // The change in progress: the folder being listed, the folder's shelf
  // (null for a single file), the picture being decoded, whether one was
  // passed over as too small and the sequence of this change's draws.
  std::unique_ptr<BackgroundWork<ImageShelf>> folderListing_;
  std::unique_ptr<ImageShelf> shelf_;
  bool droppedTooSmall_ = false;
  RandomGenerator draws_;
  std::unique_ptr<BackgroundPictureLoad> pictureLoad_;
};

}  // namespace tessivane
