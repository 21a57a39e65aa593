// Looks at a running Esmalvio from outside, for the run script and the benchmarks:
//   probe wait <class> <timeout-ms>     waits for a visible window of that class, prints its rectangle
//   probe shot <class> <file.bmp>       writes what the screen shows of that window as a 24-bit BMP
//   probe command <class> <id>          sends a menu command to the window
//   probe close <class>                 asks the window to close
//   probe names                         prints the names other programs find the clock by, as shell
//                                       assignments for a script's eval: scripts never type them again
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "win/handles.h"
#include "win/shared_names.h"

namespace {

using quilmora::ScopedSelect;
using quilmora::UniqueBitmap;
using quilmora::UniqueDc;
using quilmora::WindowDc;

HWND Trova(const wchar_t* classe, DWORD timeoutMs) {
    const ULONGLONG fine = ::GetTickCount64() + timeoutMs;
    for (;;) {
        HWND h = ::FindWindowW(classe, nullptr);
        if (h && ::IsWindowVisible(h)) return h;
        if (::GetTickCount64() >= fine) return nullptr;
        ::Sleep(20);
    }
}

template <typename T>
void Scrivi(std::ofstream& f, T v) {
    f.write(reinterpret_cast<const char*>(&v), sizeof v);
}

bool Fotografa(HWND h, const wchar_t* file) {
    RECT r{};
    ::GetWindowRect(h, &r);
    const int w = r.right - r.left;
    const int a = r.bottom - r.top;
    if (w <= 0 || a <= 0) return false;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = a;  // bottom-up, as a BMP file stores it
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    WindowDc schermo(nullptr);
    UniqueBitmap dib(::CreateDIBSection(schermo.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueDc memoria(::CreateCompatibleDC(schermo.get()));
    if (!dib || !memoria) return false;
    {
        ScopedSelect sel(memoria.get(), dib.get());
        ::BitBlt(memoria.get(), 0, 0, w, a, schermo.get(), r.left, r.top, SRCCOPY);
        ::GdiFlush();
    }
    const auto riga = static_cast<DWORD>((w * 3 + 3) & ~3);
    const DWORD dati = riga * static_cast<DWORD>(a);
    std::ofstream f(file, std::ios::binary);
    Scrivi<WORD>(f, 0x4D42);
    Scrivi<DWORD>(f, 14 + 40 + dati);
    Scrivi<DWORD>(f, 0);
    Scrivi<DWORD>(f, 14 + 40);
    f.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
    f.write(static_cast<const char*>(bits), static_cast<std::streamsize>(dati));
    return static_cast<bool>(f);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::vector<std::wstring> a(argv + 1, argv + argc);
    if (a.size() == 3 && a[0] == L"wait") {
        HWND h = Trova(a[1].c_str(), static_cast<DWORD>(std::wcstoul(a[2].c_str(), nullptr, 10)));
        if (!h) return 1;
        RECT r{};
        ::GetWindowRect(h, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (a.size() == 3 && a[0] == L"shot") {
        HWND h = Trova(a[1].c_str(), 5000);
        return h && Fotografa(h, a[2].c_str()) ? 0 : 1;
    }
    if (a.size() == 3 && a[0] == L"command") {
        HWND h = Trova(a[1].c_str(), 5000);
        return h && ::PostMessageW(h, WM_COMMAND, std::wcstoul(a[2].c_str(), nullptr, 10), 0) ? 0 : 1;
    }
    if (a.size() == 2 && a[0] == L"close") {
        HWND h = Trova(a[1].c_str(), 5000);
        return h && ::PostMessageW(h, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (a.size() == 1 && a[0] == L"names") {
        std::printf("classe_orologio='%ls'\nclasse_fusi='%ls'\nistanza_unica='%ls'\n", quilmora::kClasseOrologio,
                    quilmora::kClasseFusi, quilmora::kIstanzaUnica);
        std::printf("chiave_impostazioni='%ls'\nchiave_run='%ls'\nvalore_run='%ls'\ncomando_fuso_orario=%d\n",
                    quilmora::ChiaveImpostazioni().c_str(), quilmora::kChiaveRun, quilmora::kValoreRun,
                    quilmora::kComandoFusoOrario);
        return 0;
    }
    std::fputs("usage: probe wait|shot|command|close <class> [arg] | probe names\n", stderr);
    return 2;
}
