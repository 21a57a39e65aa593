// The smallest Win32 window program, built like Esmalvio.exe: the yardstick for start-up time. Built twice: as it
// is, and with the clock's menu bar from the clock's resources (ESMALVIO_BARE_MENU).
#include <windows.h>

#include "win/resource.h"

namespace {

LRESULT CALLBACK Procedura(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE istanza, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Procedura;
    wc.hInstance = istanza;
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = L"EsmalvioBare";
    ::RegisterClassExW(&wc);
#ifdef ESMALVIO_BARE_MENU
    const HMENU menu = ::LoadMenuW(istanza, MAKEINTRESOURCEW(IDM_ESMALVIO));
#else
    const HMENU menu = nullptr;
#endif
    HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"Bare", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 4, 400, 135,
                                  60, nullptr, menu, istanza, nullptr);
    ::ShowWindow(hwnd, SW_SHOWNORMAL);
    ::UpdateWindow(hwnd);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    return 0;
}
