#include "SaverHarness.h"

#include <algorithm>
#include <cwctype>
#include <optional>
#include <stdexcept>

#include <gtest/gtest.h>

#include "SaverTimes.h"
#include "base/Utf.h"
#include "settings/SettingsStore.h"

namespace tessivane::test {

std::wstring HostToWindowsPath(const std::string& hostPath) {
  std::wstring path = Widen(hostPath);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  // Wine maps drive Z: to the host's root.
  if (!path.empty() && path.front() == L'\\') path = L"Z:" + path;
  return path;
}

std::wstring SaverPath() { return HostToWindowsPath(TESSIVANE_SCR); }

void PumpFor(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 20)),
                              QS_ALLINPUT);
  }
}

namespace {

std::wstring NameOf(const std::wstring& entry) {
  std::wstring name = entry.substr(0, entry.find(L'=', 1));
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
  return name;
}

// The test's environment with the extra entries added or replaced, as a
// CreateProcessW block.
std::vector<wchar_t> EnvironmentBlock(const std::vector<std::wstring>& extra) {
  std::vector<std::wstring> entries;
  if (wchar_t* strings = GetEnvironmentStringsW()) {
    for (const wchar_t* p = strings; *p; p += wcslen(p) + 1) entries.emplace_back(p);
    FreeEnvironmentStringsW(strings);
  }
  for (const std::wstring& add : extra) {
    const std::wstring name = NameOf(add);
    std::erase_if(entries, [&](const std::wstring& e) { return NameOf(e) == name; });
    entries.push_back(add);
  }
  std::vector<wchar_t> block;
  for (const std::wstring& e : entries) {
    block.insert(block.end(), e.begin(), e.end());
    block.push_back(L'\0');
  }
  block.push_back(L'\0');
  return block;
}

struct FindData {
  DWORD pid;
  const wchar_t* className;
  const wchar_t* caption;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND wnd, LPARAM param) {
  auto* data = reinterpret_cast<FindData*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  if (pid != data->pid) return TRUE;
  if (ClassName(wnd) != data->className) return TRUE;
  if (data->caption && WindowText(wnd) != data->caption) return TRUE;
  if (data->visibleOnly && !IsWindowVisible(wnd)) return TRUE;
  data->found.push_back(wnd);
  return TRUE;
}

}  // namespace

SaverProcess::SaverProcess(const std::wstring& arguments) : SaverProcess(arguments, Options{}) {}

SaverProcess::SaverProcess(const std::wstring& arguments, const Options& options) {
  std::wstring commandLine = L"\"" + options.program + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  std::vector<wchar_t> mutableLine(commandLine.begin(), commandLine.end());
  mutableLine.push_back(L'\0');
  std::vector<wchar_t> environment = EnvironmentBlock(options.extraEnvironment);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  // Wine now and then loses a new process before it has run any of the
  // program (the start fails with ERROR_INTERNAL_ERROR, more often on a
  // loaded machine); that start is tried again. Every other failure is the
  // test's.
  for (int attempt = 1;; ++attempt) {
    if (CreateProcessW(options.program.c_str(), mutableLine.data(), nullptr, nullptr, FALSE,
                       CREATE_UNICODE_ENVIRONMENT, environment.data(),
                       options.currentDirectory.empty() ? nullptr : options.currentDirectory.c_str(),
                       &startup, &info)) {
      break;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_INTERNAL_ERROR || attempt == 3) {
      throw std::runtime_error("CreateProcessW failed: " + std::to_string(error) + " for " +
                               Narrow(options.program));
    }
    Sleep(200);
  }
  ScopedKernelHandle thread(info.hThread);
  process_.reset(info.hProcess);
  id_ = info.dwProcessId;
}

SaverProcess::~SaverProcess() {
  if (Running()) {
    TerminateProcess(process_.get(), 99);
    WaitForSingleObject(process_.get(), 5000);
  }
}

bool SaverProcess::Running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

bool SaverProcess::WaitForExit(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    if (!Running()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return false;
    PumpFor(static_cast<DWORD>(std::min<ULONGLONG>(end - now, 20)));
  }
}

DWORD SaverProcess::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

HWND WaitForProcessWindow(DWORD processId, const wchar_t* className, DWORD ms, const wchar_t* caption,
                          const SaverProcess* process) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    FindData data{processId, className, caption, true, {}};
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&data));
    if (!data.found.empty()) return data.found.front();
    if (GetTickCount64() >= end || (process && !process->Running())) return nullptr;
    PumpFor(20);
  }
}

HWND SaverProcess::WaitForWindow(const wchar_t* className, DWORD ms, const wchar_t* caption) const {
  return WaitForProcessWindow(id_, className, ms, caption, this);
}

std::vector<HWND> SaverProcess::Windows(const wchar_t* className) const {
  FindData data{id_, className, nullptr, false, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&data));
  return data.found;
}

namespace {

const wchar_t kHostClass[] = L"TessivaneTestHost";

LRESULT CALLBACK HostProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(wnd, message, wParam, lParam);
}

}  // namespace

HostWindow::HostWindow(int width, int height) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &HostProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kHostClass;
  RegisterClassExW(&wc);
  window_.reset(CreateWindowExW(0, kHostClass, L"Preview host", WS_POPUP | WS_VISIBLE, 40, 30, width, height,
                                nullptr, nullptr, wc.hInstance, nullptr));
  if (!window_) throw std::runtime_error("The host window could not be created");
  PumpFor(50);
}

HWND HostWindow::WaitForChild(const wchar_t* className, DWORD ms) const {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    HWND child = FindWindowExW(Handle(), nullptr, className, nullptr);
    if (child && IsWindowVisible(child)) return child;
    if (GetTickCount64() >= end) return nullptr;
    PumpFor(20);
  }
}

std::wstring ClassName(HWND wnd) {
  wchar_t name[256] = {};
  GetClassNameW(wnd, name, 256);
  return name;
}

std::wstring WindowText(HWND wnd) {
  wchar_t text[512] = {};
  // Another process's window: WM_GETTEXT with a time bound.
  DWORD_PTR result = 0;
  SendMessageTimeoutW(wnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &result);
  return text;
}

RECT WindowRect(HWND wnd) {
  RECT rect{};
  GetWindowRect(wnd, &rect);
  return rect;
}

std::wstring MessageBoxText(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? WindowText(text) : std::wstring();
}

void PostMouseMove(HWND wnd, int x, int y) { PostMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

void PostClick(HWND wnd, int x, int y) {
  PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void PostKey(HWND wnd, WORD virtualKey) {
  PostMessageW(wnd, WM_KEYDOWN, virtualKey, 1);
  PostMessageW(wnd, WM_KEYUP, virtualKey, 0xC0000001);
}

bool SendKeyPress(WORD virtualKey) {
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = virtualKey;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return SendInput(2, keys, sizeof(INPUT)) == 2;
}

RegistryValue::RegistryValue(HKEY root, const wchar_t* key, const wchar_t* name, DWORD type, const void* data,
                             DWORD size)
    : root_(root), key_(key), name_(name) {
  HKEY raw = nullptr;
  if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot open a registry key");
  ScopedKey opened(raw);
  DWORD oldSize = 0;
  if (RegQueryValueExW(opened.get(), name, nullptr, &type_, nullptr, &oldSize) == ERROR_SUCCESS) {
    data_.resize(oldSize);
    existed_ = RegQueryValueExW(opened.get(), name, nullptr, &type_, data_.data(), &oldSize) == ERROR_SUCCESS;
  }
  if (type == REG_NONE) {
    RegDeleteValueW(opened.get(), name);
  } else {
    RegSetValueExW(opened.get(), name, 0, type, static_cast<const BYTE*>(data), size);
  }
}

RegistryValue::~RegistryValue() {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(root_, key_.c_str(), 0, KEY_ALL_ACCESS, &raw) != ERROR_SUCCESS) return;
  ScopedKey opened(raw);
  if (existed_) {
    RegSetValueExW(opened.get(), name_.c_str(), 0, type_, data_.data(), static_cast<DWORD>(data_.size()));
  } else {
    RegDeleteValueW(opened.get(), name_.c_str());
  }
}

bool ScreenSaverRunning() {
  SaverProcess::Options options;
  options.program = HostToWindowsPath(TESSIVANE_SPI_PROBE);
  SaverProcess probe(L"", options);
  if (!probe.WaitForExit(kProbeBound)) throw std::runtime_error("the flag probe did not end");
  return probe.ExitCode() == 1;
}

namespace {

// Without a window manager, Wine waits two seconds for one to let go of
// each managed window that is destroyed. Nothing manages the test display,
// so Wine handles every window itself while the tests run.
class UnmanagedWindows : public ::testing::Environment {
public:
  void SetUp() override {
    const wchar_t no[] = L"N";
    managed_.emplace(L"Software\\Wine\\X11 Driver", L"Managed", REG_SZ, no, sizeof no);
  }
  void TearDown() override { managed_.reset(); }

private:
  std::optional<RegistryValue> managed_;
};

[[maybe_unused]] ::testing::Environment* const kUnmanaged =
    ::testing::AddGlobalTestEnvironment(new UnmanagedWindows);

}  // namespace

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static unsigned counter = 0;
  path_ = std::wstring(base) + L"tessivane-shell-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  if (!CreateDirectoryW(path_.c_str(), nullptr)) throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
  WIN32_FIND_DATAW found;
  ScopedFind search(FindFirstFileW((path_ + L"\\*").c_str(), &found));
  if (search) {
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") DeleteFileW(File(name.c_str()).c_str());
    } while (FindNextFileW(search.get(), &found));
  }
  RemoveDirectoryW(path_.c_str());
}

std::string ReadFileText(const std::wstring& path) {
  ScopedKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  return text;
}

void DeleteProductKey() { RegDeleteTreeW(HKEY_CURRENT_USER, Widen(kProductKeyPath).c_str()); }

void PutSetting(const std::string& subkey, const std::string& name, const std::wstring& text) {
  const std::wstring key = Widen(std::string(kProductKeyPath) + "\\" + subkey);
  RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), Widen(name).c_str(), REG_SZ, text.c_str(),
                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void PutSettingDword(const std::string& subkey, const std::string& name, DWORD value) {
  const std::wstring key = Widen(std::string(kProductKeyPath) + "\\" + subkey);
  RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), Widen(name).c_str(), REG_DWORD, &value, sizeof value);
}

DWORD SettingType(const std::string& subkey, const std::string& name) {
  const std::wstring key = Widen(std::string(kProductKeyPath) + "\\" + subkey);
  DWORD type = REG_NONE;
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), Widen(name).c_str(), RRF_RT_ANY, &type, nullptr,
                   nullptr) != ERROR_SUCCESS)
    return REG_NONE;
  return type;
}

std::optional<std::wstring> Setting(const std::string& subkey, const std::string& name) {
  const std::wstring key = Widen(std::string(kProductKeyPath) + "\\" + subkey);
  wchar_t text[1024] = {};
  DWORD size = sizeof text;
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), Widen(name).c_str(), RRF_RT_REG_SZ, nullptr, text,
                   &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(text);
}

Shot Capture(HWND wnd) {
  RECT rect{};
  GetClientRect(wnd, &rect);
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);
  Shot shot;
  shot.width = rect.right;
  shot.height = rect.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = shot.width;
  info.bmiHeader.biHeight = -shot.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  ScopedWindowDC screen(nullptr);
  ScopedGdiObject<HBITMAP> dib(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  HDC memory = CreateCompatibleDC(screen.get());
  {
    ScopedSelect select(memory, dib.get());
    BitBlt(memory, 0, 0, shot.width, shot.height, screen.get(), origin.x, origin.y, SRCCOPY);
  }
  DeleteDC(memory);
  if (!bits) return shot;
  const auto* p = static_cast<const uint32_t*>(bits);
  shot.pixels.assign(p, p + static_cast<size_t>(shot.width) * shot.height);
  for (uint32_t& pixel : shot.pixels) pixel &= 0xFFFFFF;
  return shot;
}

void WriteSolidBmp(const std::wstring& path, int width, int height, uint32_t rgb) {
  WriteBmp(path, width, height, [rgb](int, int) { return rgb; });
}

void WriteBmp(const std::wstring& path, int width, int height,
              const std::function<uint32_t(int x, int y)>& rgbAt) {
  const uint32_t stride = (width * 3 + 3) & ~3u;
  const uint32_t pixelBytes = stride * height;
  std::vector<uint8_t> file(54 + pixelBytes);
  auto put = [&](size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put(2, static_cast<uint32_t>(file.size()), 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, width, 4);
  put(22, height, 4);
  put(26, 1, 2);
  put(28, 24, 2);
  // Rows bottom-up; B, G, R is 0xRRGGBB little-endian.
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) put(54 + (height - 1 - y) * stride + x * 3, rgbAt(x, y), 3);
  ScopedKernelHandle out(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!out) throw std::runtime_error("cannot write " + Narrow(path));
  DWORD written = 0;
  WriteFile(out.get(), file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
}

}  // namespace tessivane::test
