// Pictures of the clock face: stored bitmaps, and the cells that show them.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "win/handles.h"
#include "win/window_base.h"

namespace quilmora {

// A bitmap from the resources, kept selected into a memory DC so it can be a copy source at once.
class Immagine {
public:
    Immagine(HINSTANCE istanza, int id);
    Immagine(const Immagine&) = delete;
    Immagine& operator=(const Immagine&) = delete;

    HDC dc() const noexcept { return dc_.get(); }
    SIZE dimensioni() const noexcept { return dimensioni_; }

private:
    UniqueBitmap bitmap_;
    UniqueDc dc_;
    ScopedSelect selezione_;
    SIZE dimensioni_{};
};

// A borderless child window with a persistent backing image of its own size: whatever is copied
// into the backing image stays on screen when the cell is covered and uncovered.
class Cella : public FinestraBase<Cella> {
public:
    static constexpr const wchar_t* kClasse = L"EsmalvioCella";

    Cella() = default;
    ~Cella();

    // rect in pixels, relative to the parent's client area.
    void Crea(HWND genitore, RECT rect, std::function<void()> click);

    HDC dc() const noexcept { return backing_.get(); }  // the backing image
    // Marks the backing image for the screen; the face puts all its cells there in one go.
    void Aggiorna() const;
    void Assegna(const Immagine& immagine);  // show a whole picture

private:
    friend class FinestraBase<Cella>;
    LRESULT Gestisci(UINT msg, WPARAM wp, LPARAM lp);

    UniqueBitmap bitmapBacking_;
    UniqueDc backing_;
    std::optional<ScopedSelect> selezione_;
    std::function<void()> click_;
    bool premuto_ = false;
    SIZE dimensioni_{};
};

}  // namespace quilmora
