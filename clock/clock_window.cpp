#include "clock/clock_window.h"

#include <oleacc.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "settings/globale.h"
#include "settings/preferences.h"
#include "win/dpi.h"
#include "win/resource.h"
#include "win/restart.h"
#include "win/screens.h"
#include "win/system_dll.h"
#include "win/texts.h"
#include "win/twips.h"

namespace quilmora {
namespace {

constexpr DWORD kStile = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// The form, in twips.
constexpr SIZE kClient{1935, 525};
constexpr POINT kOrigineClient{60, 6180};  // on the screen
constexpr int kCimaCelle = 60;
constexpr int kAltezzaCelle = 405;
constexpr std::array<int, 6> kSinistraNum{75, 345, 690, 960, 1305, 1575};
constexpr int kLarghezzaNum = 270;
constexpr std::array<int, 2> kSinistraSep1{615, 1230};
constexpr int kLarghezzaSep1 = 75;
// The glyphs of the stored pictures, in pixels.
constexpr int kColonneCifra = 18;
constexpr int kColonnePunto = 5;
constexpr int kRigheGlifo = 27;
constexpr COLORREF kSfondoIniziale = RGB(0x40, 0x40, 0x40);
// Wall-clock seconds change on the second; the tick lands this long after the change.
constexpr UINT kRitardoTickMs = 10;
// SetCoalescableTimer's tolerance that asks for no coalescing at all.
constexpr ULONG kNessunaTolleranza = 0xFFFFFFFF;  // TIMERV_NO_COALESCING

OraDelGiorno Ora(const SYSTEMTIME& t) {
    return {t.wHour, t.wMinute, t.wSecond};
}

RECT RettangoloFinestra(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

// Cell k of the face, Num1 to Num6 and then the two colons, at a scale.
RECT PostoCella(std::size_t k, int dpi) {
    return k < kSinistraNum.size() ? RettangoloPixel(kSinistraNum[k], kCimaCelle, kLarghezzaNum, kAltezzaCelle, dpi)
                                   : RettangoloPixel(kSinistraSep1[k - kSinistraNum.size()], kCimaCelle, kLarghezzaSep1,
                                                     kAltezzaCelle, dpi);
}

SIZE ClientAllaScala(int dpi) {
    return {Pixel(kClient.cx, dpi), Pixel(kClient.cy, dpi)};
}

}  // namespace

Esmalvio::Esmalvio(const Servizi& servizi, const Avvio& avvio)
    : servizi_(servizi),
      avvio_(avvio),
      accessibile_(*this, ROLE_SYSTEM_CLOCK),
      timerNonCoalescibile_(FunzioneDiSistema<TimerNonCoalescibile>(L"user32.dll", "SetCoalescableTimer")) {}

Esmalvio::~Esmalvio() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

bool Esmalvio::Carica(bool altraIstanza, int comeMostrare) {
    altraIstanza_ = altraIstanza;
    Registra(avvio_.istanza, ::LoadIconW(avvio_.istanza, MAKEINTRESOURCEW(IDI_ESMALVIO)));
    menu_.reset(::LoadMenuW(avvio_.istanza, MAKEINTRESOURCEW(IDM_ESMALVIO)));
    sfondo_.reset(::CreateSolidBrush(kSfondoIniziale));

    // Screen positions are kept at the primary screen's scale, the one they were saved at.
    const int dpi = DpiSistema();
    const SIZE client = ClientAllaScala(dpi);
    const POINT origine{PixelPosizione(kOrigineClient.x, dpi), PixelPosizione(kOrigineClient.y, dpi)};
    RECT r{origine.x, origine.y, origine.x + client.cx, origine.y + client.cy};
    RettangoloEsterno(r, kStile, true, 0, dpi);
    const std::wstring titolo = Testo(avvio_.istanza, IDS_TITOLO);
    if (!::CreateWindowExW(0, kClasse, titolo.c_str(), kStile, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           nullptr, nullptr, avvio_.istanza, this)) {
        return false;
    }
    if (!Form_Load()) {
        ::DestroyWindow(hwnd_);
        return false;
    }
    caricato_ = true;
    riposo_.emplace(hwnd_);
    ProgrammaTimer();
    ::ShowWindow(hwnd_, comeMostrare);
    Form_Resize();
    ::UpdateWindow(hwnd_);
    return true;
}

void Esmalvio::CreaControlli() {
    dpi_ = DpiFinestra(hwnd_);
    // The window owns the menu only while it is detached; keep ours and attach it.
    ::SetMenu(hwnd_, menu_.get());
    DimensionaPerClient(hwnd_, ClientAllaScala(dpi_), dpi_);

    // On a small screen the design position would put the window below the bottom: lift it.
    const RECT w = RettangoloFinestra(hwnd_);
    MONITORINFO mi{sizeof mi, {}, {}, 0};
    if (::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi)) {
        const int top = std::max<int>(mi.rcWork.top, std::min<int>(w.top, mi.rcWork.bottom - (w.bottom - w.top)));
        ::SetWindowPos(hwnd_, nullptr, w.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    origineCreata_ = {0, 0};
    ::ClientToScreen(hwnd_, &origineCreata_);

    for (int i = 0; i < 3; ++i) {
        color_[static_cast<std::size_t>(i)] = std::make_unique<Immagine>(avvio_.istanza, IDB_COLOR_0 + i);
        punto_[static_cast<std::size_t>(i)] = std::make_unique<Immagine>(avvio_.istanza, IDB_PUNTO_0 + i);
        punto1_[static_cast<std::size_t>(i)] = std::make_unique<Immagine>(avvio_.istanza, IDB_PUNTO1_0 + i);
    }

    for (std::size_t k = 0; k < num_.size() + sep1_.size(); ++k) {
        Cella& cella = k < num_.size() ? num_[k] : sep1_[k - num_.size()];
        cella.Crea(hwnd_, PostoCella(k, dpi_), [this, k](POINT p) { Premuto(p, static_cast<int>(k)); });
    }
    ScalaImmagini();
    icone_.Imposta(hwnd_, avvio_.istanza, IDI_ESMALVIO, dpi_);
}

void Esmalvio::ScalaImmagini() {
    scalate_.clear();
    const auto aggiungi = [this](const Immagine& sorgente, int colonne, SIZE cella) {
        const bool comeSalvata = cella.cx == colonne && cella.cy == kRigheGlifo;
        if (comeSalvata || &AllaScala(sorgente, cella) != &sorgente) return;  // drawn as stored, or made already
        scalate_.push_back({&sorgente, cella, std::make_unique<Immagine>(sorgente, colonne, cella)});
    };
    for (const Cella& cella : num_) {
        for (const auto& strip : color_) aggiungi(*strip, kColonneCifra, cella.dimensioni());
    }
    for (const Cella& cella : sep1_) {
        for (const auto& punto : punto_) aggiungi(*punto, kColonnePunto, cella.dimensioni());
        for (const auto& punto : punto1_) aggiungi(*punto, kColonnePunto, cella.dimensioni());
    }
}

const Immagine& Esmalvio::AllaScala(const Immagine& sorgente, SIZE cella) const {
    for (const Scalata& s : scalate_) {
        if (s.sorgente == &sorgente && s.cella.cx == cella.cx && s.cella.cy == cella.cy) return *s.immagine;
    }
    return sorgente;
}

void Esmalvio::CambiaScala(int dpi, const RECT& suggerito) {
    dpi_ = dpi;
    ::SetWindowPos(hwnd_, nullptr, suggerito.left, suggerito.top, suggerito.right - suggerito.left,
                   suggerito.bottom - suggerito.top, SWP_NOZORDER | SWP_NOACTIVATE);
    DimensionaPerClient(hwnd_, ClientAllaScala(dpi_), dpi_);
    for (std::size_t k = 0; k < num_.size(); ++k) num_[k].Colloca(PostoCella(k, dpi_));
    for (std::size_t k = 0; k < sep1_.size(); ++k) sep1_[k].Colloca(PostoCella(num_.size() + k, dpi_));
    ScalaImmagini();
    icone_.Imposta(hwnd_, avvio_.istanza, IDI_ESMALVIO, dpi_);
    PortaInVista(hwnd_, dpi_);
    // The same face again, at the new size: the colons keep their phase.
    if (mostrata_.strip) {
        for (std::size_t k = 0; k < num_.size(); ++k) DisegnaCifra(*mostrata_.strip, num_[k], mostrata_.cifre[k], 1);
        for (Cella& cella : sep1_) cella.Assegna(AllaScala(*mostrata_.punto, cella.dimensioni()));
    }
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool Esmalvio::Form_Load() {
    // Another copy owns the settings: say so and end before reading or writing anything.
    if (altraIstanza_) {
        Messaggio(hwnd_, IDS_GIA_IN_ESECUZIONE, kAvviso);
        return false;
    }

    const Preferenze preferenze = servizi_.Salvate();
    const auto pos = preferenze.Pos();
    if (pos) {
        const int dpi = DpiSistema();
        ::SetWindowPos(hwnd_, nullptr, PixelPosizione(pos->left, dpi), PixelPosizione(pos->top, dpi), 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    if (const auto colore = preferenze.Colore()) ImpostaColore(*colore);

    if (preferenze.MenuNascosto()) MostraBarraMenu(false);

    // A position saved on a screen that is gone would lose a topmost window out of reach: the face
    // goes back where it was created.
    if (pos && !TitoloRaggiungibile(hwnd_, dpi_)) {
        POINT origine{0, 0};
        ::ClientToScreen(hwnd_, &origine);
        const RECT w = RettangoloFinestra(hwnd_);
        ::SetWindowPos(hwnd_, nullptr, w.left + origineCreata_.x - origine.x, w.top + origineCreata_.y - origine.y, 0,
                       0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    sfondo_.reset(::CreateSolidBrush(RGB(0, 0, 0)));
    ::InvalidateRect(hwnd_, nullptr, TRUE);

    MostraOraAdesso();

    ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);

    const std::wstring guida = avvio_.cartella + L"\\quilmora.hlp";
    fileGuida_ = EsisteFile(guida) ? guida : std::wstring{};
    return true;
}

void Esmalvio::Form_Resize() {
    const std::wstring localita = servizi_.Salvate().Localita();
    std::wstring titolo;
    if (::IsIconic(hwnd_)) {
        titolo = FormattaHMmSs(Ora(servizi_.orologio.Locale()));
    } else {
        titolo = localita.empty() ? Testo(avvio_.istanza, IDS_LOCALE) : localita;
    }
    ::SetWindowTextW(hwnd_, titolo.c_str());
}

void Esmalvio::Timer1_Timer() {
    ProgrammaTimer();
    if (!::IsIconic(hwnd_)) {
        MostraOraAdesso();
        return;
    }
    const Preferenze preferenze = servizi_.Salvate();
    const auto fuso = preferenze.Fuso();
    const bool legale = preferenze.Legale();
    const std::wstring localita = preferenze.Localita();
    const OraDelGiorno ora = CalcolaOra(Ora(servizi_.orologio.Utc()), Ora(servizi_.orologio.Locale()), fuso, legale);
    const std::wstring titolo = FormattaHhMmSs(ora) + DiChi(fuso.has_value(), localita);
    ::SetWindowTextW(hwnd_, titolo.c_str());
}

std::wstring Esmalvio::DiChi(bool fuso, const std::wstring& localita) const {
    return fuso ? Testo(avvio_.istanza, IDS_SUFFISSO_FUSO) + localita : Testo(avvio_.istanza, IDS_SUFFISSO_LOCALE);
}

std::wstring Esmalvio::NomeAccessibile() const {
    // The face as it was last drawn, never a time of its own: what a screen reader says is what is seen.
    const auto& c = mostrata_.cifre;
    const OraDelGiorno mostrata{c[0] * 10 + c[1], c[2] * 10 + c[3], c[4] * 10 + c[5]};
    const Preferenze preferenze = servizi_.Salvate();
    return FormattaHhMmSs(mostrata) + DiChi(preferenze.Fuso().has_value(), preferenze.Localita());
}

void Esmalvio::ProgrammaTimer() {
    // Nobody can see the face: no tick at all until somebody can (Windows tells the display's state as soon as
    // it is asked for, which may be before the first tick is armed).
    if (InRiposo()) {
        ::KillTimer(hwnd_, kIdTimer1);
        return;
    }
    // Re-armed every tick so each one falls just after the wall-clock second changes: a plain
    // 1000 ms timer drifts and now and then shows a second late or skips one.
    const UINT ms = servizi_.orologio.Utc().wMilliseconds % 1000u;
    const UINT attesa = 1000u - ms + kRitardoTickMs;
    // Windows may put a timer off to save power; the face's seconds must not be late. The caption of a
    // minimised clock may.
    if (timerNonCoalescibile_ && !::IsIconic(hwnd_)) {
        timerNonCoalescibile_(hwnd_, kIdTimer1, attesa, nullptr, kNessunaTolleranza);
    } else {
        ::SetTimer(hwnd_, kIdTimer1, attesa, nullptr);
    }
}

void Esmalvio::DisegnaCifra(const Immagine& sorgente, Cella& destinazione, std::int16_t cifra, std::int16_t riga) {
    // At 100 % the stored glyph itself, else its copy stretched to the cell.
    const SIZE cella = destinazione.dimensioni();
    const Immagine& glifi = AllaScala(sorgente, cella);
    // Most seconds change one digit: a cell that shows this glyph already, in this colour and at this size,
    // is neither copied nor repainted.
    if (!destinazione.Cambia(glifi, cifra, riga)) return;
    ::BitBlt(destinazione.dc(), 0, 0, cella.cx, cella.cy, glifi.dc(), cifra * cella.cx, (riga - 1) * cella.cy, SRCCOPY);
    destinazione.Aggiorna();
}

OraDelGiorno Esmalvio::OraCorrente() const {
    const Preferenze preferenze = servizi_.Salvate();
    return CalcolaOra(Ora(servizi_.orologio.Utc()), Ora(servizi_.orologio.Locale()), preferenze.Fuso(),
                      preferenze.Legale());
}

void Esmalvio::MostraOra(const Immagine& sorgente, std::int16_t riga, std::span<Cella, 6> celle) {
    const auto cifre = Cifre(OraCorrente());
    for (std::size_t k = 0; k < celle.size(); ++k) DisegnaCifra(sorgente, celle[k], cifre[k], riga);
    const Immagine& punto = lampeggio_ ? Sep(0) : Sep(1);
    for (Cella& cella : sep1_) cella.Assegna(AllaScala(punto, cella.dimensioni()));
    mostrata_ = {&sorgente, &punto, cifre};
    lampeggio_ = static_cast<std::int16_t>(~lampeggio_);
    // The cells changed reach the screen together: a face is never seen half old, half new.
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Esmalvio::MostraOraAdesso() {
    MostraOra(NumPic(), 1, num_);
}

void Esmalvio::ImpostaColore(std::int16_t colore) {
    const auto i = static_cast<std::size_t>(colore);
    if (i >= color_.size()) return;
    colore_ = colore;
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
    if (const auto apri = FunzioneDiSistema<decltype(&::ShellExecuteW)>(L"shell32.dll", "ShellExecuteW")) {
        apri(hwnd_, L"open", fileGuida_.c_str(), nullptr, avvio_.cartella.c_str(), SW_SHOWNORMAL);
    }
}

bool Esmalvio::InRiposo() const {
    return riposo_ && riposo_->Attivo();
}

void Esmalvio::Ripristinata() {
    // A screen may have gone while the clock lay in the taskbar; and the face is drawn whole again.
    PortaInVista(hwnd_, dpi_);
    for (Cella& cella : num_) cella.Dimentica();
}

void Esmalvio::Premuto(POINT schermo, int cella) {
    // DragDetect holds the mouse until the button is released or leaves a few pixels around the press.
    if (::DragDetect(hwnd_, schermo)) {
        // The system's move loop, as the title bar's: Esc puts the window back, and nothing is stored.
        ::SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, MAKELPARAM(schermo.x, schermo.y));
        return;
    }
    if (cella < 0) return;  // a margin: a click there does nothing
    const auto k = static_cast<std::size_t>(cella);
    k < num_.size() ? comandi_.Num_Click() : comandi_.Sep1_Click(static_cast<std::int16_t>(k - num_.size()));
}

void Esmalvio::Risveglio() {
    // At rest the timer stops; otherwise the face (or the minimised caption) at once, and the ticks aligned again.
    InRiposo() ? ProgrammaTimer() : Timer1_Timer();
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
            if (!caricato_) return 0;
            if (wp == SIZE_MINIMIZED) {
                minimizzata_ = true;
            } else if (std::exchange(minimizzata_, false)) {
                Ripristinata();
            }
            Form_Resize();
            return 0;
        case WM_TIMER:
            if (wp == kIdTimer1) Timer1_Timer();
            return 0;
        case WM_TIMECHANGE:
            // The clock was set: the new time now, and the next second when it begins.
            if (caricato_ && !InRiposo()) Timer1_Timer();
            return 0;
        case WM_DISPLAYCHANGE:
        case WM_SETTINGCHANGE:
            SeguiSchermi(hwnd_, msg, wp, dpi_);
            return 0;
        case WM_WTSSESSION_CHANGE:
        case WM_POWERBROADCAST:
            if (riposo_ && riposo_->Leggi(msg, wp, lp)) Risveglio();
            return TRUE;
        case WM_COMMAND:
            comandi_.Esegui(LOWORD(wp));
            return 0;
        case WM_LBUTTONDOWN: {
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            ::ClientToScreen(hwnd_, &p);
            Premuto(p, -1);
            return 0;
        }
        case WM_GETMINMAXINFO:
            // The size is the face's, which may be smaller than a frame drawn at another scale would allow.
            reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = {1, 1};
            return 0;
        case WM_DPICHANGED:
            // The new scale comes with the message: the window's own may not have changed yet.
            CambiaScala(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
            return 0;
        case WM_GETOBJECT: {
            LRESULT risposta = 0;
            if (accessibile_.Rispondi(hwnd_, wp, lp, risposta)) return risposta;
            return ::DefWindowProcW(hwnd_, msg, wp, lp);
        }
        case WM_SYSCOMMAND:
            // F10, or Alt pressed and released alone, with the bar hidden: the keyboard's way back to it. Not while
            // minimised: the window would take the bar's height from its place in the taskbar.
            if ((wp & 0xFFF0) == SC_KEYMENU && lp == 0 && !BarraMenuVisibile() && !::IsIconic(hwnd_)) {
                comandi_.Form_KeyMenu();
                return 0;
            }
            return ::DefWindowProcW(hwnd_, msg, wp, lp);
        case WM_HELP:
            ApriGuida();
            return TRUE;
        case WM_CLOSE:
            servizi_.navigazione.Esci();
            return 0;
        case WM_QUERYENDSESSION:
        case WM_ENDSESSION:
            // An installation that replaces the program's files closes it as a close request does.
            if (ChiusaPerInstallazione(msg, wp, lp)) servizi_.navigazione.Esci();
            return ::DefWindowProcW(hwnd_, msg, wp, lp);
        case WM_DESTROY:
            ::KillTimer(hwnd_, kIdTimer1);
            riposo_.reset();
            accessibile_.Chiudi();
            // Detach the menu so that its owner, not the window, destroys it.
            ::SetMenu(hwnd_, nullptr);
            return 0;
        default:
            return ::DefWindowProcW(hwnd_, msg, wp, lp);
    }
}

}  // namespace quilmora
