#include "support/win_test_util.h"

#include <dlgs.h>

#include <algorithm>
#include <vector>

namespace esmalvio::test {
namespace {

constexpr std::array<int, 6> kXCifre{5, 23, 46, 64, 87, 105};
constexpr std::array<int, 2> kXPunti{41, 82};
constexpr int kYCelle = 4;

enum class Pixel { nero, scuro, chiaro, altro };

// Bright and dark shades of the three colours.
constexpr std::array<COLORREF, 3> kChiari{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 255, 255)};
constexpr std::array<COLORREF, 3> kScuri{RGB(128, 0, 0), RGB(0, 128, 0), RGB(0, 128, 128)};

struct Schermata {
    int larghezza = 0;
    int altezza = 0;
    std::vector<COLORREF> pixel;
    COLORREF At(int x, int y) const {
        if (x < 0 || y < 0 || x >= larghezza || y >= altezza) return CLR_INVALID;
        return pixel[static_cast<std::size_t>(y * larghezza + x)];
    }
};

// The pixels that `disegna` puts on a 32-bit bitmap of the given size.
Schermata Disegna(int larghezza, int altezza, const std::function<void(HDC)>& disegna) {
    Schermata s;
    s.larghezza = larghezza;
    s.altezza = altezza;
    if (s.larghezza <= 0 || s.altezza <= 0) return s;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = s.larghezza;
    bi.bmiHeader.biHeight = -s.altezza;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    UniqueBitmap dib(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueDc memoria(::CreateCompatibleDC(nullptr));
    {
        ScopedSelect sel(memoria.get(), dib.get());
        disegna(memoria.get());
        ::GdiFlush();
    }
    const auto* p = static_cast<const std::uint32_t*>(bits);
    s.pixel.resize(static_cast<std::size_t>(s.larghezza * s.altezza));
    for (std::size_t i = 0; i < s.pixel.size(); ++i) {
        const std::uint32_t v = p[i];  // 0x00RRGGBB
        s.pixel[i] = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    return s;
}

// The client area of a window as it is on the screen, also for a window of another process.
Schermata Cattura(HWND finestra) {
    RECT r{};
    ::GetClientRect(finestra, &r);
    return Disegna(r.right, r.bottom, [&](HDC memoria) {
        WindowDc sorgente(finestra);
        ::BitBlt(memoria, 0, 0, r.right, r.bottom, sorgente.get(), 0, 0, SRCCOPY);
    });
}

// Whether an icon control shows a system icon. A box of another process holds its own handle of
// the icon, so there the pixels are compared with the icon drawn here on the same background.
bool MostraIcona(HWND controllo, LPCWSTR id) {
    const HICON icona = ::LoadIconW(nullptr, id);
    if (reinterpret_cast<HICON>(::SendMessageW(controllo, STM_GETICON, 0, 0)) == icona) return true;
    // A child window of another process reads back blank through its own DC: go through its top-level window.
    const HWND radice = ::GetAncestor(controllo, GA_ROOT);
    RECT r{};
    ::GetClientRect(controllo, &r);
    POINT origine{0, 0};
    ::MapWindowPoints(controllo, radice, &origine, 1);
    const Schermata vista = Disegna(r.right, r.bottom, [&](HDC memoria) {
        WindowDc sorgente(radice);
        ::BitBlt(memoria, 0, 0, r.right, r.bottom, sorgente.get(), origine.x, origine.y, SRCCOPY);
    });
    if (vista.pixel.empty()) return false;
    const Schermata attesa = Disegna(vista.larghezza, vista.altezza, [&](HDC memoria) {
        const UniqueBrush sfondo(::CreateSolidBrush(vista.At(0, 0)));
        const RECT tutto{0, 0, vista.larghezza, vista.altezza};
        ::FillRect(memoria, &tutto, sfondo.get());
        ::DrawIconEx(memoria, 0, 0, icona, vista.larghezza, vista.altezza, 0, nullptr, DI_NORMAL);
    });
    return vista.pixel == attesa.pixel;
}

Pixel Tipo(COLORREF c, int& colore) {
    if (c == RGB(0, 0, 0)) return Pixel::nero;
    for (int i = 0; i < 3; ++i) {
        if (c == kChiari[static_cast<std::size_t>(i)]) {
            colore = colore == -1 || colore == i ? i : -2;
            return Pixel::chiaro;
        }
        if (c == kScuri[static_cast<std::size_t>(i)]) return Pixel::scuro;
    }
    return Pixel::altro;
}

// Segments a..g: a point inside each, and the pixel to its right.
constexpr std::array<POINT, 7> kSegmenti{{{8, 2}, {15, 7}, {15, 18}, {8, 24}, {2, 18}, {2, 7}, {8, 13}}};
// Lit segments of digits 0..9, bit 0 = a.
constexpr std::array<int, 10> kCifre{0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

int Cifra(const Schermata& s, int x0, int& colore) {
    int accesi = 0;
    for (std::size_t k = 0; k < kSegmenti.size(); ++k) {
        const int x = x0 + kSegmenti[k].x;
        const int y = kYCelle + kSegmenti[k].y;
        const Pixel p1 = Tipo(s.At(x, y), colore);
        const Pixel p2 = Tipo(s.At(x, y + 1), colore);
        if (p1 == Pixel::chiaro && p2 == Pixel::chiaro) {
            accesi |= 1 << k;
        } else if (!((p1 == Pixel::scuro && p2 == Pixel::nero) || (p1 == Pixel::nero && p2 == Pixel::scuro))) {
            return -1;
        }
    }
    const auto it = std::find(kCifre.begin(), kCifre.end(), accesi);
    return it == kCifre.end() ? -1 : static_cast<int>(it - kCifre.begin());
}

// 1 lit, 0 unlit, -1 unknown.
int Punti(const Schermata& s, int x0, int& colore) {
    const Pixel centro = Tipo(s.At(x0 + 2, kYCelle + 8), colore);
    const Pixel lato = Tipo(s.At(x0 + 1, kYCelle + 8), colore);
    const Pixel basso = Tipo(s.At(x0 + 2, kYCelle + 18), colore);
    if (centro == Pixel::chiaro && lato == Pixel::chiaro && basso == Pixel::chiaro) return 1;
    if (centro == Pixel::scuro && lato == Pixel::nero && basso == Pixel::scuro) return 0;
    return -1;
}

bool MarginiNeri(const Schermata& s) {
    for (int y = 0; y < s.altezza; ++y) {
        for (int x = 0; x < s.larghezza; ++x) {
            const bool celle = y >= kYCelle && y < kYCelle + 27 && x >= 5 && x < 123;
            if (!celle && s.At(x, y) != RGB(0, 0, 0)) return false;
        }
    }
    return s.larghezza > 0;
}

}  // namespace

bool AttendiFinche(const std::function<bool()>& condizione, DWORD timeoutMs) {
    const ULONGLONG fine = ::GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (condizione()) return true;
        if (::GetTickCount64() >= fine) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void Pompa(DWORD ms) {
    AttendiFinche([] { return false; }, ms);
}

std::wstring Faccia::Testo() const {
    std::wstring t;
    for (std::size_t k = 0; k < cifre.size(); ++k) {
        if (k == 2 || k == 4) t += L':';
        t += cifre[k] < 0 ? L'?' : static_cast<wchar_t>(L'0' + cifre[k]);
    }
    return t;
}

Faccia LeggiFaccia(HWND finestra) {
    const Schermata s = Cattura(finestra);
    Faccia f;
    int colore = -1;
    for (std::size_t k = 0; k < kXCifre.size(); ++k) f.cifre[k] = Cifra(s, kXCifre[k], colore);
    const int p0 = Punti(s, kXPunti[0], colore);
    const int p1 = Punti(s, kXPunti[1], colore);
    f.puntiValidi = p0 >= 0 && p0 == p1;
    f.puntiAccesi = f.puntiValidi && p0 == 1;
    f.colore = colore >= 0 ? colore : -1;
    f.marginiNeri = MarginiNeri(s);
    return f;
}

MessaggioVisto LeggiMessaggio(HWND dlg) {
    MessaggioVisto v;
    wchar_t buffer[1024] = {};
    ::GetWindowTextW(dlg, buffer, static_cast<int>(std::size(buffer)));
    v.titolo = buffer;
    ::GetDlgItemTextW(dlg, 0xFFFF, buffer, static_cast<int>(std::size(buffer)));
    v.testo = buffer;
    // Windows puts the icon in control 20, Wine in stc1.
    HWND controlloIcona = ::GetDlgItem(dlg, 20);
    if (!controlloIcona) controlloIcona = ::GetDlgItem(dlg, stc1);
    if (MostraIcona(controlloIcona, IDI_EXCLAMATION)) v.icona = MB_ICONEXCLAMATION;
    if (MostraIcona(controlloIcona, IDI_ASTERISK)) v.icona = MB_ICONINFORMATION;
    if (MostraIcona(controlloIcona, IDI_QUESTION)) v.icona = MB_ICONQUESTION;
    const bool si = ::GetDlgItem(dlg, IDYES) != nullptr;
    const bool no = ::GetDlgItem(dlg, IDNO) != nullptr;
    const bool ok = ::GetDlgItem(dlg, IDOK) != nullptr;
    v.pulsanti = si && no && !ok ? MB_YESNO : (ok && !si && !no ? MB_OK : 0xFFFF);
    return v;
}

Risponditore::Risponditore(int risposta, DWORD timeoutMs, const wchar_t* titolo) {
    thread_ = std::thread([this, risposta, timeoutMs, t = std::wstring(titolo)] {
        const ULONGLONG fine = ::GetTickCount64() + timeoutMs;
        HWND dlg = nullptr;
        while (::GetTickCount64() < fine) {
            dlg = ::FindWindowW(L"#32770", t.c_str());
            if (dlg && ::IsWindowVisible(dlg)) break;
            dlg = nullptr;
            ::Sleep(10);
        }
        if (!dlg) return;
        visto_ = LeggiMessaggio(dlg);
        ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(risposta, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dlg, risposta)));
        while (::IsWindow(dlg) && ::GetTickCount64() < fine) ::Sleep(10);
    });
}

Risponditore::~Risponditore() {
    if (thread_.joinable()) thread_.join();
}

std::optional<MessaggioVisto> Risponditore::Visto() {
    if (thread_.joinable()) thread_.join();
    return visto_;
}

Twip GeometriaTwip(HWND finestra) {
    RECT r{};
    ::GetWindowRect(finestra, &r);
    return {r.left * 15, r.top * 15, (r.right - r.left) * 15, (r.bottom - r.top) * 15};
}

SIZE DimensioniClient(HWND finestra) {
    RECT r{};
    ::GetClientRect(finestra, &r);
    return {r.right, r.bottom};
}

Processo::Processo(const std::wstring& argomenti) {
    std::wstring percorso = ESMALVIO_EXE;
    std::replace(percorso.begin(), percorso.end(), L'/', L'\\');
    std::wstring riga = L"\"" + percorso + L"\"" + (argomenti.empty() ? L"" : L" " + argomenti);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (::CreateProcessW(percorso.c_str(), riga.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        processo_.reset(pi.hProcess);
        UniqueHandle thread(pi.hThread);
        id_ = pi.dwProcessId;
    }
}

Processo::~Processo() {
    if (processo_ && ::WaitForSingleObject(processo_.get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(processo_.get(), 1);
        ::WaitForSingleObject(processo_.get(), 10000);
    }
}

HWND Processo::AttendiFinestra(const wchar_t* classe, DWORD timeoutMs) const {
    HWND trovata = nullptr;
    AttendiFinche(
        [&] {
            for (HWND h : FinestreDi(classe, id_)) {
                if (::IsWindowVisible(h)) trovata = h;
            }
            return trovata != nullptr;
        },
        timeoutMs);
    return trovata;
}

bool Processo::AttendiFine(DWORD timeoutMs) const {
    return processo_ && ::WaitForSingleObject(processo_.get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD Processo::CodiceUscita() const {
    DWORD codice = STILL_ACTIVE;
    if (processo_) ::GetExitCodeProcess(processo_.get(), &codice);
    return codice;
}

std::vector<HWND> FinestreDi(const wchar_t* classe, DWORD processo) {
    struct Ricerca {
        const wchar_t* classe;
        DWORD processo;
        std::vector<HWND> trovate;
    } ricerca{classe, processo, {}};
    ::EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto& r = *reinterpret_cast<Ricerca*>(lp);
            wchar_t nome[256] = {};
            ::GetClassNameW(h, nome, static_cast<int>(std::size(nome)));
            DWORD pid = 0;
            ::GetWindowThreadProcessId(h, &pid);
            if (std::wstring_view(nome) == r.classe && (r.processo == 0 || pid == r.processo)) r.trovate.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ricerca));
    return ricerca.trovate;
}

void CancellaImpostazioniProgramma() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quilmora");
}

void ScriviImpostazioneProgramma(const wchar_t* chiave, const wchar_t* valore) {
    const std::wstring testo = valore;
    ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Quilmora\\Timer", chiave, REG_SZ, testo.c_str(),
                      static_cast<DWORD>((testo.size() + 1) * sizeof(wchar_t)));
}

std::wstring LeggiImpostazioneProgramma(const wchar_t* chiave) {
    wchar_t buffer[1024] = {};
    DWORD dimensione = sizeof buffer - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Quilmora\\Timer", chiave, RRF_RT_REG_SZ, nullptr, buffer,
                       &dimensione) != ERROR_SUCCESS) {
        return {};
    }
    return buffer;
}

}  // namespace esmalvio::test
