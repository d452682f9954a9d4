#include "platform/win32/dpi.h"

#include "platform/win32/unique_handle.h"

namespace tolvane::win32 {
namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SetThreadDpiAwarenessContextFunction = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);

template <typename Function>
Function User32Function(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

SetThreadDpiAwarenessContextFunction SetContextFunction() {
    static const auto function =
        User32Function<SetThreadDpiAwarenessContextFunction>("SetThreadDpiAwarenessContext");
    return function;
}

struct ReleaseScreenDc {
    void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};

}  // namespace

int WindowDpi(HWND hwnd) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(hwnd)) return static_cast<int>(dpi);
    }
    const UniqueHandle<HDC, ReleaseScreenDc> screen(GetDC(nullptr));
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kDefaultDpi;
}

SIZE WindowSizeForClient(HWND hwnd, SIZE client, int dpi) {
    static const auto adjustForDpi =
        User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
    RECT rect{0, 0, client.cx, client.cy};
    if (adjustForDpi)
        adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

ScopedPerMonitorDpiAwareness::ScopedPerMonitorDpiAwareness() {
    if (const auto setContext = SetContextFunction())
        previous_ = setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

ScopedPerMonitorDpiAwareness::~ScopedPerMonitorDpiAwareness() {
    if (const auto setContext = SetContextFunction(); setContext && previous_)
        setContext(previous_);
}

}  // namespace tolvane::win32
