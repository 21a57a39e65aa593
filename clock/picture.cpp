#include "clock/picture.h"

#include <utility>

namespace quilmora {
namespace {

HBITMAP CaricaBitmap(HINSTANCE istanza, int id) {
    // A DIB section keeps the 16-colour palette exactly as drawn.
    return static_cast<HBITMAP>(::LoadImageW(istanza, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

SIZE Dimensioni(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info)) return {};
    return {info.bmWidth, info.bmHeight};
}

}  // namespace

Immagine::Immagine(HINSTANCE istanza, int id)
    : bitmap_(CaricaBitmap(istanza, id)),
      dc_(::CreateCompatibleDC(nullptr)),
      selezione_(dc_.get(), bitmap_.get()),
      dimensioni_(Dimensioni(bitmap_.get())) {}

Cella::~Cella() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

void Cella::Crea(HWND genitore, RECT rect, std::function<void()> click) {
    click_ = std::move(click);
    dimensioni_ = {rect.right - rect.left, rect.bottom - rect.top};
    const auto istanza = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(genitore, GWLP_HINSTANCE));
    Registra(istanza);

    {
        WindowDc schermo(genitore);
        bitmapBacking_.reset(::CreateCompatibleBitmap(schermo.get(), dimensioni_.cx, dimensioni_.cy));
        backing_.reset(::CreateCompatibleDC(schermo.get()));
    }
    selezione_.emplace(backing_.get(), bitmapBacking_.get());
    // Until the first picture arrives the cell shows the window background colour.
    RECT tutto{0, 0, dimensioni_.cx, dimensioni_.cy};
    ::FillRect(backing_.get(), &tutto, ::GetSysColorBrush(COLOR_WINDOW));

    ::CreateWindowExW(0, kClasse, L"", WS_CHILD | WS_VISIBLE, rect.left, rect.top, dimensioni_.cx, dimensioni_.cy,
                      genitore, nullptr, istanza, this);
}

void Cella::Aggiorna() const {
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void Cella::Assegna(const Immagine& immagine) {
    const SIZE s = immagine.dimensioni();
    ::BitBlt(backing_.get(), 0, 0, s.cx, s.cy, immagine.dc(), 0, 0, SRCCOPY);
    Aggiorna();
}

LRESULT Cella::Gestisci(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;  // the backing image covers the whole cell
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd_, &ps);
            ::BitBlt(dc, 0, 0, dimensioni_.cx, dimensioni_.cy, backing_.get(), 0, 0, SRCCOPY);
            ::EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
            premuto_ = true;
            ::SetCapture(hwnd_);
            return 0;
        case WM_LBUTTONUP: {
            const bool click = premuto_;
            premuto_ = false;
            ::ReleaseCapture();
            const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            RECT dentro{0, 0, dimensioni_.cx, dimensioni_.cy};
            if (click && ::PtInRect(&dentro, p) && click_) click_();
            return 0;
        }
        case WM_CAPTURECHANGED:
            premuto_ = false;
            return 0;
        default:
            return ::DefWindowProcW(hwnd_, msg, wp, lp);
    }
}

}  // namespace quilmora
