// Pictures of the clock face: stored bitmaps, their copies scaled to the screen, and the face's backing image.
#pragma once

#include <windows.h>

#include <optional>

#include "win/handles.h"

namespace quilmora {

// A bitmap kept selected into a memory DC so it can be a copy source or target at once.
class Immagine {
public:
    // From the resources.
    Immagine(HINSTANCE istanza, int id);
    // A row of glyphs `colonne` pixels wide, each stretched to `glifo` by repeating pixels: pixel (x, y) of
    // a stretched glyph is pixel (x * colonne / glifo.cx, y * height / glifo.cy) of its original, nothing blended.
    Immagine(const Immagine& sorgente, int colonne, SIZE glifo);
    // A blank 32-bit image of a size, to draw into.
    explicit Immagine(SIZE dimensioni);
    Immagine(const Immagine&) = delete;
    Immagine& operator=(const Immagine&) = delete;

    HDC dc() const noexcept { return dc_.get(); }
    SIZE dimensioni() const noexcept { return dimensioni_; }

private:
    UniqueBitmap bitmap_;
    UniqueDc dc_;
    std::optional<ScopedSelect> selezione_;
    SIZE dimensioni_{};
};

// The stored pictures of one colour: the digit strip, the lit colon and the unlit colon.
struct PittureColore {
    PittureColore(HINSTANCE istanza, int colore);
    Immagine strip;
    Immagine acceso;
    Immagine spento;
};

}  // namespace quilmora
