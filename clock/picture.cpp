#include "clock/picture.h"

#include <cstdint>
#include <utility>

#include "win/resource.h"

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

Immagine::Immagine(SIZE dimensioni) : dc_(::CreateCompatibleDC(nullptr)) {
    std::uint32_t* pixel = nullptr;
    bitmap_.reset(Dib32(dimensioni, pixel));
    if (!bitmap_ || !dc_) return;
    dimensioni_ = dimensioni;
    selezione_.emplace(dc_.get(), bitmap_.get());
}

PittureColore::PittureColore(HINSTANCE istanza, int colore)
    : strip(istanza, IDB_COLOR_0 + colore),
      acceso(istanza, IDB_PUNTO_0 + colore),
      spento(istanza, IDB_PUNTO1_0 + colore) {}

}  // namespace quilmora
