#include "test_window.h"

#include "platform/win32/utf8.h"

namespace tolvane::win32::testing {
namespace {

std::vector<std::pair<UINT, std::wstring>> ItemsOf(HMENU menu) {
    std::vector<std::pair<UINT, std::wstring>> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64]{};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        items.emplace_back(GetMenuItemID(menu, i), text);
    }
    return items;
}

}  // namespace

TestWindow::TestWindow(Shown shown) {
    window.Forms().AnswerMessageBoxesWith([this](const MessageBoxRequest& request) {
        boxes.push_back(request);
        journal.push_back("box " + Narrow(request.caption));
        return boxAnswer;
    });
    window.Forms().AnswerPopupMenusWith([this](HWND owner, HMENU menu, POINT at) {
        popups.push_back({owner, ItemsOf(menu), at});
        return popupChoice;
    });
    created = window.Create(GetModuleHandleW(nullptr));
    if (created && shown == Shown::Yes) window.Show(SW_SHOWNOACTIVATE);
}

TestWindow::~TestWindow() {
    if (window.Handle()) DestroyWindow(window.Handle());
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

ui::PixelRect TestWindow::ClientRectOf(Control control) const {
    RECT rect{};
    GetWindowRect((*this)[control], &rect);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

POINT TestWindow::PointOnFrame() const {
    const ui::PixelRect frame = ClientRectOf(Control::fraTodo);
    return {frame.left + 4, frame.top + frame.height / 2};
}

POINT TestWindow::PointOnBackground() const {
    const ui::PixelRect text = ClientRectOf(Control::txtUptime);
    return {text.left / 2, text.top + text.height / 2};
}

POINT TestWindow::PointOver(Control control) const {
    const ui::PixelRect rect = ClientRectOf(control);
    return {rect.left + rect.width / 2, rect.top + rect.height / 2};
}

COLORREF TestWindow::DrawnTextColor(Control label) const {
    const HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>((*this)[label]));
    const COLORREF color = GetTextColor(dc);
    DeleteDC(dc);
    return color;
}

std::wstring TextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!done()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

}  // namespace tolvane::win32::testing
