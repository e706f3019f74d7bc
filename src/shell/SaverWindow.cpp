#include "shell/SaverWindow.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "base/ErrorBoxes.h"
#include "base/Texts.h"
#include "dialogs/UnreadableValues.h"
#include "saver/BackgroundMusic.h"
#include "shell/Resources.h"
#include "shell/Startup.h"

namespace tessivane {

namespace {

const wchar_t kClassName[] = L"SaverWindow";
constexpr int kDesignWidth = 641;  // client size before the run sizes the window
constexpr int kDesignHeight = 448;
// Posted by the picture decoder's worker when the next folder picture is
// ready.
constexpr UINT kPictureReadyMessage = WM_APP + 0x100;
// Posted when the window is first shown: the run is set up once the window
// is on the screen at its size.
constexpr UINT kFirstShownMessage = WM_APP + 0x101;
// Posted when the run met trouble it goes on after: its box comes up once
// the step is over, so the frames go on under it.
constexpr UINT kTroubleMessage = WM_APP + 0x102;

void RegisterMainClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TESSIVANE));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);  // fails harmlessly when already registered
}

// The rectangle of all monitors together, in screen coordinates; its
// origin is negative when a monitor lies left of or above the primary one.
RECT VirtualScreen() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

}  // namespace

void WindowTimer::SetInterval(UINT ms) {
  interval_ = ms;
  if (!wnd_) return;
  if (ms == 0) {
    KillTimer(wnd_, id_);
  } else {
    SetTimer(wnd_, id_, ms, nullptr);
  }
}

SaverWindow::SaverWindow(HINSTANCE instance, HWND owner, RunMode mode, HWND parent)
    : owner_(owner), mode_(mode), parent_(parent) {
  RegisterMainClass(instance, &SaverWindow::WindowProc);
  // Borderless; a child of the preview (or of any window named on the
  // command line) that replaces WS_POPUP by WS_CHILD, else top-most.
  DWORD style = WS_POPUP | WS_CLIPCHILDREN;
  DWORD exStyle = 0;
  HWND createdIn = owner;
  if (HasParent()) {
    style = (style & ~WS_POPUP) | WS_CHILD;
    createdIn = parent_;
  } else {
    exStyle |= WS_EX_TOPMOST;
  }
  HWND wnd = CreateWindowExW(exStyle, kClassName, kApplicationTitle, style, 0, 0, kDesignWidth, kDesignHeight,
                             createdIn, nullptr, instance, this);
  // A window destroyed while it was being created (its parent closed under
  // a set-up error box) simply ends the run.
  if (!wnd && !destroyed_) throw std::runtime_error(Tr(TextId::kWindowCreateFailed));
  if (wnd && mode_ == RunMode::kPreview) WatchParent();
}

SaverWindow::~SaverWindow() {
  // Destroyed here, while every member that its handlers touch still lives.
  window_.reset();
}

// The window is parented only to a window that exists; a stale or made-up
// handle leaves it a top-level window.
bool SaverWindow::HasParent() const { return parent_ != nullptr && IsWindow(parent_); }

void SaverWindow::SetBounds(int left, int top, int width, int height) {
  SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void SaverWindow::Show() {
  if (!Handle()) return;
  if (mode_ == RunMode::kPreview) {
    ShowWindow(Handle(), SW_SHOWNA);
  } else if (HasParent()) {
    // A saver inside another window fills it, and takes the keyboard focus
    // so that a key reaches it and ends the run like any other input.
    ShowWindow(Handle(), SW_SHOWMAXIMIZED);
    SetFocus(Handle());
  } else {
    CoverAllMonitors();
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
  }
}

// The full-screen window covers every monitor: one frame of the virtual
// screen's size, so the pattern runs on from one monitor to the next.
void SaverWindow::CoverAllMonitors() {
  const RECT screen = VirtualScreen();
  SetWindowPos(Handle(), nullptr, screen.left, screen.top, screen.right - screen.left,
               screen.bottom - screen.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK SaverWindow::WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<SaverWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_.reset(wnd);
    for (WindowTimer* timer : {&self->frameTimer_, &self->mouseWarmUpTimer_}) timer->Attach(wnd);
  }
  auto* self = reinterpret_cast<SaverWindow*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(wnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
    for (WindowTimer* timer : {&self->frameTimer_, &self->mouseWarmUpTimer_}) timer->Attach(nullptr);
    self->window_.release();
    return DefWindowProcW(wnd, message, wParam, lParam);
  }
  // No error may cross the system's frames: shown here, and the run goes on.
  try {
    return self->HandleMessage(wnd, message, wParam, lParam);
  } catch (...) {
    HandleException();
    return 0;
  }
}

LRESULT SaverWindow::HandleMessage(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      PostQuitMessage(0);  // the main window ends the run
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) StartRun();
      break;
    case WM_WINDOWPOSCHANGED: {
      const UINT flags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
      if (flags & SWP_SHOWWINDOW) {
        // A child window is never activated: its run starts when it is
        // first shown, as a top-level window's does. (WM_SHOWWINDOW does not
        // come for every way of showing a window, a maximised one for
        // instance.)
        PostMessageW(wnd, kFirstShownMessage, 0, 0);
      } else if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE) && IsWindowVisible(wnd)) {
        // Moved or resized while shown: the monitors changed. The mouse
        // keeps its place on the screen but not in the window, and the
        // system may have moved it off a monitor that went away; neither is
        // a user's movement, so the mouse warms up again as at the start.
        RestartMouseWarmUp();
      }
      break;  // the default handling sends WM_SIZE and WM_MOVE
    }
    case kFirstShownMessage:
      StartRun();
      return 0;
    case WM_SIZE:
      // The preview takes its parent's size after its set-up; the full-screen
      // window changes with the monitors.
      if (run_) run_->Resize(ClientSize());
      break;
    case WM_DISPLAYCHANGE:
      // A monitor added, removed or re-arranged: cover the new virtual screen.
      if (mode_ == RunMode::kSaver && !HasParent()) CoverAllMonitors();
      break;
    case WM_SYSCOMMAND:
      // Refuse the system's start-saver command: no other saver over this one.
      if ((wParam & 0xFFF0) == SC_SCREENSAVE) return 1;
      break;
    case WM_GETMINMAXINFO:
      if (!HasParent()) {
        // The largest the window may be is every monitor together, taskbar
        // included; the system's default limit is a little larger than the
        // primary monitor.
        const RECT screen = VirtualScreen();
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMaxPosition = {screen.left, screen.top};
        info->ptMaxSize = {screen.right - screen.left, screen.bottom - screen.top};
        info->ptMaxTrackSize.x = std::max<LONG>(info->ptMaxTrackSize.x, info->ptMaxSize.x);
        info->ptMaxTrackSize.y = std::max<LONG>(info->ptMaxTrackSize.y, info->ptMaxSize.y);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      // Once frames are painted the background is never drawn over them:
      // each frame covers the last one, so nothing flickers.
      if (painted_) return 1;
      break;
    case WM_PAINT: {
      // A part uncovered by another window gets the current frame back.
      ScopedPaint paint(wnd);
      if (painted_) {
        const Point size = ClientSize();
        painter_.Repaint(paint.dc(), size.x, size.y);
      }
      return 0;
    }
    case kPictureReadyMessage:
      PictureReady();
      return 0;
    case kTroubleMessage:
      ShowTroubles();
      return 0;
    case WM_TIMER:
      if (wParam == frameTimer_.Id())
        OnFrameTimer();
      else if (wParam == mouseWarmUpTimer_.Id())
        OnMouseWarmUpTimer();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
      buttonDown_ = true;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP:
      // Closing on the release, not the press, keeps the release from
      // reaching the window below once the saver is gone.
      if (buttonDown_) {
        buttonDown_ = false;
        CloseOnInput();
      }
      break;
    case WM_KEYDOWN:
      CloseOnInput();
      return 0;
    case WM_SYSKEYDOWN:
      // Alt combinations count as keys and never reach the system's
      // handling: Alt+F4 must not close the saver past the password check.
      CloseOnInput();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(wnd, message, wParam, lParam);
}

void SaverWindow::OnCreate() {
  // Full screen (every monitor): applied when the window is shown (Show).
  mouse_ = MouseWarmUp{};
  mouseWarmUpTimer_.SetInterval(MouseWarmUp::kIntervalMs);
  stored_.emplace(mode_ == RunMode::kPreview, CurrentSettingsStore(),
                  ProgramRandom());  // loads the main and the option record
  FrameLoop& loop = stored_->Loop();
  loop.SetMakesFrames(false);  // the window repeats the tile itself (PaintTile)
  loop.OnPictureReady([wnd = Handle()] { PostMessageW(wnd, kPictureReadyMessage, 0, 0); });
  loop.OnTrouble([this](std::exception_ptr error) {
    troubles_.push_back(std::move(error));
    PostMessageW(Handle(), kTroubleMessage, 0, 0);
  });
  run_.emplace(loop, [this](const Composer& composer) { PaintTile(composer.TileImage()); });
  // A stored value of a type the records cannot read runs with its default.
  // The full-screen run says so once, before it starts, so that the user
  // learns why the settings look reset and that saving them in the settings
  // dialog repairs the store; the preview stays silent. Neither writes the
  // records back, so the store keeps the value until the user saves.
  std::vector<std::string> unreadable = stored_->Settings().UnreadableValues();
  if (unreadable.empty()) unreadable = stored_->Options().UnreadableValues();
  if (mode_ == RunMode::kSaver) dialogs::ReportUnreadableValues(unreadable);
  if (mode_ == RunMode::kSaver) hiddenCursor_.emplace(false);
  if (mode_ == RunMode::kPreview) {
    // The preview is never activated: its set-up runs from within creation,
    // at the window's design size; the frame takes the preview's size when
    // the window does (WM_SIZE).
    StartRun();
  }
  const std::vector<std::string> musicUnreadable = StartMusic();
  if (mode_ == RunMode::kSaver && unreadable.empty()) dialogs::ReportUnreadableValues(musicUnreadable);
}

std::vector<std::string> SaverWindow::StartMusic() {
  // Only the full-screen run plays, on the music thread: the first frame
  // and the input that ends the run never wait for the file to open.
  MusicChoice choice = BackgroundMusic::Choose(mode_ == RunMode::kSaver);
  if (choice.File) music_.Start(*choice.File);
  return std::move(choice.UnreadableValues);
}

struct SaverWindow::BusyScope {
  explicit BusyScope(SaverWindow& saver) : saver_(saver) { ++saver_.busy_; }
  ~BusyScope() {
    if (--saver_.busy_ == 0 && saver_.destroyed_) saver_.EndRun();
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

private:
  SaverWindow& saver_;
};

void SaverWindow::StartRun() {
  if (!run_) return;  // the records could not be loaded
  BusyScope busy(*this);
  if (const auto ms = run_->Start(ClientSize())) frameTimer_.SetInterval(*ms);
}

void SaverWindow::OnFrameTimer() {
  if (!run_) return;
  BusyScope busy(*this);
  frameTimer_.SetInterval(0);  // no tick inside the frame; an error leaves the timer stopped
  const uint32_t next = run_->Tick(ClientSize());
  if (!destroyed_) frameTimer_.SetInterval(next);
}

// Posted by the picture decoder's worker: the run switches to the picture
// between two frames.
void SaverWindow::PictureReady() {
  if (!run_) return;
  BusyScope busy(*this);
  if (const auto ms = run_->PictureReady(ClientSize())) frameTimer_.SetInterval(*ms);
}

// The boxes of the trouble the run went on after, one at a time, with the
// frame timer running: the pattern moves on under each box.
void SaverWindow::ShowTroubles() {
  if (showingTrouble_) return;  // the box up now shows the next one when it closes
  BusyScope busy(*this);
  showingTrouble_ = true;
  // The pointer shows over the box, which is answered with it; the run
  // hides it again when the box is gone.
  std::optional<ScopedCursor> pointer;
  if (hiddenCursor_) pointer.emplace(true);
  while (!troubles_.empty() && !destroyed_) {
    const std::exception_ptr error = troubles_.front();
    troubles_.erase(troubles_.begin());
    try {
      std::rethrow_exception(error);
    } catch (...) {
      HandleException();
    }
  }
  showingTrouble_ = false;
}

// The frame is the composer's tile repeated from the client's top-left
// corner over the whole client area, the GDI doing the repeating: the
// window never holds a frame of its own size.
void SaverWindow::PaintTile(const FrameBitmap& tile) {
  const Point size = ClientSize();
  ScopedWindowDC dc(Handle());
  painter_.Paint(dc.get(), tile, size.x, size.y);
  painted_ = true;
}

// The run first, then the frame loop: the records write all their values back.
void SaverWindow::EndRun() {
  run_.reset();
  stored_.reset();
}

Point SaverWindow::ClientSize() const {
  RECT rect{};
  GetClientRect(Handle(), &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void SaverWindow::RestartMouseWarmUp() {
  if (mode_ == RunMode::kPreview) return;
  mouse_ = MouseWarmUp{};
  mouseWarmUpTimer_.SetInterval(MouseWarmUp::kIntervalMs);
}

void SaverWindow::OnMouseWarmUpTimer() {
  if (!mouse_.Tick()) mouseWarmUpTimer_.SetInterval(0);
}

void SaverWindow::OnMouseMove(int x, int y) {
  if (mode_ == RunMode::kPreview || !mouse_.Ready()) return;
  switch (mouse_.Moved(VerifyPassword(Handle()), Point{x, y})) {
    case MouseWarmUp::Action::RestartTimer:
      mouseWarmUpTimer_.SetInterval(MouseWarmUp::kIntervalMs);
      break;
    case MouseWarmUp::Action::Close:
      Close();
      break;
    case MouseWarmUp::Action::None:
      break;
  }
}

// A click or a key ends the full-screen run once the password check lets it.
void SaverWindow::CloseOnInput() {
  if (mode_ != RunMode::kPreview && VerifyPassword(Handle())) Close();
}

bool SaverWindow::WatchParent() {
  if (destroyed_) return false;
  if (mode_ != RunMode::kPreview) return true;
  if (Handle() && IsWindow(Handle())) {
    if (!HasParent()) Close();  // its destroy message ends the run
    return true;
  }
  // The system destroyed this window along with its parent and never told
  // this thread (Wine, when the parent's process is killed): the run ends
  // here as the destroy message would have ended it.
  window_.release();
  OnDestroy();
  return false;
}

void SaverWindow::Close() {
  if (Handle()) DestroyWindow(Handle());
}

void SaverWindow::OnDestroy() {
  frameTimer_.SetInterval(0);
  mouseWarmUpTimer_.SetInterval(0);
  destroyed_ = true;
  if (run_) run_->End();
  if (busy_ == 0) EndRun();
  music_.Stop();
  if (mode_ == RunMode::kSaver) {
    hiddenCursor_.reset();
    ShowWindow(owner_, SW_SHOW);
  }
}

}  // namespace tessivane
