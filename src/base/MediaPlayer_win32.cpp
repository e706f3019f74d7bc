// The MCI player: the wide-character command interface of the multimedia
// library. The device is opened by element name only, so the system picks
// the device type from the file; every value passed carries its parameter
// block (a null block fails for some commands under some systems).
//
// A device may post its success notice a moment before it leaves play mode
// (the MPEG device under Wine posts it from a thread that stops the stream
// afterwards). Such a notice is held back and the mode looked at again
// until the device has stopped; only then is the end reported, so that
// whoever plays the file again finds it stopped. A success notice that
// still finds the device playing after kEndSettleMs belongs to no play of
// ours that is ending: the play running has its own notice to come.
#include "base/MediaPlayer.h"

#include <windows.h>
#include <mmsystem.h>

#include <stdexcept>

#include "base/ScopedWin.h"
#include "base/Texts.h"
#include "base/Utf.h"

namespace tessivane {

namespace {

constexpr UINT_PTR kEndSettleTimer = 1;
constexpr UINT kEndSettleTickMs = 10;
constexpr DWORD kEndSettleMs = 1000;

struct MciDeviceTraits : PlainHandleTraits<MCIDEVICEID, 0> {
  static void Close(Type device) {
    MCI_GENERIC_PARMS parms{};
    mciSendCommandW(device, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parms));
  }
};
using ScopedMciDevice = ScopedHandle<MciDeviceTraits>;

class MciPlayer final : public MediaPlayer {
public:
  MciPlayer() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &MciPlayer::NoticeProc;
    wc.hInstance = instance;
    wc.lpszClassName = kMciPlayerWindowClass;
    RegisterClassExW(&wc);  // fails harmlessly when already registered
    window_.reset(CreateWindowExW(0, kMciPlayerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  instance, nullptr));
    if (!window_) throw std::runtime_error(Tr(TextId::kWindowCreateFailed));
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }

  ~MciPlayer() override {
    // No notice reaches a player that is going; the device closes first.
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
    StopSettling();
    device_.reset();
  }

  bool Open(const std::string& fileName) override {
    StopSettling();
    device_.reset();
    if (fileName.empty()) return false;
    const std::wstring element = Widen(fileName);
    MCI_OPEN_PARMSW open{};
    open.lpstrElementName = element.c_str();
    if (mciSendCommandW(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&open)) != 0) {
      return false;
    }
    device_.reset(open.wDeviceID);
    // Milliseconds where the device knows them; the frames of a device
    // that does not stay what they are.
    MCI_SET_PARMS format{};
    format.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    Send(MCI_SET, MCI_SET_TIME_FORMAT | MCI_WAIT, &format);
    return true;
  }

  bool Play() override {
    if (!device_) return false;
    StopSettling();
    MCI_PLAY_PARMS play{};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(window_.get());
    return Send(MCI_PLAY, MCI_NOTIFY, &play);
  }

  bool IsPlaying() const override { return Status(MCI_STATUS_MODE) == MCI_MODE_PLAY; }
  int64_t Position() const override { return static_cast<int64_t>(Status(MCI_STATUS_POSITION)); }
  int64_t Length() const override { return static_cast<int64_t>(Status(MCI_STATUS_LENGTH)); }

  bool SeekToStart() override {
    if (!device_) return false;
    StopSettling();
    MCI_SEEK_PARMS seek{};
    return Send(MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT, &seek);
  }

  void Stop() override {
    if (!device_) return;
    StopSettling();
    MCI_GENERIC_PARMS parms{};
    Send(MCI_STOP, MCI_WAIT, &parms);
  }

  void Close() override {
    StopSettling();
    device_.reset();
  }
  bool IsOpen() const override { return static_cast<bool>(device_); }

private:
  template <class Parms>
  bool Send(UINT command, DWORD flags, Parms* parms) const {
    return mciSendCommandW(device_.get(), command, flags, reinterpret_cast<DWORD_PTR>(parms)) == 0;
  }

  DWORD_PTR Status(DWORD item) const {
    if (!device_) return 0;
    MCI_STATUS_PARMS status{};
    status.dwItem = item;
    return Send(MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, &status) ? status.dwReturn : 0;
  }

  // A success notice: reported now when the device has stopped, otherwise
  // once it has (or dropped after kEndSettleMs of playing on).
  void Finished() {
    if (!IsPlaying()) {
      StopSettling();
      ReportEnd(PlayEnd::kFinished);
      return;
    }
    if (!settling_) {
      settling_ = true;
      settleStart_ = GetTickCount();
      SetTimer(window_.get(), kEndSettleTimer, kEndSettleTickMs, nullptr);
    }
  }

  void SettleTick() {
    if (!settling_) return;
    if (!IsPlaying()) {
      StopSettling();
      ReportEnd(PlayEnd::kFinished);
    } else if (GetTickCount() - settleStart_ >= kEndSettleMs) {
      StopSettling();
    }
  }

  void StopSettling() {
    if (!settling_) return;
    settling_ = false;
    KillTimer(window_.get(), kEndSettleTimer);
  }

  static LRESULT CALLBACK NoticeProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MciPlayer*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (message == WM_TIMER && wParam == kEndSettleTimer) {
      if (self) self->SettleTick();
      return 0;
    }
    if (message != MM_MCINOTIFY) return DefWindowProcW(wnd, message, wParam, lParam);
    // A notice of a device closed since (or of another one) is stale. Some
    // drivers (the MPEG one under Wine) name no device in their notices.
    const auto from = static_cast<MCIDEVICEID>(lParam);
    if (!self || !self->device_ || (from != 0 && from != self->device_.get())) return 0;
    switch (wParam) {
      case MCI_NOTIFY_SUCCESSFUL:
        self->Finished();
        break;
      case MCI_NOTIFY_SUPERSEDED:
        self->ReportEnd(PlayEnd::kSuperseded);
        break;
      case MCI_NOTIFY_ABORTED:
        self->ReportEnd(PlayEnd::kAborted);
        break;
      default:
        self->ReportEnd(PlayEnd::kFailed);
        break;
    }
    return 0;
  }

  ScopedWindow window_;
  ScopedMciDevice device_;
  bool settling_ = false;
  DWORD settleStart_ = 0;
};

}  // namespace

std::unique_ptr<MediaPlayer> MakeMciPlayer() { return std::make_unique<MciPlayer>(); }

}  // namespace tessivane
