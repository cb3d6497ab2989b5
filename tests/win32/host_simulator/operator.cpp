#include "operator.h"

#include <fstream>
#include <utility>

#include "message_pump.h"

namespace {

constexpr DWORD kPollMs = 20;
// How long a message to a window of the host's thread may take before the operator gives up:
// that thread is then stuck, and the scenario is failing anyway.
constexpr UINT kSendTimeoutMs = 5000;

std::string WindowCaption(HWND window) {
  // InternalGetWindowText reads the caption without a message to the window's thread, which
  // may be busy.
  wchar_t wide[512];
  const int length = InternalGetWindowText(window, wide, 512);
  if (length <= 0) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string caption(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, length, caption.data(), size, nullptr, nullptr);
  return caption;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  auto* found = reinterpret_cast<std::pair<std::vector<TopLevelWindow>*, bool>*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId()) return TRUE;
  if (found->second && !IsWindowVisible(window)) return TRUE;
  found->first->push_back({window, WindowCaption(window)});
  return TRUE;
}

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr) {
  DWORD_PTR answer = 0;
  if (SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                          &answer) == 0) {
    return false;
  }
  if (result != nullptr) *result = static_cast<LRESULT>(answer);
  return true;
}

// A device context of a window, released at the end of the scope.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : m_window(window), m_dc(GetWindowDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (m_dc != nullptr) ReleaseDC(m_window, m_dc);
  }
  HDC get() const { return m_dc; }

 private:
  HWND m_window;
  HDC m_dc;
};

// A memory DC with one bitmap selected into it; both deleted at the end of the scope.
class MemoryDc {
 public:
  MemoryDc(HDC compatible, HBITMAP bitmap)
      : m_dc(CreateCompatibleDC(compatible)), m_bitmap(bitmap) {
    if (m_dc != nullptr && m_bitmap != nullptr) m_previous = SelectObject(m_dc, m_bitmap);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    if (m_dc != nullptr && m_previous != nullptr) SelectObject(m_dc, m_previous);
    if (m_dc != nullptr) DeleteDC(m_dc);
    if (m_bitmap != nullptr) DeleteObject(m_bitmap);
  }
  HDC get() const { return m_dc; }
  bool ok() const { return m_dc != nullptr && m_bitmap != nullptr && m_previous != nullptr; }

 private:
  HDC m_dc;
  HBITMAP m_bitmap;
  HGDIOBJ m_previous = nullptr;
};

}  // namespace

std::vector<TopLevelWindow> ProcessTopLevelWindows(bool visibleOnly) {
  std::vector<TopLevelWindow> windows;
  std::pair<std::vector<TopLevelWindow>*, bool> context{&windows, visibleOnly};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&context));
  return windows;
}

bool CaptureWindowToBmp(HWND window, const std::string& bmpPath) {
  RECT frame;
  if (!IsWindow(window) || !GetWindowRect(window, &frame)) return false;
  const LONG width = frame.right - frame.left;
  const LONG height = frame.bottom - frame.top;
  if (width <= 0 || height <= 0) return false;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  info.bmiHeader.biSizeImage = stride * static_cast<DWORD>(height);

  WindowDc source(window);
  if (source.get() == nullptr) return false;
  void* bits = nullptr;
  MemoryDc copy(source.get(),
                CreateDIBSection(source.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!copy.ok() || bits == nullptr) return false;
  if (!BitBlt(copy.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY)) return false;
  GdiFlush();

  BITMAPFILEHEADER header{};
  header.bfType = 0x4d42;  // "BM"
  header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  header.bfSize = header.bfOffBits + info.bmiHeader.biSizeImage;
  std::ofstream file(bmpPath, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(&header), sizeof header);
  file.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  file.write(static_cast<const char*>(bits), info.bmiHeader.biSizeImage);
  return static_cast<bool>(file.flush());
}

bool Operator::Fail(const std::string& what) {
  m_failures.push_back(what);
  return false;
}

HWND Operator::Control(int id, const char* action) {
  if (m_window == nullptr || !IsWindow(m_window)) {
    Fail(std::string(action) + " " + std::to_string(id) + ": no window \"" + m_caption + "\"");
    return nullptr;
  }
  HWND control = GetDlgItem(m_window, id);
  if (control == nullptr) {
    Fail(std::string(action) + ": \"" + m_caption + "\" has no control " + std::to_string(id));
  }
  return control;
}

bool Operator::WaitForWindow(const std::string& caption, DWORD timeoutMs) {
  m_caption = caption;
  m_window = nullptr;
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    for (const TopLevelWindow& candidate : ProcessTopLevelWindows(/*visibleOnly=*/true)) {
      if (candidate.caption == caption) {
        m_window = candidate.window;
        return true;
      }
    }
    if (GetTickCount64() >= deadline) break;
    Sleep(kPollMs);
  }
  return Fail("no window \"" + caption + "\" within " + std::to_string(timeoutMs) + " ms");
}

bool Operator::WaitUntilClosed(DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (m_window != nullptr && IsWindow(m_window) && IsWindowVisible(m_window)) {
    if (GetTickCount64() >= deadline) {
      return Fail("\"" + m_caption + "\" still open after " + std::to_string(timeoutMs) + " ms");
    }
    Sleep(kPollMs);
  }
  m_window = nullptr;
  return true;
}

bool Operator::SetText(int id, const std::string& text) {
  HWND control = Control(id, "text");
  if (control == nullptr) return false;
  LRESULT done = FALSE;
  if (!Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &done) || !done) {
    return Fail("text " + std::to_string(id) + ": the control refused the text");
  }
  return true;
}

std::string Operator::GetText(int id) {
  HWND control = id == 0 ? m_window : Control(id, "read");
  if (control == nullptr) return {};
  LRESULT length = 0;
  if (!Send(control, WM_GETTEXTLENGTH, 0, 0, &length) || length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  LRESULT copied = 0;
  if (!Send(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &copied)) {
    return {};
  }
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

bool Operator::SetCheck(int id, bool checked) {
  HWND control = Control(id, "check");
  if (control == nullptr) return false;
  if (!Send(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0)) {
    return Fail("check " + std::to_string(id) + ": no answer");
  }
  return true;
}

bool Operator::SelectComboText(int id, const std::string& text) {
  HWND control = Control(id, "combo");
  if (control == nullptr) return false;
  LRESULT index = CB_ERR;
  if (!Send(control, CB_SELECTSTRING, static_cast<WPARAM>(-1),
            reinterpret_cast<LPARAM>(text.c_str()), &index) ||
      index == CB_ERR) {
    return Fail("combo " + std::to_string(id) + ": no entry begins with \"" + text + "\"");
  }
  PostMessageA(m_window, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(control));
  return true;
}

bool Operator::PressButton(int id) {
  HWND control = Control(id, "press");
  if (control == nullptr) return false;
  if (!PostMessageA(m_window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                    reinterpret_cast<LPARAM>(control))) {
    return Fail("press " + std::to_string(id) + ": the message was not posted");
  }
  return true;
}

bool Operator::Close() {
  if (m_window == nullptr || !IsWindow(m_window)) {
    return Fail("close: no window \"" + m_caption + "\"");
  }
  if (!PostMessageA(m_window, WM_SYSCOMMAND, SC_CLOSE, 0)) return Fail("close: not posted");
  return true;
}

bool Operator::PressEscape() {
  if (m_window == nullptr || !IsWindow(m_window)) {
    return Fail("escape: no window \"" + m_caption + "\"");
  }
  // The key goes where the keyboard focus is, as a real key press would; the dialog's message
  // loop turns it into IDCANCEL unless the focused control wants the key itself.
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  HWND target = m_window;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(m_window, nullptr), &gui) &&
      gui.hwndFocus != nullptr && (gui.hwndFocus == m_window || IsChild(m_window, gui.hwndFocus))) {
    target = gui.hwndFocus;
  }
  if (!PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 1) ||
      !PostMessageA(target, WM_KEYUP, VK_ESCAPE, 1 | (3u << 30))) {
    return Fail("escape: not posted");
  }
  return true;
}

bool Operator::Capture(const std::string& bmpPath) {
  if (m_window == nullptr || !IsWindow(m_window)) {
    return Fail("capture: no window \"" + m_caption + "\"");
  }
  // Let the window's thread paint what is pending before the screen is read.
  RedrawWindow(m_window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(100);
  if (!CaptureWindowToBmp(m_window, bmpPath)) return Fail("capture: cannot write " + bmpPath);
  return true;
}

OperatorThread::OperatorThread(std::function<void(Operator&)> actions)
    : m_actions(std::move(actions)) {
  m_thread = ScopedHandle(CreateThread(nullptr, 0, &OperatorThread::Main, this, 0, nullptr));
}

OperatorThread::~OperatorThread() { WaitForSingleObject(m_thread.get(), INFINITE); }

DWORD WINAPI OperatorThread::Main(void* self) {
  auto* thread = static_cast<OperatorThread*>(self);
  thread->m_actions(thread->m_operator);
  return 0;
}

bool OperatorThread::FinishPumping(DWORD timeoutMs) {
  return PumpUntilSignalled(m_thread.get(), timeoutMs);
}

std::vector<std::string> OperatorThread::Failures() const {
  if (WaitForSingleObject(m_thread.get(), 0) != WAIT_OBJECT_0) {
    return {"the operator has not finished"};
  }
  return m_operator.Failures();
}
