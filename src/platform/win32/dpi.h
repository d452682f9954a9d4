#pragma once
#include <windows.h>

namespace tolvane::win32 {

// Per-monitor DPI functions appeared in Windows 10; on older systems these fall back to
// the screen's DPI and the DPI-unaware calls.

inline constexpr int kDefaultDpi = 96;

int WindowDpi(HWND hwnd);

// The outer size of a window whose client area is `client` pixels, with its own styles.
SIZE WindowSizeForClient(HWND hwnd, SIZE client, int dpi);

// Makes windows created on this thread per-monitor DPI aware (v2) for the object's life,
// so the window scales itself and receives WM_DPICHANGED even where no manifest says so.
class ScopedPerMonitorDpiAwareness {
  public:
    ScopedPerMonitorDpiAwareness();
    ~ScopedPerMonitorDpiAwareness();
    ScopedPerMonitorDpiAwareness(const ScopedPerMonitorDpiAwareness&) = delete;
    ScopedPerMonitorDpiAwareness& operator=(const ScopedPerMonitorDpiAwareness&) = delete;

  private:
    DPI_AWARENESS_CONTEXT previous_ = nullptr;
};

}  // namespace tolvane::win32
