#include "win/icons.h"

#include "win/dpi.h"

namespace quilmora {

void IconeFinestra::Imposta(HWND finestra, HINSTANCE istanza, int id, int dpi) {
    // Not shared: a shared icon comes only at the system's size.
    const auto carica = [&](int lato) {
        return UniqueIcon(static_cast<HICON>(::LoadImageW(istanza, MAKEINTRESOURCEW(id), IMAGE_ICON, lato, lato, 0)));
    };
    UniqueIcon grande = carica(Metrica(SM_CXICON, dpi));
    UniqueIcon piccola = carica(Metrica(SM_CXSMICON, dpi));
    ::SendMessageW(finestra, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(grande.get()));
    ::SendMessageW(finestra, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(piccola.get()));
    grande_ = std::move(grande);
    piccola_ = std::move(piccola);
}

void IconeFinestra::Togli(HWND finestra) {
    if (!grande_ && !piccola_) return;
    ::SendMessageW(finestra, WM_SETICON, ICON_BIG, 0);
    ::SendMessageW(finestra, WM_SETICON, ICON_SMALL, 0);
    grande_.reset();
    piccola_.reset();
}

}  // namespace quilmora
