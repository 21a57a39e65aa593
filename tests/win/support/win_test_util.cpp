#include "support/win_test_util.h"

#include <dlgs.h>
#include <sddl.h>
#include <tlhelp32.h>

#include "win/resource.h"
#include "win/shared_names.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <ranges>
#include <set>
#include <utility>

namespace quilmora::test {
namespace {

enum class Pixel { nero, scuro, chiaro, altro };

// Bright and dark shades of the three colours, as 0xRRGGBB.
constexpr std::array<std::uint32_t, 3> kChiari{0xFF0000, 0x00FF00, 0x00FFFF};
constexpr std::array<std::uint32_t, 3> kScuri{0x800000, 0x008000, 0x008080};

// Pixels as 0xRRGGBB, row 0 at the top.
struct Schermata {
    int larghezza = 0, altezza = 0;
    std::vector<std::uint32_t> pixel;
    std::uint32_t At(int x, int y) const {
        if (x < 0 || y < 0 || x >= larghezza || y >= altezza) return CLR_INVALID;
        return pixel[static_cast<std::size_t>(y * larghezza + x)];
    }
};

// The pixels that `disegna` puts on a 32-bit bitmap of the given size.
Schermata Disegna(int larghezza, int altezza, const std::function<void(HDC)>& disegna) {
    Schermata s{larghezza, altezza, {}};
    if (larghezza <= 0 || altezza <= 0) return s;
    BITMAPINFO bi{{sizeof(BITMAPINFOHEADER), larghezza, -altezza, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    const UniqueBitmap dib(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    const UniqueDc memoria(::CreateCompatibleDC(nullptr));
    const ScopedSelect sel(memoria.get(), dib.get());
    disegna(memoria.get());
    ::GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < larghezza * altezza; ++i) s.pixel.push_back(p[i] & 0xFFFFFFU);
    return s;
}

// A window's client area as on the screen; through `sorgente` (its top-level window) for another process's child.
Schermata Cattura(HWND finestra, HWND sorgente = nullptr) {
    RECT r{};
    ::GetClientRect(finestra, &r);
    POINT da{0, 0};
    if (sorgente) ::MapWindowPoints(finestra, sorgente, &da, 1);
    return Disegna(r.right, r.bottom, [&](HDC memoria) {
        const WindowDc dc(sorgente ? sorgente : finestra);
        ::BitBlt(memoria, 0, 0, r.right, r.bottom, dc.get(), da.x, da.y, SRCCOPY);
    });
}

// Whether an icon control shows a system icon; another process's box has its own handle, so compare pixels.
bool MostraIcona(HWND controllo, LPCWSTR id) {
    const HICON icona = ::LoadIconW(nullptr, id);
    if (reinterpret_cast<HICON>(::SendMessageW(controllo, STM_GETICON, 0, 0)) == icona) return true;
    const Schermata vista = Cattura(controllo, ::GetAncestor(controllo, GA_ROOT));
    if (vista.pixel.empty()) return false;
    const Schermata attesa = Disegna(vista.larghezza, vista.altezza, [&](HDC memoria) {
        const std::uint32_t c = vista.pixel[0];
        const UniqueBrush sfondo(::CreateSolidBrush(RGB(c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF)));
        ::DrawIconEx(memoria, 0, 0, icona, vista.larghezza, vista.altezza, 0, sfondo.get(), DI_NORMAL);
    });
    return vista.pixel == attesa.pixel;
}

// A bright pixel also votes for its colour: -2 once two colours are seen.
Pixel Tipo(std::uint32_t c, int& colore) {
    for (int i = 0; i < 3; ++i) {
        if (c == kScuri[static_cast<std::size_t>(i)]) return Pixel::scuro;
        if (c != kChiari[static_cast<std::size_t>(i)]) continue;
        colore = colore == -1 || colore == i ? i : -2;
        return Pixel::chiaro;
    }
    return c == 0 ? Pixel::nero : Pixel::altro;
}

// Segments a..g (a point in each, and the pixel below it), and the ones lit in digits 0..9, bit 0 = a.
constexpr std::array<POINT, 7> kSegmenti{{{8, 2}, {15, 7}, {15, 18}, {8, 24}, {2, 18}, {2, 7}, {8, 13}}};
constexpr std::array<int, 10> kCifre{0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

// Where glyph pixel (x, y) of a glyph `colonne` x 27 first shows in a cell stretched by repeating pixels.
POINT NellaCella(const RECT& cella, int colonne, int x, int y) {
    const auto primo = [](int g, int lato, int glifo) { return (g * lato + glifo - 1) / glifo; };
    return {cella.left + primo(x, cella.right - cella.left, colonne),
            cella.top + primo(y, cella.bottom - cella.top, 27)};
}

// Lit both, or checkered (one dark, one black) when unlit; anything else is no digit.
int Cifra(const Schermata& s, const RECT& cella, int& colore) {
    int accesi = 0;
    for (std::size_t k = 0; k < kSegmenti.size(); ++k) {
        const POINT a = NellaCella(cella, 18, kSegmenti[k].x, kSegmenti[k].y);
        const POINT b = NellaCella(cella, 18, kSegmenti[k].x, kSegmenti[k].y + 1);
        const Pixel p1 = Tipo(s.At(a.x, a.y), colore), p2 = Tipo(s.At(b.x, b.y), colore);
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
int Punti(const Schermata& s, const RECT& cella, int& colore) {
    const auto tipo = [&](int x, int y) {
        const POINT p = NellaCella(cella, 5, x, y);
        return Tipo(s.At(p.x, p.y), colore);
    };
    const std::array<Pixel, 3> p{tipo(2, 8), tipo(1, 8), tipo(2, 18)};
    if (p == std::array{Pixel::chiaro, Pixel::chiaro, Pixel::chiaro}) return 1;
    return p == std::array{Pixel::scuro, Pixel::nero, Pixel::scuro} ? 0 : -1;
}

bool DiQuestoProcesso(HWND finestra) {
    DWORD pid = 0;
    return ::GetWindowThreadProcessId(finestra, &pid) && pid == ::GetCurrentProcessId();
}

// The processes of a file name (no folder) running now.
std::set<DWORD> ProcessiDi(const std::wstring& nome) {
    std::set<DWORD> id;
    const UniqueHandle istantanea(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W p{};
    p.dwSize = sizeof p;
    if (istantanea.get() == INVALID_HANDLE_VALUE) return id;
    for (BOOL c = ::Process32FirstW(istantanea.get(), &p); c; c = ::Process32NextW(istantanea.get(), &p)) {
        if (::lstrcmpiW(p.szExeFile, nome.c_str()) == 0) id.insert(p.th32ProcessID);
    }
    return id;
}

bool MarginiNeri(const Schermata& s, const std::vector<RECT>& celle) {
    for (int i = 0; i < s.larghezza * s.altezza; ++i) {
        const POINT p{i % s.larghezza, i / s.larghezza};
        const bool inCella = std::any_of(celle.begin(), celle.end(), [&](const RECT& r) { return ::PtInRect(&r, p); });
        if (s.At(p.x, p.y) != 0 && !inCella) return false;
    }
    return s.larghezza > 0;
}

}  // namespace

bool AttendiFinche(const std::function<bool()>& condizione, DWORD timeoutMs) {
    const ULONGLONG fine = ::GetTickCount64() + timeoutMs;
    for (;; ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
        for (MSG msg; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ::DispatchMessageW(&msg))
            ::TranslateMessage(&msg);
        if (condizione()) return true;
        if (::GetTickCount64() >= fine) return false;
    }
}

void Pompa(DWORD ms) {
    AttendiFinche([] { return false; }, ms);
}

void Assesta(HWND finestra) {
    ::UpdateWindow(finestra);
    for (MSG msg; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ::DispatchMessageW(&msg)) ::TranslateMessage(&msg);
}

Lati Rettangolo(HWND finestra, HWND in) {
    RECT r{};
    ::GetWindowRect(finestra, &r);
    if (in) ::MapWindowPoints(nullptr, in, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

SIZE DimensioniClient(HWND finestra) {
    RECT r{};
    ::GetClientRect(finestra, &r);
    return {r.right, r.bottom};
}

std::wstring TestoDi(HWND finestra) {
    wchar_t testo[1024] = {};
    ::GetWindowTextW(finestra, testo, static_cast<int>(std::size(testo)));
    return testo;
}

std::wstring VociMenu(HWND finestra, int posizione) {
    HMENU menu = ::GetSubMenu(::GetMenu(finestra), posizione);
    std::wstring voci;
    for (UINT i = 0; i < static_cast<UINT>(::GetMenuItemCount(menu)); ++i) {
        wchar_t t[128] = {};
        const UINT stato = ::GetMenuState(menu, i, MF_BYPOSITION);
        ::GetMenuStringW(menu, i, t, 128, MF_BYPOSITION);
        voci += stato & MF_SEPARATOR ? L" -" : (stato & MF_CHECKED ? L" *" : L" ") + std::wstring(t);
    }
    return voci;
}

std::vector<HWND> FinestreDi(const wchar_t* classe, DWORD processo) {
    std::vector<HWND> trovate;
    for (HWND h = nullptr; (h = ::FindWindowExW(nullptr, h, classe, nullptr)) != nullptr;) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(h, &pid);
        if (processo == 0 || pid == processo) trovate.push_back(h);
    }
    return trovate;
}

HWND Visibile(const wchar_t* classe) {
    HWND h = nullptr;
    AttendiFinche([&] { return (h = ::FindWindowW(classe, nullptr)) && ::IsWindowVisible(h); }, 20000);
    return h;
}

std::wstring Faccia::Testo() const {
    std::wstring t = L"??:??:??";  // digit k at k + k / 2
    for (std::size_t k = 0; k < 6; ++k) t[k + k / 2] = cifre[k] < 0 ? L'?' : static_cast<wchar_t>(L'0' + cifre[k]);
    return t;
}

bool Faccia::Intera() const {
    return Testo().find(L'?') == std::wstring::npos && puntiValidi && marginiNeri;
}

int Faccia::Secondi() const {
    return ((cifre[0] * 10 + cifre[1]) * 60 + cifre[2] * 10 + cifre[3]) * 60 + cifre[4] * 10 + cifre[5];
}

std::vector<RECT> Celle(HWND finestra) {
    // Drawn in twips: a client area 1935 wide, cells 60 down and 405 high, each by its edges; the scale the face
    // is drawn at is read off the client area's width.
    constexpr std::array<std::pair<long, long>, 8> kCelle{
        {{75, 270}, {345, 270}, {690, 270}, {960, 270}, {1305, 270}, {1575, 270}, {615, 75}, {1230, 75}}};
    const long larga = DimensioniClient(finestra).cx;
    if (larga <= 0) return {};
    const long dpi = (larga * 1440 + 1935 / 2) / 1935;
    const auto pixel = [dpi](long twip) { return (twip * dpi + 720) / 1440; };
    std::vector<RECT> celle;
    for (const auto& [sinistra, larghezza] : kCelle) {
        celle.push_back({pixel(sinistra), pixel(60), pixel(sinistra + larghezza), pixel(60 + 405)});
    }
    return celle;
}

std::vector<std::uint32_t> PixelSchermo(const RECT& r) {
    const int larga = r.right - r.left, alta = r.bottom - r.top;
    return Disegna(larga, alta,
                   [&](HDC dc) {
                       const WindowDc schermo(nullptr);
                       ::BitBlt(dc, 0, 0, larga, alta, schermo.get(), r.left, r.top, SRCCOPY);
                   })
        .pixel;
}

Faccia LeggiFaccia(HWND finestra) {
    const Schermata s = Cattura(finestra);
    const std::vector<RECT> celle = Celle(finestra);
    Faccia f;
    if (celle.size() != 8) return f;
    int colore = -1;
    for (std::size_t k = 0; k < f.cifre.size(); ++k) f.cifre[k] = Cifra(s, celle[k], colore);
    const int p0 = Punti(s, celle[6], colore);
    f.puntiValidi = p0 >= 0 && p0 == Punti(s, celle[7], colore);
    f.puntiAccesi = f.puntiValidi && p0 == 1;
    f.colore = colore >= 0 ? colore : -1;
    f.marginiNeri = MarginiNeri(s, celle);
    return f;
}

bool FacciaDaiGlifi(HWND finestra, const Faccia& f) {
    if (f.colore < 0 || !f.puntiValidi) return false;
    const HINSTANCE modulo = ::GetModuleHandleW(nullptr);
    const auto glifi = [modulo](int id) {
        const UniqueBitmap b(static_cast<HBITMAP>(::LoadImageW(modulo, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0)));
        BITMAP info{};
        ::GetObjectW(b.get(), sizeof info, &info);
        return Disegna(info.bmWidth, info.bmHeight, [&](HDC memoria) {
            const UniqueDc dc(::CreateCompatibleDC(nullptr));
            const ScopedSelect sel(dc.get(), b.get());
            ::BitBlt(memoria, 0, 0, info.bmWidth, info.bmHeight, dc.get(), 0, 0, SRCCOPY);
        });
    };
    const Schermata strip = glifi(IDB_COLOR_0 + f.colore);
    const Schermata punto = glifi((f.puntiAccesi ? IDB_PUNTO_0 : IDB_PUNTO1_0) + f.colore);
    const Schermata s = Cattura(finestra);
    const std::vector<RECT> celle = Celle(finestra);
    for (std::size_t k = 0; k < celle.size(); ++k) {
        const RECT& r = celle[k];
        const int w = r.right - r.left, h = r.bottom - r.top, colonne = k < 6 ? 18 : 5;
        const Schermata& glifo = k < 6 ? strip : punto;
        const int primaColonna = k < 6 ? f.cifre[k] * 18 : 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (s.At(r.left + x, r.top + y) != glifo.At(primaColonna + x * colonne / w, y * 27 / h)) return false;
            }
        }
    }
    return celle.size() == 8;
}

Faccia FacciaIntera(HWND finestra, DWORD timeoutMs) {
    Faccia f;
    std::wstring prima;
    const bool letta = AttendiFinche(
        [&] {
            f = LeggiFaccia(finestra);
            const std::wstring era = std::exchange(prima, f.Testo() + (f.puntiAccesi ? L"*" : L"."));
            return f.Intera() && era == prima;
        },
        timeoutMs);
    return letta ? f : Faccia{{-1, -1, -1, -1, -1, -1}};
}

Lettura ProssimoTick(HWND finestra, bool utc) {
    const auto adesso = [utc] {
        SYSTEMTIME t{};
        utc ? ::GetSystemTime(&t) : ::GetLocalTime(&t);
        return (t.wHour * 60 + t.wMinute) * 60 + t.wSecond;
    };
    const auto stato = [](const Faccia& f) { return f.Testo() + (f.puntiAccesi ? L"*" : L"."); };
    const std::wstring iniziale = stato(FacciaIntera(finestra));
    std::wstring precedente = iniziale;
    int primaDellaPrecedente = adesso();
    Lettura l;
    const bool cambiata = AttendiFinche(
        [&] {
            const int prima = adesso();
            l.faccia = LeggiFaccia(finestra);
            l.dopo = adesso();
            l.quando = ::GetTickCount64();
            l.prima = std::exchange(primaDellaPrecedente, prima);
            const std::wstring s = stato(l.faccia);
            return std::exchange(precedente, s) == s && s != iniziale && l.faccia.Intera();
        },
        kAttesaMs);
    if (!cambiata) l.faccia = Faccia{{-1, -1, -1, -1, -1, -1}};
    return l;
}

MessaggioVisto LeggiMessaggio(HWND dlg) {
    MessaggioVisto v{TestoDi(dlg), TestoDi(::GetDlgItem(dlg, 0xFFFF))};
    // Windows puts the icon in control 20, Wine in stc1.
    const HWND controlloIcona = ::GetDlgItem(dlg, 20) ? ::GetDlgItem(dlg, 20) : ::GetDlgItem(dlg, stc1);
    if (MostraIcona(controlloIcona, IDI_EXCLAMATION)) v.icona = MB_ICONEXCLAMATION;
    if (MostraIcona(controlloIcona, IDI_ASTERISK)) v.icona = MB_ICONINFORMATION;
    if (MostraIcona(controlloIcona, IDI_QUESTION)) v.icona = MB_ICONQUESTION;
    const bool si = ::GetDlgItem(dlg, IDYES), no = ::GetDlgItem(dlg, IDNO), ok = ::GetDlgItem(dlg, IDOK);
    v.pulsanti = si && no && !ok ? MB_YESNO : (ok && !si && !no ? MB_OK : 0xFFFF);
    return v;
}

void Premi(HWND dlg, int id) {
    ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dlg, id)));
}

Osservatore::Osservatore(std::function<bool(HWND)> filtro, std::function<void(HWND)> allaVista)
    : thread_([this, filtro = std::move(filtro), allaVista = std::move(allaVista)](std::stop_token basta) {
          std::vector<HWND> gestiti;
          for (bool ultimo = false; !ultimo; ::Sleep(10)) {
              ultimo = basta.stop_requested();  // one more look after the stop
              for (HWND h : FinestreDi(L"#32770")) {
                  if (!::IsWindowVisible(h) || std::ranges::find(gestiti, h) != gestiti.end() || !filtro(h)) continue;
                  gestiti.push_back(h);
                  allaVista(h);
              }
          }
          visti_ = static_cast<int>(gestiti.size());
      }) {}

Osservatore::Osservatore(std::wstring contenuto, int comando, std::function<void(HWND)> allaVista)
    : Osservatore([contenuto = std::move(contenuto)](
                      HWND h) { return DiQuestoProcesso(h) && TestoDi(h).find(contenuto) != std::wstring::npos; },
                  [comando, allaVista = std::move(allaVista)](HWND h) {
                      if (allaVista) allaVista(h);
                      Premi(h, comando);
                  }) {}

int Osservatore::Ferma() {
    thread_.request_stop();
    if (thread_.joinable()) thread_.join();
    return visti_;
}

Visti Rispondendo(const std::function<void()>& azione, const std::vector<int>& risposte) {
    Visti visti;
    Osservatore osservatore([](HWND h) { return DiQuestoProcesso(h) && TestoDi(h) == L"Esmalvio"; },
                            [&](HWND h) {
                                const MessaggioVisto v = LeggiMessaggio(h);
                                visti.emplace_back(v.testo, v.icona, v.pulsanti);
                                Premi(h, visti.size() <= risposte.size() ? risposte[visti.size() - 1] : IDOK);
                            });
    azione();
    osservatore.Ferma();
    return visti;
}

Processo::Processo(const std::wstring& argomenti, std::wstring percorso, bool sospeso, HANDLE token) {
    std::replace(percorso.begin(), percorso.end(), L'/', L'\\');
    std::wstring riga = L"\"" + percorso + L"\"" + (argomenti.empty() ? L"" : L" " + argomenti);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const DWORD modo = sospeso ? CREATE_SUSPENDED : 0;
    if (token ? ::CreateProcessAsUserW(token, percorso.c_str(), riga.data(), nullptr, nullptr, FALSE, modo, nullptr,
                                       nullptr, &si, &pi)
              : ::CreateProcessW(percorso.c_str(), riga.data(), nullptr, nullptr, FALSE, modo, nullptr, nullptr, &si,
                                 &pi)) {
        processo_.reset(pi.hProcess);
        thread_.reset(pi.hThread);
        id_ = pi.dwProcessId;
    }
}

Processo::~Processo() {
    if (processo_ && ::WaitForSingleObject(processo_.get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(processo_.get(), 1);
        ::WaitForSingleObject(processo_.get(), kAttesaMs);
    }
}

HWND Processo::AttendiFinestra(const wchar_t* classe, DWORD timeoutMs) const {
    HWND trovata = nullptr;
    const auto visibile = [&] {
        for (HWND h : FinestreDi(classe, id_)) trovata = ::IsWindowVisible(h) ? h : trovata;
        return trovata != nullptr;
    };
    AttendiFinche(visibile, timeoutMs);
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

UniqueHandle TokenSenzaElevazione() {
    HANDLE proprio = nullptr, filtrato = nullptr;
    ::OpenProcessToken(::GetCurrentProcess(), TOKEN_ALL_ACCESS, &proprio);
    const UniqueHandle token(proprio);
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD dimensione = sizeof sid;
    SID_AND_ATTRIBUTES amministratori{sid, 0};
    if (token && ::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &dimensione))
        ::CreateRestrictedToken(token.get(), 0, 1, &amministratori, 0, nullptr, 0, nullptr, &filtrato);
    return UniqueHandle(filtrato);
}

AvviiInsieme::AvviiInsieme(std::size_t quante) {
    for (std::size_t i = 0; i < quante; ++i) {
        Processo p(L"", ESMALVIO_EXE, true);
        if (p.Avviato()) copie.push_back(std::move(p));
    }
    for (const Processo& p : copie) p.Riprendi();
}

std::map<DWORD, DWORD> AvviiInsieme::Codici() const {
    std::map<DWORD, DWORD> codici;
    for (const Processo& p : copie) codici[p.Id()] = p.CodiceUscita();
    return codici;
}

bool AvviiInsieme::Attendi(std::ptrdiff_t vive, DWORD timeoutMs, bool icona) {
    std::map<DWORD, MessaggioVisto> visti;
    Osservatore osservatore(
        [&](HWND h) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(h, &pid);
            if (!Codici().contains(pid) || visti.contains(pid)) return false;
            const MessaggioVisto visto = LeggiMessaggio(h);
            if (visto.titolo != L"Esmalvio" || (icona && visto.icona == 0)) return false;
            visti[pid] = visto;
            return true;
        },
        [](HWND h) { Premi(h, IDOK); });
    const bool finite = AttendiFinche(
        [&] {
            const auto orologi = FinestreDi(kClasseOrologio);
            massimoOrologi = std::max(massimoOrologi, std::ranges::count_if(orologi, ::IsWindowVisible));
            return std::ranges::count(std::views::values(Codici()), STILL_ACTIVE) <= vive;
        },
        timeoutMs);
    osservatore.Ferma();
    risposte.merge(visti);
    return finite;
}

ChiaveProtetta::ChiaveProtetta(const wchar_t* chiave, const wchar_t* sddl) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, chiave, 0, nullptr, 0, READ_CONTROL | WRITE_DAC, nullptr, &key,
                          nullptr) != ERROR_SUCCESS) {
        return;
    }
    key_.reset(key);
    DWORD byte = 0;
    ::RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &byte);
    prima_.resize(byte);
    if (byte == 0 || ::RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, prima_.data(), &byte) != ERROR_SUCCESS) return;
    PSECURITY_DESCRIPTOR nuova = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &nuova, nullptr)) return;
    protetta_ = ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, nuova) == ERROR_SUCCESS;
    ::LocalFree(nuova);
}

ChiaveProtetta::~ChiaveProtetta() {
    if (protetta_) ::RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, prima_.data());
}

Processo AvviaCon(const std::wstring& variabili, const std::wstring& exe, const std::wstring& argomenti) {
    const std::wstring nome = std::filesystem::path(exe).filename().wstring();
    const std::set<DWORD> prima = ProcessiDi(nome);
    DWORD nuovo = 0;
    if (AvviaLinux(L"/usr/bin/env " + variabili + L" /usr/lib/wine/wine64 \"" + exe + L"\" " + argomenti)) {
        AttendiFinche(
            [&] {
                for (const DWORD id : ProcessiDi(nome)) nuovo = prima.contains(id) ? nuovo : id;
                return nuovo != 0;
            },
            kAttesaMs);
    }
    const DWORD diritti = SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION;
    return {UniqueHandle(nuovo ? ::OpenProcess(diritti, FALSE, nuovo) : nullptr), nuovo};
}

bool AvviaLinux(std::wstring riga) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, riga.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    const UniqueHandle processo(pi.hProcess), thread(pi.hThread);
    return true;
}

long long LocaleMs(long long spostamento) {
    constexpr long long kGiornoMs = 24LL * 3600 * 1000;
    FILETIME utc{}, locale{};
    ::GetSystemTimeAsFileTime(&utc);
    ::FileTimeToLocalFileTime(&utc, &locale);
    const long long t = (static_cast<long long>(locale.dwHighDateTime) << 32 | locale.dwLowDateTime) / 10000;
    return ((t + spostamento) % kGiornoMs + kGiornoMs) % kGiornoMs;
}

CartellaTemporanea::CartellaTemporanea(const std::wstring& nome, const std::filesystem::path& dove)
    : percorso_(dove / (nome + L"-" + std::to_wstring(::GetCurrentProcessId()))) {
    std::filesystem::remove_all(percorso_);
    std::filesystem::create_directories(percorso_);
}

CartellaTemporanea::~CartellaTemporanea() {
    // A program started from it may still be ending and holding its own file for a moment.
    std::error_code errore;
    AttendiFinche([&] { return std::filesystem::remove_all(percorso_, errore) != static_cast<std::uintmax_t>(-1); });
}

ChiaveProva::ChiaveProva(const std::wstring& nome)
    : percorso_(L"Software\\" + nome + L"-" + std::to_wstring(::GetCurrentProcessId())) {
    HKEY chiave = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, percorso_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &chiave, nullptr);
    chiave_.reset(chiave);
}

DWORD OggettiGdi() {
    // A GDI handle whose high word is 0 names its table entry directly.
    DWORD n = 0;
    for (ULONG_PTR i = 32; i < 0x10000; ++i) {
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(i))) ++n;
    }
    return n;
}

void CancellaImpostazioniProgramma() {
    const std::wstring applicazione = std::wstring(kRadiceImpostazioni) + L"\\" + std::wstring(kApplicazione);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, applicazione.c_str());
}

void ScriviImpostazioneProgramma(const wchar_t* chiave, const wchar_t* valore) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, ChiaveImpostazioni().c_str(), chiave, REG_SZ, valore,
                      static_cast<DWORD>((std::wcslen(valore) + 1) * sizeof(wchar_t)));
}

std::wstring LeggiImpostazioneProgramma(const wchar_t* chiave) {
    wchar_t valore[256] = {};
    DWORD byte = sizeof valore;
    ::RegGetValueW(HKEY_CURRENT_USER, ChiaveImpostazioni().c_str(), chiave, RRF_RT_REG_SZ, nullptr, valore, &byte);
    return valore;
}

}  // namespace quilmora::test
