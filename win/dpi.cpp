#include "win/dpi.h"

namespace quilmora {
namespace {

// The newer user32 calls, or null where this Windows lacks them.
struct ChiamateDpi {
    UINT(WINAPI* perFinestra)(HWND) = nullptr;
    UINT(WINAPI* diSistema)() = nullptr;
    BOOL(WINAPI* adattaRettangolo)(LPRECT, DWORD, BOOL, DWORD, UINT) = nullptr;
    int(WINAPI* metrica)(int, UINT) = nullptr;
    BOOL(WINAPI* parametri)(UINT, UINT, PVOID, UINT, UINT) = nullptr;

    ChiamateDpi() {
        const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
        Trova(user32, "GetDpiForWindow", perFinestra);
        Trova(user32, "GetDpiForSystem", diSistema);
        Trova(user32, "AdjustWindowRectExForDpi", adattaRettangolo);
        Trova(user32, "GetSystemMetricsForDpi", metrica);
        Trova(user32, "SystemParametersInfoForDpi", parametri);
    }

    template <typename Funzione>
    static void Trova(HMODULE modulo, const char* nome, Funzione& funzione) {
        funzione =
            modulo ? reinterpret_cast<Funzione>(reinterpret_cast<void*>(::GetProcAddress(modulo, nome))) : nullptr;
    }
};

// Looked up once, before the program's windows exist; a guarded local static would bring in thread support.
const ChiamateDpi kChiamate;

const ChiamateDpi& Chiamate() {
    return kChiamate;
}

int DpiSchermo() {
    const HDC schermo = ::GetDC(nullptr);
    const int dpi = schermo ? ::GetDeviceCaps(schermo, LOGPIXELSX) : USER_DEFAULT_SCREEN_DPI;
    if (schermo) ::ReleaseDC(nullptr, schermo);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

int DpiFinestra(HWND finestra) {
    if (Chiamate().perFinestra && finestra) {
        if (const UINT dpi = Chiamate().perFinestra(finestra)) return static_cast<int>(dpi);
    }
    return DpiSistema();
}

int DpiSistema() {
    if (Chiamate().diSistema) return static_cast<int>(Chiamate().diSistema());
    return DpiSchermo();
}

void RettangoloEsterno(RECT& r, DWORD stile, bool menu, DWORD stileEsteso, int dpi) {
    if (Chiamate().adattaRettangolo) {
        Chiamate().adattaRettangolo(&r, stile, menu, stileEsteso, static_cast<UINT>(dpi));
    } else {
        ::AdjustWindowRectEx(&r, stile, menu, stileEsteso);
    }
}

void DimensionaPerClient(HWND finestra, SIZE client, int dpi) {
    const auto stile = static_cast<DWORD>(::GetWindowLongPtrW(finestra, GWL_STYLE));
    const auto stileEsteso = static_cast<DWORD>(::GetWindowLongPtrW(finestra, GWL_EXSTYLE));
    RECT r{0, 0, client.cx, client.cy};
    RettangoloEsterno(r, stile, ::GetMenu(finestra) != nullptr, stileEsteso, dpi);
    constexpr UINT kSoloDimensioni = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    ::SetWindowPos(finestra, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, kSoloDimensioni);
    // A bar that wraps anew shows only at the next try.
    for (int prova = 0; prova < 3; ++prova) {
        RECT visto{};
        ::GetClientRect(finestra, &visto);
        if (visto.right == client.cx && visto.bottom == client.cy) return;
        RECT w{};
        ::GetWindowRect(finestra, &w);
        ::SetWindowPos(finestra, nullptr, 0, 0, w.right - w.left + client.cx - visto.right,
                       w.bottom - w.top + client.cy - visto.bottom, kSoloDimensioni);
    }
}

int Metrica(int indice, int dpi) {
    if (Chiamate().metrica) return Chiamate().metrica(indice, static_cast<UINT>(dpi));
    // Before per-monitor scales, every window is drawn at the system's.
    return ::GetSystemMetrics(indice);
}

NONCLIENTMETRICSW MetricheNonClient(int dpi) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    if (Chiamate().parametri) {
        Chiamate().parametri(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0, static_cast<UINT>(dpi));
    } else {
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    }
    return ncm;
}

}  // namespace quilmora
