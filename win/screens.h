// Keeping a window where the mouse can take it, whatever the screens do.
#pragma once

#include <windows.h>

namespace quilmora {

// True while enough of the window's title bar to take it with the mouse (48 x 8 pixels at 100 %, scaled to
// `dpi`) lies on the work area of some screen.
bool TitoloRaggiungibile(HWND finestra, int dpi);

// Applies PortaInVista when `msg` says the screens or their work areas changed.
void SeguiSchermi(HWND finestra, UINT msg, WPARAM wp, int dpi);

// When the title bar is out of reach, moves the window the least distance that puts it whole on the work area
// of the screen nearest to it (its corner, when it is larger than that). A minimised window is left alone.
void PortaInVista(HWND finestra, int dpi);

}  // namespace quilmora
