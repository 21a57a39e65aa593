#include "clock/clock_window.h"

#include <shellapi.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "settings/globale.h"
#include "settings/preferences.h"
#include "win/resource.h"
#include "win/texts.h"
#include "win/twips.h"

namespace quilmora {
namespace {

constexpr DWORD kStile = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kLarghezzaClient = Pixel(1935);  // 129
constexpr int kAltezzaClient = Pixel(525);     // 35
constexpr POINT kOrigineClient{Pixel(60), Pixel(6180)};
constexpr int kLarghezzaCifra = 18;
constexpr int kAltezzaCifra = 27;
constexpr int kCimaCelle = Pixel(60);
constexpr std::array<int, 6> kSinistraNum{Pixel(75), Pixel(345), Pixel(690), Pixel(960), Pixel(1305), Pixel(1575)};
constexpr std::array<int, 2> kSinistraSep1{Pixel(615), Pixel(1230)};
constexpr int kLarghezzaSep = Pixel(75);
constexpr COLORREF kSfondoIniziale = RGB(0x40, 0x40, 0x40);
// Wall-clock seconds change on the second; the tick lands this long after the change.
constexpr UINT kRitardoTickMs = 10;

OraDelGiorno Ora(const SYSTEMTIME& t) {
    return {t.wHour, t.wMinute, t.wSecond};
}

RECT RettangoloFinestra(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

}  // namespace

Esmalvio::Esmalvio(const Ambiente& ambiente) : ambiente_(ambiente) {}

Esmalvio::~Esmalvio() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

bool Esmalvio::Carica(int comeMostrare) {
    Registra(ambiente_.istanza, ::LoadIconW(ambiente_.istanza, MAKEINTRESOURCEW(IDI_ESMALVIO)));
    menu_.reset(::LoadMenuW(ambiente_.istanza, MAKEINTRESOURCEW(IDM_ESMALVIO)));
    sfondo_.reset(::CreateSolidBrush(kSfondoIniziale));

    RECT r{kOrigineClient.x, kOrigineClient.y, kOrigineClient.x + kLarghezzaClient, kOrigineClient.y + kAltezzaClient};
    ::AdjustWindowRectEx(&r, kStile, TRUE, 0);
    const std::wstring titolo = Testo(ambiente_.istanza, IDS_TITOLO);
    if (!::CreateWindowExW(0, kClasse, titolo.c_str(), kStile, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           nullptr, nullptr, ambiente_.istanza, this)) {
        return false;
    }
    if (!Form_Load()) {
        ::DestroyWindow(hwnd_);
        return false;
    }
    caricato_ = true;
    ProgrammaTimer();
    ::ShowWindow(hwnd_, comeMostrare);
    Form_Resize();
    ::UpdateWindow(hwnd_);
    return true;
}

void Esmalvio::CreaControlli() {
    // The window owns the menu only while it is detached; keep ours and attach it.
    ::SetMenu(hwnd_, menu_.get());

    // A long menu bar may wrap: whatever its height, the client area keeps its design size.
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const RECT w = RettangoloFinestra(hwnd_);
    const int correzione = kAltezzaClient - (client.bottom - client.top);
    int top = w.top;
    // On a small screen the design position would put the window below the bottom: lift it.
    MONITORINFO mi{sizeof mi, {}, {}, 0};
    if (::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi)) {
        const int altezza = w.bottom - w.top + correzione;
        top = std::max<int>(mi.rcWork.top, std::min<int>(top, mi.rcWork.bottom - altezza));
    }
    ::SetWindowPos(hwnd_, nullptr, w.left, top, w.right - w.left, w.bottom - w.top + correzione,
                   SWP_NOZORDER | SWP_NOACTIVATE);

    for (int i = 0; i < 3; ++i) {
        color_[static_cast<std::size_t>(i)] = std::make_unique<Immagine>(ambiente_.istanza, IDB_COLOR_0 + i);
        punto_[static_cast<std::size_t>(i)] = std::make_unique<Immagine>(ambiente_.istanza, IDB_PUNTO_0 + i);
        punto1_[static_cast<std::size_t>(i)] = std::make_unique<Immagine>(ambiente_.istanza, IDB_PUNTO1_0 + i);
    }
    numPic_ = color_[0].get();
    sep_ = {punto_[0].get(), punto1_[0].get()};

    for (std::size_t k = 0; k < num_.size(); ++k) {
        const int x = kSinistraNum[k];
        num_[k].Crea(hwnd_, {x, kCimaCelle, x + kLarghezzaCifra, kCimaCelle + kAltezzaCifra},
                     [this] { comandi_.Num_Click(); });
    }
    for (std::size_t k = 0; k < sep1_.size(); ++k) {
        const int x = kSinistraSep1[k];
        const auto index = static_cast<std::int16_t>(k);
        sep1_[k].Crea(hwnd_, {x, kCimaCelle, x + kLarghezzaSep, kCimaCelle + kAltezzaCifra},
                      [this, index] { comandi_.Sep1_Click(index); });
    }
}

bool Esmalvio::Form_Load() {
    // Another copy owns the settings: say so and end before reading or writing anything.
    if (ambiente_.altraIstanza) {
        Messaggio(hwnd_, IDS_GIA_IN_ESECUZIONE, kAvviso);
        return false;
    }

    const Preferenze preferenze(*ambiente_.impostazioni);
    if (const auto pos = preferenze.Pos()) SpostaSulloSchermo(PixelPosizione(pos->left), PixelPosizione(pos->top));

    if (const auto colore = preferenze.Colore()) ImpostaColore(*colore);

    if (preferenze.MenuNascosto()) MostraBarraMenu(false);

    sfondo_.reset(::CreateSolidBrush(RGB(0, 0, 0)));
    ::InvalidateRect(hwnd_, nullptr, TRUE);

    MostraOraAdesso();

    ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);

    const std::wstring guida = ambiente_.cartella + L"\\quilmora.hlp";
    fileGuida_ = EsisteFile(guida) ? guida : std::wstring{};
    return true;
}

void Esmalvio::SpostaSulloSchermo(int x, int y) {
    const RECT w = RettangoloFinestra(hwnd_);
    RECT nuovo{x, y, x + (w.right - w.left), y + (w.bottom - w.top)};
    // A position saved on a screen that is gone would lose a topmost window out of reach.
    MONITORINFO mi{sizeof mi, {}, {}, 0};
    RECT comune{};
    if (!::GetMonitorInfoW(::MonitorFromRect(&nuovo, MONITOR_DEFAULTTONEAREST), &mi) ||
        !::IntersectRect(&comune, &nuovo, &mi.rcWork)) {
        return;
    }
    ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Esmalvio::Form_Resize() {
    const std::wstring localita = Preferenze(*ambiente_.impostazioni).Localita();
    std::wstring titolo;
    if (::IsIconic(hwnd_)) {
        titolo = FormattaHMmSs(Ora(ambiente_.orologio->Locale()));
    } else {
        titolo = localita.empty() ? Testo(ambiente_.istanza, IDS_LOCALE) : localita;
    }
    ::SetWindowTextW(hwnd_, titolo.c_str());
}

void Esmalvio::Timer1_Timer() {
    ProgrammaTimer();
    if (!::IsIconic(hwnd_)) {
        MostraOraAdesso();
        return;
    }
    const Preferenze preferenze(*ambiente_.impostazioni);
    const auto fuso = preferenze.Fuso();
    const bool legale = preferenze.Legale();
    const std::wstring localita = preferenze.Localita();
    const OraDelGiorno ora =
        CalcolaOra(Ora(ambiente_.orologio->Utc()), Ora(ambiente_.orologio->Locale()), fuso, legale);
    std::wstring titolo = FormattaHhMmSs(ora);
    if (fuso) {
        titolo += Testo(ambiente_.istanza, IDS_SUFFISSO_FUSO) + localita;
    } else {
        titolo += Testo(ambiente_.istanza, IDS_SUFFISSO_LOCALE);
    }
    ::SetWindowTextW(hwnd_, titolo.c_str());
}

void Esmalvio::ProgrammaTimer() {
    // Re-armed every tick so each one falls just after the wall-clock second changes: a plain
    // 1000 ms timer drifts and now and then shows a second late or skips one.
    const UINT ms = ambiente_.orologio->Utc().wMilliseconds % 1000u;
    ::SetTimer(hwnd_, kIdTimer1, 1000u - ms + kRitardoTickMs, nullptr);
}

void Esmalvio::DisegnaCifra(const Immagine& sorgente, Cella& destinazione, std::int16_t cifra, std::int16_t riga) {
    const int y = (riga - 1) * kAltezzaCifra;
    const int x = cifra * kLarghezzaCifra;
    ::BitBlt(destinazione.dc(), 0, 0, kLarghezzaCifra, kAltezzaCifra, sorgente.dc(), x, y, SRCCOPY);
    destinazione.Aggiorna();
}

OraDelGiorno Esmalvio::OraCorrente() const {
    const Preferenze preferenze(*ambiente_.impostazioni);
    return CalcolaOra(Ora(ambiente_.orologio->Utc()), Ora(ambiente_.orologio->Locale()), preferenze.Fuso(),
                      preferenze.Legale());
}

void Esmalvio::MostraOra(const Immagine& sorgente, std::int16_t riga, std::span<Cella, 6> celle) {
    const auto cifre = Cifre(OraCorrente());
    for (std::size_t k = 0; k < celle.size(); ++k) DisegnaCifra(sorgente, celle[k], cifre[k], riga);
    const Immagine& punto = lampeggio_ ? *sep_[0] : *sep_[1];
    sep1_[0].Assegna(punto);
    sep1_[1].Assegna(punto);
    lampeggio_ = static_cast<std::int16_t>(~lampeggio_);
    // All eight cells reach the screen together: a face is never seen half old, half new.
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Esmalvio::MostraOraAdesso() {
    MostraOra(*numPic_, 1, num_);
}

void Esmalvio::ImpostaColore(std::int16_t colore) {
    const auto i = static_cast<std::size_t>(colore);
    if (i >= color_.size()) return;
    colore_ = colore;
    numPic_ = color_[i].get();
    sep_[0] = punto_[i].get();
    sep_[1] = punto1_[i].get();
    for (std::size_t voce = 0; voce < color_.size(); ++voce) {
        ::CheckMenuItem(menu_.get(), static_cast<UINT>(IDM_MNUOPTION + voce),
                        MF_BYCOMMAND | (voce == i ? MF_CHECKED : MF_UNCHECKED));
    }
}

bool Esmalvio::BarraMenuVisibile() const {
    return ::GetMenu(hwnd_) != nullptr;
}

void Esmalvio::MostraBarraMenu(bool mostra) {
    if (mostra == BarraMenuVisibile()) return;
    RECT prima{};
    ::GetClientRect(hwnd_, &prima);
    ::SetMenu(hwnd_, mostra ? menu_.get() : nullptr);
    RECT dopo{};
    ::GetClientRect(hwnd_, &dopo);
    // The window gives or takes exactly the bar's height: the face keeps its size and its place.
    const int barra = dopo.bottom - prima.bottom;
    const RECT w = RettangoloFinestra(hwnd_);
    ::SetWindowPos(hwnd_, nullptr, w.left, w.top + barra, w.right - w.left, w.bottom - w.top - barra,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void Esmalvio::ApriGuida() const {
    if (fileGuida_.empty()) return;
    ::ShellExecuteW(hwnd_, L"open", fileGuida_.c_str(), nullptr, ambiente_.cartella.c_str(), SW_SHOWNORMAL);
}

LRESULT Esmalvio::Gestisci(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            CreaControlli();
            return 0;
        case WM_ERASEBKGND:
            RiempiSfondo(reinterpret_cast<HDC>(wp), sfondo_.get());
            return 1;
        case WM_SIZE:
            if (caricato_) Form_Resize();
            return 0;
        case WM_TIMER:
            if (wp == kIdTimer1) Timer1_Timer();
            return 0;
        case WM_COMMAND:
            comandi_.Esegui(LOWORD(wp));
            return 0;
        case WM_HELP:
            ApriGuida();
            return TRUE;
        case WM_CLOSE:
            ambiente_.navigazione->Esci();
            return 0;
        case WM_DESTROY:
            ::KillTimer(hwnd_, kIdTimer1);
            // Detach the menu so that its owner, not the window, destroys it.
            ::SetMenu(hwnd_, nullptr);
            return 0;
        default:
            return ::DefWindowProcW(hwnd_, msg, wp, lp);
    }
}

}  // namespace quilmora
