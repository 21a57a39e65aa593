#include "win/screens.h"

#include <algorithm>

#include "win/dpi.h"

namespace quilmora {
namespace {

constexpr SIZE kTitoloRaggiungibile{48, 8};

DWORD Stile(HWND finestra, int indice) {
    return static_cast<DWORD>(::GetWindowLongPtrW(finestra, indice));
}

}  // namespace

bool TitoloRaggiungibile(HWND finestra, int dpi) {
    RECT bordo{0, 0, 0, 0};
    RettangoloEsterno(bordo, Stile(finestra, GWL_STYLE), false, Stile(finestra, GWL_EXSTYLE), dpi);
    RECT titolo{};
    ::GetWindowRect(finestra, &titolo);
    titolo.bottom = titolo.top - bordo.top;
    struct Cerca {
        RECT titolo;
        SIZE minimo;
        bool trovato = false;
    } cerca{titolo, {Scala(kTitoloRaggiungibile.cx, dpi), Scala(kTitoloRaggiungibile.cy, dpi)}};
    ::EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM lp) -> BOOL {
            auto& c = *reinterpret_cast<Cerca*>(lp);
            MONITORINFO mi{sizeof mi, {}, {}, 0};
            RECT comune{};
            if (::GetMonitorInfoW(monitor, &mi) && ::IntersectRect(&comune, &c.titolo, &mi.rcWork)) {
                c.trovato = comune.right - comune.left >= c.minimo.cx && comune.bottom - comune.top >= c.minimo.cy;
            }
            return !c.trovato;
        },
        reinterpret_cast<LPARAM>(&cerca));
    return cerca.trovato;
}

void SeguiSchermi(HWND finestra, UINT msg, WPARAM wp, int dpi) {
    // Wine sends no work-area change after a mode change; Windows sends one when a taskbar moves or grows.
    if (msg == WM_DISPLAYCHANGE || (msg == WM_SETTINGCHANGE && wp == SPI_SETWORKAREA)) PortaInVista(finestra, dpi);
}

void PortaInVista(HWND finestra, int dpi) {
    if (::IsIconic(finestra) || TitoloRaggiungibile(finestra, dpi)) return;
    MONITORINFO mi{sizeof mi, {}, {}, 0};
    if (!::GetMonitorInfoW(::MonitorFromWindow(finestra, MONITOR_DEFAULTTONEAREST), &mi)) return;
    RECT w{};
    ::GetWindowRect(finestra, &w);
    const RECT& lavoro = mi.rcWork;
    // Into the area from the far side first, so that a window larger than the area keeps its corner on it.
    const LONG x = std::max(lavoro.left, std::min(w.left, lavoro.right - (w.right - w.left)));
    const LONG y = std::max(lavoro.top, std::min(w.top, lavoro.bottom - (w.bottom - w.top)));
    ::SetWindowPos(finestra, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace quilmora
