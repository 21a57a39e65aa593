// Move-only owners for every Win32 handle the program creates.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace quilmora {

// Close is the API call that frees the handle; what it returns is of no use to a destructor.
template <typename Handle, auto Close>
struct HandleDeleter {
    using pointer = Handle;
    void operator()(Handle h) const noexcept {
        if (h) Close(h);
    }
};

template <typename Handle, auto Close>
using UniqueHandleOf = std::unique_ptr<std::remove_pointer_t<Handle>, HandleDeleter<Handle, Close>>;

using UniqueHandle = UniqueHandleOf<HANDLE, ::CloseHandle>;
using UniqueKey = UniqueHandleOf<HKEY, ::RegCloseKey>;
using UniqueDc = UniqueHandleOf<HDC, ::DeleteDC>;
using UniqueBitmap = UniqueHandleOf<HBITMAP, ::DeleteObject>;
using UniqueBrush = UniqueHandleOf<HBRUSH, ::DeleteObject>;
using UniqueRegion = UniqueHandleOf<HRGN, ::DeleteObject>;
using UniqueFont = UniqueHandleOf<HFONT, ::DeleteObject>;
using UniqueMenu = UniqueHandleOf<HMENU, ::DestroyMenu>;
using UniqueIcon = UniqueHandleOf<HICON, ::DestroyIcon>;
using UniqueWindow = UniqueHandleOf<HWND, ::DestroyWindow>;

// Selects an object into a DC for the lifetime of the scope and puts the previous one back,
// so the DC can be deleted while the object survives it.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(::SelectObject(dc, obj)) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ScopedSelect(ScopedSelect&& other) noexcept : dc_(other.dc_), old_(other.old_) { other.dc_ = nullptr; }
    ScopedSelect& operator=(ScopedSelect&&) = delete;
    ~ScopedSelect() {
        if (dc_ && old_) ::SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// DC of a window, released with the window it came from.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
    }
    HDC get() const noexcept { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

}  // namespace quilmora
