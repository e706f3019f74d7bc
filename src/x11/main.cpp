// tessivane: the kaleidoscope for X11 and XScreenSaver. The same frame loop
// as the Windows saver's window, driven by a poll over the X connection, a
// pipe that carries signals and picture notices, and the frame timer.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Errors.h"
#include "base/Random.h"
#include "base/Texts.h"
#include "saver/FrameLoop.h"
#include "saver/SaverRun.h"
#include "x11/PluginProcess.h"
#include "x11/SaverOptions.h"
// Xlib last: its macros (None, Status, Bool) would rename the core's words.
#include "x11/XFramePainter.h"
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tessivane::x11 {
namespace {

using Clock = std::chrono::steady_clock;

void PrintLine(const std::string& text) { std::fprintf(stderr, "tessivane: %s\n", OneLine(text).c_str()); }

// Whether a failure is a unit error about a file, whose text names it on
// its last line.
bool IsNamedUnitFailure(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const UnitFailed& e) {
    return e.Failure().detail.empty() && !e.Failure().name.empty();
  } catch (...) {
    return false;
  }
}

// A failure as one line on standard error, worded as the Windows saver's
// box words it, with the file it is about in front as other programs write
// it ("tessivane: FILE: text"): a unit error names the file on its last
// line, any other failure about a file on its first.
void PrintFailure(std::exception_ptr error) {
  const FailureReport report = ReportOf(error);
  if (report.box == FailureReport::Box::kNone) return;
  const std::string& text = report.text;
  const size_t first = text.find("\r\n"), last = text.rfind("\r\n");
  if (first == std::string::npos) {
    PrintLine(text);
  } else if (IsNamedUnitFailure(error)) {
    PrintLine(text.substr(last + 2) + ": " + text.substr(0, last));
  } else {
    PrintLine(text.substr(0, first) + ": " + text.substr(first + 2));
  }
}

// The frame loop's messages, which the Windows saver shows in a box.
class StderrDisplay : public ErrorDisplay {
public:
  void ShowErrorMessage(const std::string& text) override { PrintLine(text); }
};

// A pipe that wakes the poll: a signal handler writes 's' into it, the
// picture decoder's worker 'p'. Installs the handlers of SIGTERM and SIGINT
// for its lifetime.
class WakePipe {
public:
  WakePipe() {
    if (pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("no pipe for the signals");
    writeEnd = fds_[1];
    struct sigaction action {};
    action.sa_handler = [](int) { Notify('s'); };
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, &oldTerm_);
    sigaction(SIGINT, &action, &oldInt_);
  }
  ~WakePipe() {
    sigaction(SIGTERM, &oldTerm_, nullptr);
    sigaction(SIGINT, &oldInt_, nullptr);
    writeEnd = -1;
    close(fds_[0]);
    close(fds_[1]);
  }
  WakePipe(const WakePipe&) = delete;
  WakePipe& operator=(const WakePipe&) = delete;

  static void Notify(char what) {
    int saved = errno;
    if (writeEnd >= 0) [[maybe_unused]]
      auto n = write(writeEnd, &what, 1);
    errno = saved;
  }
  int ReadEnd() const { return fds_[0]; }
  // Empties the pipe: whether a signal and whether a picture notice came
  // (or was held back by SignalledOnly).
  void Drain(bool& signalled, bool& picture) {
    char buffer[64];
    ssize_t n;
    while ((n = read(fds_[0], buffer, sizeof buffer)) > 0)
      for (ssize_t i = 0; i < n; ++i) (buffer[i] == 's' ? signalled : picture) = true;
    picture = picture || std::exchange(heldPicture_, false);
  }
  // Empties the pipe while a plug-in is asked: whether a signal came; a
  // picture notice waits for the next Drain.
  bool SignalledOnly() {
    bool signalled = false;
    Drain(signalled, heldPicture_);
    return signalled;
  }

private:
  static inline volatile sig_atomic_t writeEnd = -1;
  int fds_[2] = {-1, -1};
  bool heldPicture_ = false;
  struct sigaction oldTerm_ {
  }, oldInt_{};
};

// The first X error, for the loop to end on; X calls this in the middle of
// whatever request failed, so it only records.
int xErrorCode = 0;
char xErrorText[128];
int RecordXError(Display* display, XErrorEvent* event) {
  if (xErrorCode != 0) return 0;
  xErrorCode = event->error_code;
  XGetErrorText(display, event->error_code, xErrorText, sizeof xErrorText);
  return 0;
}
int LostConnection(Display*) {
  PrintLine("the X connection was lost");
  std::_Exit(1);  // Xlib cannot go on; the shared memory is already marked for removal
}

// The window a virtual-root desktop shows over the root: the one that a
// child of the root names in its __SWM_VROOT property, as XScreenSaver's
// hacks find it; the root itself where no child has one. The property is a
// WINDOW; a CARDINAL (what xprop writes) is taken too.
Window VirtualRoot(Display* display, int screen) {
  const Window root = RootWindow(display, screen);
  const Atom vroot = XInternAtom(display, "__SWM_VROOT", False);
  Window rootReturn, parent, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, root, &rootReturn, &parent, &children, &count)) return root;
  Window found = root;
  for (unsigned i = 0; i < count && found == root; ++i) {
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, children[i], vroot, 0, 1, False, AnyPropertyType, &type, &format, &items,
                           &after, &data) == Success &&
        (type == XA_WINDOW || type == XA_CARDINAL) && format == 32 && items == 1 && data)
      found = *reinterpret_cast<Window*>(data);
    if (data) XFree(data);
  }
  if (children) XFree(children);
  return found;
}

// The visual -visual asks for on `screen`, the deepest where several
// match. Throws OptionError for one that is missing or that the painter
// cannot draw on.
XVisualInfo ChooseVisual(Display* display, int screen, const VisualRequest& request) {
  using K = VisualRequest::Kind;
  XVisualInfo wanted{};
  wanted.screen = screen;
  long mask = VisualScreenMask;
  if (request.kind == K::kId) {
    wanted.visualid = request.id;
    mask |= VisualIDMask;
  } else {
    wanted.c_class = request.kind == K::kBest ? TrueColor : request.visualClass;
    mask |= VisualClassMask;
  }
  int count = 0;
  XVisualInfo* list = XGetVisualInfo(display, mask, &wanted, &count);
  if (!list || count == 0) {
    if (list) XFree(list);
    throw OptionError("-visual " + request.name + ": the screen has no such visual");
  }
  XVisualInfo chosen = *std::max_element(
      list, list + count, [](const XVisualInfo& a, const XVisualInfo& b) { return a.depth < b.depth; });
  XFree(list);
  if (chosen.c_class != TrueColor && chosen.c_class != DirectColor)
    throw OptionError("-visual " + request.name +
                      ": tessivane draws only on TrueColor and DirectColor visuals");
  return chosen;
}

// The window the frames go to: ours (destroyed with this object) or another's.
class TargetWindow {
public:
  TargetWindow(Display* display, const SaverOptions& o) : display_(display) {
    const int screen = DefaultScreen(display);
    long events = ExposureMask | StructureNotifyMask;
    switch (o.target) {
      case Target::kRoot:
        window_ = VirtualRoot(display, screen);
        break;
      case Target::kWindowId:
        window_ = o.windowId;
        break;
      case Target::kOwnWindow:
        CreateOwn(screen, o);
        events |= KeyPressMask | ButtonPressMask;
        break;
    }
    XSelectInput(display, window_, events);
    XWindowAttributes attributes;
    xErrorCode = 0;
    if (!XGetWindowAttributes(display, window_, &attributes) || xErrorCode != 0) {
      char id[32];
      std::snprintf(id, sizeof id, "0x%lx", window_);
      DestroyOwn();
      throw OptionError(std::string("no window ") + id + " on this display");
    }
    size_ = {attributes.width, attributes.height};
    if (own_) XMapWindow(display, window_);
  }
  ~TargetWindow() { DestroyOwn(); }
  TargetWindow(const TargetWindow&) = delete;
  TargetWindow& operator=(const TargetWindow&) = delete;

  Window Id() const { return window_; }
  bool Own() const { return own_; }
  Point Size() const { return size_; }
  void SetSize(Point size) { size_ = size; }
  bool IsClose(const XEvent& e) const {
    return own_ && e.type == ClientMessage && static_cast<Atom>(e.xclient.data.l[0]) == deleteAtom_;
  }

private:
  // A window of our own: -geometry's place and size, or the whole screen
  // with -fullscreen; -visual's visual, with a colormap of its own where
  // that visual is not the default one or -install asks for it.
  void CreateOwn(int screen, const SaverOptions& o) {
    Display* d = display_;
    const Window root = RootWindow(d, screen);
    Visual* visual = DefaultVisual(d, screen);
    int depth = DefaultDepth(d, screen);
    if (o.visual.kind != VisualRequest::Kind::kDefault) {
      XVisualInfo chosen = ChooseVisual(d, screen, o.visual);
      visual = chosen.visual;
      depth = chosen.depth;
    }
    const WindowGeometry& g = o.geometry;
    int x = g.x, y = g.y;
    unsigned width = g.width, height = g.height;
    if (o.fullscreen) {
      x = y = 0;
      width = static_cast<unsigned>(DisplayWidth(d, screen));
      height = static_cast<unsigned>(DisplayHeight(d, screen));
    }
    if (g.mask & XNegative) x += DisplayWidth(d, screen) - static_cast<int>(width);
    if (g.mask & YNegative) y += DisplayHeight(d, screen) - static_cast<int>(height);
    XSetWindowAttributes a{};
    a.background_pixel = 0;  // black in every TrueColor visual
    a.border_pixel = 0;
    a.colormap = DefaultColormap(d, screen);
    if (o.install || visual != DefaultVisual(d, screen)) {
      colormap_ = XCreateColormap(d, root, visual, AllocNone);
      a.colormap = colormap_;
    }
    window_ = XCreateWindow(d, root, x, y, width, height, 0, depth, InputOutput, visual,
                            CWBackPixel | CWBorderPixel | CWColormap, &a);
    own_ = true;
    XStoreName(d, window_, "Tessivane");
    XSizeHints hints{};
    hints.flags = (g.mask & (XValue | YValue) ? USPosition : 0) | (g.mask & WidthValue ? USSize : 0);
    hints.x = x, hints.y = y, hints.width = static_cast<int>(width), hints.height = static_cast<int>(height);
    XSetWMNormalHints(d, window_, &hints);
    if (o.fullscreen) {
      Atom state = XInternAtom(d, "_NET_WM_STATE_FULLSCREEN", False);
      XChangeProperty(d, window_, XInternAtom(d, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(&state), 1);
    }
    deleteAtom_ = XInternAtom(d, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(d, window_, &deleteAtom_, 1);
  }
  void DestroyOwn() {
    if (own_) XDestroyWindow(display_, window_);
    if (colormap_) XFreeColormap(display_, colormap_);
    own_ = false;
    colormap_ = 0;
  }

  Display* display_;
  Window window_ = 0;
  bool own_ = false;
  Colormap colormap_ = 0;
  Atom deleteAtom_ = None;
  Point size_{};
};

class Saver {
public:
  Saver(Display* display, const SaverOptions& o)
      : display_(display),
        options_(o),
        plugins_("/proc/self/exe", kPluginAnswerTimeoutMs, wake_.ReadEnd(),
                 [this] { return wake_.SignalledOnly(); }),
        pluginsInstalled_(plugins_),
        window_(display, o),
        painter_(display, window_.Id(), !o.noShm, o.ShowFps),
        loop_(false, RunConfigOf(o), ProgramRandom()),
        run_(loop_, [this](const Composer& composer) {
          painter_.Paint(composer.TileImage(), window_.Size().x, window_.Size().y);
        }) {
    loop_.SetMakesFrames(false);  // the server repeats the tile; no frame of the window's size is made
    loop_.OnPictureReady([] { WakePipe::Notify('p'); });
    // A picture, folder or plug-in that cannot be used is a notice, and the
    // run goes on (with the random picture, the built-in method, or the
    // picture on screen until the next change).
    loop_.OnTrouble(&PrintFailure);
    if (o.delayGiven) loop_.SetFramePace(static_cast<uint32_t>(o.delay / 1000));
  }

  // Frames until a signal, a key or click in our own window, or the window's
  // end. Throws what the frame loop throws.
  void Run() {
    Schedule(run_.Start(window_.Size()));
    XFlush(display_);
    for (;;) {
      pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {wake_.ReadEnd(), POLLIN, 0}};
      if (!XPending(display_)) poll(fds, 2, TimeoutMs());
      bool signalled = false, picture = false;
      wake_.Drain(signalled, picture);
      if (signalled || !HandleEvents()) return;
      if (xErrorCode != 0)
        throw std::runtime_error(std::string("the X server refused a request: ") + xErrorText);
      if (picture) Schedule(run_.PictureReady(window_.Size()));
      if (next_ && Clock::now() >= *next_) {
        next_.reset();  // an error leaves the timer stopped
        const uint32_t ms = run_.Tick(window_.Size());
        if (ms != 0) next_ = Clock::now() + FrameDelay(options_, ms);
      }
    }
  }
  bool SharedMemory() const { return painter_.UsesSharedMemory(); }

private:
  // The frame timer is a deadline, none when stopped. After a frame the
  // pause is -delay's when it was given; the first frame's comes as the run
  // says.
  void Schedule(std::optional<uint32_t> ms) {
    if (!ms) return;
    next_.reset();
    if (*ms != 0) next_ = Clock::now() + std::chrono::milliseconds(*ms);
  }
  int TimeoutMs() const {
    if (!next_) return -1;
    auto left = std::chrono::ceil<std::chrono::milliseconds>(*next_ - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(std::min<long long>(left, 1000000));
  }

  // False when the run ends.
  bool HandleEvents() {
    while (XPending(display_)) {
      XEvent e;
      XNextEvent(display_, &e);
      if (window_.IsClose(e)) return false;
      switch (e.type) {
        case KeyPress:
        case ButtonPress:
          return !window_.Own();
        case DestroyNotify:
          if (e.xdestroywindow.window == window_.Id()) return false;
          break;
        case ConfigureNotify: {
          Point size{e.xconfigure.width, e.xconfigure.height};
          if (e.xconfigure.window == window_.Id() &&
              (size.x != window_.Size().x || size.y != window_.Size().y)) {
            window_.SetSize(size);
            run_.Resize(size);
            painter_.Repaint(size.x, size.y);
          }
          break;
        }
        case Expose:
          if (e.xexpose.count == 0) painter_.Repaint(window_.Size().x, window_.Size().y);
          break;
        default:
          break;
      }
    }
    return true;
  }

  Display* display_;
  const SaverOptions& options_;
  WakePipe wake_;
  PluginProcessRunner plugins_;  // a plug-in is asked in a host process; a signal ends the wait
  ScopedPluginCallRunner pluginsInstalled_;
  TargetWindow window_;
  XFramePainter painter_;
  FrameLoop loop_;
  SaverRun run_;
  std::optional<Clock::time_point> next_;
};

int Run(const std::vector<std::string>& args) {
  SetLanguage(Language::kEnglish);
  StderrDisplay errors;
  SetErrorDisplay(&errors);
  try {
    const char* given = std::getenv("XSCREENSAVER_WINDOW");
    SaverOptions options = ParseSaverOptions(args, given ? std::optional<std::string>(given) : std::nullopt);
    if (options.help) {
      std::fputs(SaverUsage().c_str(), stdout);
      return 0;
    }
    if (options.version) {
      std::fputs(VersionLine("tessivane").c_str(), stdout);
      return 0;
    }
    std::unique_ptr<ScopedSeedSource> seed;
    if (options.seed) seed = std::make_unique<ScopedSeedSource>(FixedSeed(*options.seed));
    for (const std::string& notice : options.notices) PrintLine(notice);
    if (options.xscreensaverImages) {
      std::string notice = TakeXScreenSaverImages(options, std::getenv("HOME"));
      if (!notice.empty()) PrintLine(notice);
    }

    DisplayHandle display(XOpenDisplay(options.display.empty() ? nullptr : options.display.c_str()));
    if (!display) {
      const char* name = options.display.empty() ? std::getenv("DISPLAY") : options.display.c_str();
      throw OptionError(std::string("cannot open the display '") + (name ? name : "") + "'");
    }
    XSetErrorHandler(RecordXError);
    XSetIOErrorHandler(LostConnection);
    Saver saver(display.get(), options);
    saver.Run();
    return 0;
  } catch (const PluginRunEnded&) {
    return 0;  // a signal while a plug-in was asked
  } catch (...) {
    PrintFailure(std::current_exception());
  }
  return 1;
}

}  // namespace
}  // namespace tessivane::x11

int main(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]) == tessivane::x11::kPluginHostSwitch)
    return tessivane::x11::RunPluginHost();
  return tessivane::x11::Run(std::vector<std::string>(argv + 1, argv + argc));
}
