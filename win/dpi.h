// The display scale of a window. The per-monitor calls exist only from Windows 10 1607 on, so they are
// looked up at run time: a static import of them would stop the program loading on older systems.
#pragma once

#include <windows.h>

namespace quilmora {

// The scale the window is drawn at, 96 at 100 %.
int DpiFinestra(HWND finestra);
// The scale of the primary screen, the one screen positions are kept in.
int DpiSistema();

// The outer rectangle of a window whose client area is `r`, at a scale.
void RettangoloEsterno(RECT& r, DWORD stile, bool menu, DWORD stileEsteso, int dpi);
// Gives the window the outer size whose client area is `client` at a scale, its corner kept. A menu bar that
// wraps, or a frame drawn at another scale than asked (Wine draws it at the session's), is measured and made up for.
void DimensionaPerClient(HWND finestra, SIZE client, int dpi);
// A system metric (SM_*) at a scale.
int Metrica(int indice, int dpi);
// The message and menu fonts and the other non-client metrics, at a scale.
NONCLIENTMETRICSW MetricheNonClient(int dpi);

// A 96-dpi length at a scale, rounded to the nearest pixel.
constexpr int Scala(int pixel96, int dpi) {
    return (pixel96 * dpi + 48) / 96;
}

}  // namespace quilmora
