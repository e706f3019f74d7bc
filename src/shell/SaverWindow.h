// SaverWindow: the one window of a saver run and of a preview run. Full
// screen, borderless and top-most in saver mode; a child of the preview
// window in preview mode. It closes on a click, a key or a real mouse
// movement (after the password check); in preview mode it ignores input and
// ends when the window it lives in goes away.
#pragma once
#include <windows.h>

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "saver/FrameLoop.h"
#include "saver/StoredRun.h"
#include "saver/SaverRun.h"
#include "shell/FramePainter.h"
#include "shell/MouseWarmUp.h"
#include "shell/MusicThread.h"
#include "shell/PluginHost.h"
#include "shell/RunMode.h"
#include "base/ScopedWin.h"

namespace tessivane {

// A window-message timer with an interval in milliseconds; interval 0
// means stopped.
class WindowTimer {
public:
  explicit WindowTimer(UINT_PTR id) : id_(id) {}
  void Attach(HWND wnd) { wnd_ = wnd; }
  UINT_PTR Id() const { return id_; }
  UINT Interval() const { return interval_; }
  void SetInterval(UINT ms);

private:
  UINT_PTR id_;
  HWND wnd_ = nullptr;
  UINT interval_ = 0;
};

class SaverWindow {
public:
  // Creates the window (hidden) with its owner for a run of `mode` (the
  // saver or the preview); `parent` is the window named on the command
  // line, null for none.
  SaverWindow(HINSTANCE instance, HWND owner, RunMode mode, HWND parent);
  ~SaverWindow();
  SaverWindow(const SaverWindow&) = delete;
  SaverWindow& operator=(const SaverWindow&) = delete;

  HWND Handle() const { return window_.get(); }
  void SetBounds(int left, int top, int width, int height);
  // In saver mode over every monitor (the whole virtual screen), or filling
  // the window named on the command line, with the keyboard focus; in
  // preview mode shown at its bounds without taking the activation from
  // the preview's owner. The run is set up when the window is first shown
  // (the preview's already at its creation).
  void Show();

  // Asked by the program's message loop between messages, so also after
  // this window went away without a word: a preview ends when the window
  // it lives in is gone. False once the run is over.
  bool WatchParent();

private:
  static LRESULT CALLBACK WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);

  void OnCreate();      // loads the settings and makes the run
  void StartRun();      // on activation or first show: the run's start
  void OnDestroy();     // stops the timers and ends the run
  void CloseOnInput();  // a click or a key
  void OnMouseMove(int x, int y);
  void OnFrameTimer();        // one frame
  void OnMouseWarmUpTimer();  // one tick of the mouse's warm-up
  void RestartMouseWarmUp();
  void PictureReady();
  void ShowTroubles();
  std::vector<std::string> StartMusic();  // the music record's unreadable values
  void CoverAllMonitors();
  bool HasParent() const;
  void Close();
  Point ClientSize() const;
  void PaintTile(const FrameBitmap& tile);
  void EndRun();

  // While the set-up asks a plug-in, this window keeps handling input.
  PluginHostRunner pluginHost_{false};
  ScopedPluginCallRunner pluginRunner_{pluginHost_};
  ScopedWindow window_;
  HWND owner_;
  RunMode mode_;
  HWND parent_;
  WindowTimer frameTimer_{1};        // the next frame
  WindowTimer mouseWarmUpTimer_{2};  // MouseWarmUp's ticks

  // Settings, composer and source picture of the run, and the run that
  // drives them; made in OnCreate.
  std::optional<StoredRun> stored_;
  std::optional<SaverRun> run_;
  TilePainter painter_;
  bool painted_ = false;     // a frame is on the window: no more background erase
  MouseWarmUp mouse_;        // MouseTicks and MousePos
  bool buttonDown_ = false;  // a click is a button going down and up on this window
  // Handlers inside the frame loop: an error box there runs a message loop
  // in which the window can be destroyed (the preview's parent closing);
  // the loop is then freed when the outermost such handler ends.
  struct BusyScope;
  int busy_ = 0;
  bool destroyed_ = false;                    // OnDestroy has run
  std::vector<std::exception_ptr> troubles_;  // the run's trouble, waiting for its box
  bool showingTrouble_ = false;
  std::optional<ScopedCursor> hiddenCursor_;  // saver mode: hidden for the run
  MusicThread music_{&MakeMciPlayer};         // saver mode: loops the chosen file
};

}  // namespace tessivane
