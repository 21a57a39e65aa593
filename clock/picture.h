// Pictures of the clock face: stored bitmaps, their copies scaled to the screen, and the cells that show them.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "win/handles.h"
#include "win/window_base.h"

namespace quilmora {

// A bitmap kept selected into a memory DC so it can be a copy source at once.
class Immagine {
public:
    // From the resources.
    Immagine(HINSTANCE istanza, int id);
    // A row of glyphs `colonne` pixels wide, each stretched to `glifo` by repeating pixels: pixel (x, y) of
    // a stretched glyph is pixel (x * colonne / glifo.cx, y * height / glifo.cy) of its original, nothing blended.
    Immagine(const Immagine& sorgente, int colonne, SIZE glifo);
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

// A borderless child window with a persistent backing image of its own size: whatever is copied
// into the backing image stays on screen when the cell is covered and uncovered.
class Cella : public FinestraBase<Cella> {
public:
    static constexpr const wchar_t* kClasse = L"EsmalvioCella";

    Cella() = default;
    ~Cella();

    // rect in pixels, relative to the parent's client area; `premuto` gets each press of the left button, at its
    // place on the screen.
    void Crea(HWND genitore, RECT rect, std::function<void(POINT)> premuto);
    // Moves and resizes the cell; the backing image starts anew at the new size.
    void Colloca(RECT rect);

    HDC dc() const noexcept { return backing_.get(); }  // the backing image
    SIZE dimensioni() const noexcept { return dimensioni_; }
    // Marks the backing image for the screen; the face puts all its cells there in one go.
    void Aggiorna() const;
    void Assegna(const Immagine& immagine);  // show a whole picture
    // Records that the cell is to show glyph (`colonna`, `riga`) of `glifi`; false when it shows it already.
    bool Cambia(const Immagine& glifi, int colonna, int riga);
    // The next glyph is copied whatever the cell shows now.
    void Dimentica() noexcept { glifi_ = nullptr; }

private:
    friend class FinestraBase<Cella>;
    LRESULT Gestisci(UINT msg, WPARAM wp, LPARAM lp);
    void NuovoBacking(HWND genitore);

    UniqueBitmap bitmapBacking_;
    UniqueDc backing_;
    std::optional<ScopedSelect> selezione_;
    std::function<void(POINT)> premuto_;
    const Immagine* glifi_ = nullptr;  // where the glyph the backing image shows came from, if one did
    int colonna_ = 0;
    int riga_ = 0;
    SIZE dimensioni_{};
};

}  // namespace quilmora
