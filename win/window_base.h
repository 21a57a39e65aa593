// One C++ object per window: the window procedure finds the object and hands it every message.
#pragma once

#include <windows.h>

namespace quilmora {

template <typename Derived>
class FinestraBase {
public:
    FinestraBase() = default;
    FinestraBase(const FinestraBase&) = delete;
    FinestraBase& operator=(const FinestraBase&) = delete;

    HWND hwnd() const noexcept { return hwnd_; }

protected:
    ~FinestraBase() = default;

    // The window class of Derived, registered once per module; `stile`: CS_*. False when it cannot be, with
    // GetLastError telling why.
    static bool Registra(HINSTANCE istanza, HICON icona = nullptr, HBRUSH sfondo = nullptr, UINT stile = 0) {
        WNDCLASSEXW wc{};
        if (::GetClassInfoExW(istanza, Derived::kClasse, &wc)) return true;
        wc.cbSize = sizeof wc;
        wc.style = stile;
        wc.lpfnWndProc = &FinestraBase::Procedura;
        wc.hInstance = istanza;
        wc.hIcon = icona;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = sfondo;
        wc.lpszClassName = Derived::kClasse;
        return ::RegisterClassExW(&wc) != 0;
    }

    // Paints the client area with the window's own background; false when it has none yet.
    bool RiempiSfondo(HDC dc, HBRUSH pennello) const {
        if (!pennello) return false;
        RECT r{};
        ::GetClientRect(hwnd_, &r);
        ::FillRect(dc, &r, pennello);
        return true;
    }

    static LRESULT CALLBACK Procedura(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        Derived* self = nullptr;
        if (msg == WM_NCCREATE) {
            self = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
            self->hwnd_ = hwnd;
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Derived*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);
        if (msg == WM_NCDESTROY) {
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            return ::DefWindowProcW(hwnd, msg, wp, lp);
        }
        return self->Gestisci(msg, wp, lp);
    }

    HWND hwnd_ = nullptr;
};

}  // namespace quilmora
