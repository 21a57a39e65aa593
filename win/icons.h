// A window's title-bar and taskbar icons, loaded at the size its scale asks for.
#pragma once

#include <windows.h>

#include "win/handles.h"

namespace quilmora {

class IconeFinestra {
public:
    // Loads the icon resource `id` at the window's scale and gives it to the window; the previous
    // ones go once the window has let go of them.
    void Imposta(HWND finestra, HINSTANCE istanza, int id, int dpi);
    // Gives the window back its class's icons, when it has any of its own.
    void Togli(HWND finestra);

private:
    UniqueIcon grande_;
    UniqueIcon piccola_;
};

}  // namespace quilmora
