#include "clock/picture.h"

#include <cstdint>
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

// A top-down 32-bit DIB section of the given size, and where its pixels are.
HBITMAP Dib32(SIZE dimensioni, std::uint32_t*& pixel) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), dimensioni.cx, -dimensioni.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HBITMAP bitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    pixel = static_cast<std::uint32_t*>(bits);
    return bitmap;
}

}  // namespace

Immagine::Immagine(HINSTANCE istanza, int id)
    : bitmap_(CaricaBitmap(istanza, id)),
      dc_(::CreateCompatibleDC(nullptr)),
      selezione_(std::in_place, dc_.get(), bitmap_.get()),
      dimensioni_(Dimensioni(bitmap_.get())) {}

Immagine::Immagine(const Immagine& sorgente, int colonne, SIZE glifo) : dc_(::CreateCompatibleDC(nullptr)) {
    const SIZE da = sorgente.dimensioni();
    if (colonne <= 0 || glifo.cx <= 0 || glifo.cy <= 0 || da.cx < colonne || da.cy <= 0) return;
    const int glifi = da.cx / colonne;
    dimensioni_ = {glifi * glifo.cx, glifo.cy};

    // The source's pixels as 32-bit values, read through a copy of the same format as the result.
    std::uint32_t* origine = nullptr;
    const UniqueBitmap copia(Dib32(da, origine));
    std::uint32_t* destinazione = nullptr;
    bitmap_.reset(Dib32(dimensioni_, destinazione));
    if (!copia || !bitmap_ || !dc_) return;
    {
        const UniqueDc dcCopia(::CreateCompatibleDC(nullptr));
        const ScopedSelect sel(dcCopia.get(), copia.get());
        ::BitBlt(dcCopia.get(), 0, 0, da.cx, da.cy, sorgente.dc(), 0, 0, SRCCOPY);
        ::GdiFlush();
    }
    for (int y = 0; y < dimensioni_.cy; ++y) {
        const int sy = y * da.cy / glifo.cy;
        for (int x = 0; x < dimensioni_.cx; ++x) {
            const int sx = x / glifo.cx * colonne + x % glifo.cx * colonne / glifo.cx;
            destinazione[y * dimensioni_.cx + x] = origine[sy * da.cx + sx];
        }
    }
    selezione_.emplace(dc_.get(), bitmap_.get());
}

Cella::~Cella() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

void Cella::Crea(HWND genitore, RECT rect, std::function<void(POINT)> premuto) {
    premuto_ = std::move(premuto);
    dimensioni_ = {rect.right - rect.left, rect.bottom - rect.top};
    const auto istanza = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(genitore, GWLP_HINSTANCE));
    Registra(istanza);
    NuovoBacking(genitore);
    ::CreateWindowExW(0, kClasse, L"", WS_CHILD | WS_VISIBLE, rect.left, rect.top, dimensioni_.cx, dimensioni_.cy,
                      genitore, nullptr, istanza, this);
}

void Cella::Colloca(RECT rect) {
    dimensioni_ = {rect.right - rect.left, rect.bottom - rect.top};
    NuovoBacking(::GetParent(hwnd_));
    ::SetWindowPos(hwnd_, nullptr, rect.left, rect.top, dimensioni_.cx, dimensioni_.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Cella::NuovoBacking(HWND genitore) {
    Dimentica();
    selezione_.reset();  // the old image leaves its DC before either goes
    {
        WindowDc schermo(genitore);
        bitmapBacking_.reset(::CreateCompatibleBitmap(schermo.get(), dimensioni_.cx, dimensioni_.cy));
        backing_.reset(::CreateCompatibleDC(schermo.get()));
    }
    selezione_.emplace(backing_.get(), bitmapBacking_.get());
    // Until the first picture arrives the cell shows the window background colour.
    RECT tutto{0, 0, dimensioni_.cx, dimensioni_.cy};
    ::FillRect(backing_.get(), &tutto, ::GetSysColorBrush(COLOR_WINDOW));
}

void Cella::Aggiorna() const {
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

bool Cella::Cambia(const Immagine& glifi, int colonna, int riga) {
    if (glifi_ == &glifi && colonna_ == colonna && riga_ == riga) return false;
    glifi_ = &glifi;
    colonna_ = colonna;
    riga_ = riga;
    return true;
}

void Cella::Assegna(const Immagine& immagine) {
    Dimentica();
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
        case WM_LBUTTONDOWN: {
            // The face decides between a click and a drag.
            POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            ::ClientToScreen(hwnd_, &p);
            if (premuto_) premuto_(p);
            return 0;
        }
        default:
            return ::DefWindowProcW(hwnd_, msg, wp, lp);
    }
}

}  // namespace quilmora
