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
#include "win/segni.h"
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
// The cells by name, in the order of their memory in the window.
enum : std::size_t { Num1, Num2, Num3, Num4, Num5, Num6, Sep1_0, Sep1_1 };
constexpr std::array<int, 8> kSinistraCelle{75, 345, 690, 960, 1305, 1575, 615, 1230};
constexpr int kLarghezzaNum = 270;
constexpr int kLarghezzaSep1 = 75;
// The glyphs of the stored pictures, in pixels.
constexpr int kColonneCifra = 18;
constexpr int kColonnePunto = 5;
constexpr int kRigheGlifo = 27;
constexpr COLORREF kSfondoIniziale = RGB(0x40, 0x40, 0x40);
// SetCoalescableTimer's tolerance that asks for no coalescing at all.
constexpr ULONG kNessunaTolleranza = 0xFFFFFFFF;  // TIMERV_NO_COALESCING
// Posted once the first face is drawn: the start-up's work that the face does not need.
constexpr UINT kDopoLaPrimaFaccia = WM_APP;

OraDelGiorno Ora(const SYSTEMTIME& t) {
    return {t.wHour, t.wMinute, t.wSecond};
}

RECT RettangoloFinestra(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

RECT PostoCella(std::size_t k, int dpi) {
    return RettangoloPixel(kSinistraCelle[k], kCimaCelle, k < Sep1_0 ? kLarghezzaNum : kLarghezzaSep1, kAltezzaCelle,
                           dpi);
}

SIZE ClientAllaScala(int dpi) {
    return {Pixel(kClient.cx, dpi), Pixel(kClient.cy, dpi)};
}

}  // namespace

Esmalvio::Esmalvio(const Servizi& servizi, const Avvio& avvio)
    : servizi_(servizi),
      avvio_(avvio),
      sfondo_(kSfondoIniziale),
      accessibile_(*this, ROLE_SYSTEM_CLOCK),
      timerNonCoalescibile_(FunzioneDiSistema<TimerNonCoalescibile>(L"user32.dll", "SetCoalescableTimer")) {}

Esmalvio::~Esmalvio() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

bool Esmalvio::Carica(bool altraIstanza, int comeMostrare) {
    altraIstanza_ = altraIstanza;
    menu_.reset(::LoadMenuW(avvio_.istanza, MAKEINTRESOURCEW(IDM_ESMALVIO)));

    // Screen positions are kept at the primary screen's scale, the one they were saved at.
    const int dpi = DpiSistema();
    const SIZE client = ClientAllaScala(dpi);
    const POINT origine{PixelPosizione(kOrigineClient.x, dpi), PixelPosizione(kOrigineClient.y, dpi)};
    RECT r{origine.x, origine.y, origine.x + client.cx, origine.y + client.cy};
    RettangoloEsterno(r, kStile, true, 0, dpi);
    const std::wstring titolo = Testo(avvio_.istanza, IDS_TITOLO);
    // A clock that cannot be seen says why, rather than the user's click doing nothing.
    const auto mancata = [this](DWORD errore) {
        MessaggioSenzaFinestra(avvio_.istanza, IDS_OROLOGIO_NON_MOSTRATO, kErrore, errore);
        return false;
    };
    // A DC of its own: the paint of every tick finds it made already.
    if (!Registra(avvio_.istanza, ::LoadIconW(avvio_.istanza, MAKEINTRESOURCEW(IDI_ESMALVIO)), nullptr, CS_OWNDC)) {
        return mancata(::GetLastError());
    }
    // An error an earlier call left behind is no word on a window refused without one.
    ::SetLastError(ERROR_SUCCESS);
    Segno("finestra");
    if (!::CreateWindowExW(0, kClasse, titolo.c_str(), kStile, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           nullptr, nullptr, avvio_.istanza, this)) {
        return mancata(::GetLastError());
    }
    Segno("creata");
    if (!Form_Load()) {
        ::DestroyWindow(hwnd_);
        return false;
    }
    Segno("caricata");
    caricato_ = true;
    ProgrammaTimer();
    ::ShowWindow(hwnd_, comeMostrare);
    Segno("mostrata");
    Form_Resize();
    ::UpdateWindow(hwnd_);
    ::PostMessageW(hwnd_, kDopoLaPrimaFaccia, 0, 0);
    return true;
}

void Esmalvio::DopoLaPrimaFaccia() {
    // Until now nobody could have asked whether the screen is seen: the timer runs, as for a screen that is.
    riposo_.emplace(hwnd_);
    const std::wstring guida = avvio_.cartella + L"\\quilmora.hlp";
    fileGuida_ = EsisteFile(guida) ? guida : std::wstring{};
}

void Esmalvio::CreaControlli() {
    dpi_ = DpiFinestra(hwnd_);
    // The face exists before anything here can send a message that draws it; its pictures are loaded when read.
    NuovaFaccia();
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
    IconeAllaScala();
}

void Esmalvio::IconeAllaScala() {
    // At the system's scale the class's icons are the ones the window needs: loading them again costs the start.
    if (dpi_ == DpiSistema()) {
        icone_.Togli(hwnd_);
    } else {
        icone_.Imposta(hwnd_, avvio_.istanza, IDI_ESMALVIO, dpi_);
    }
}

void Esmalvio::CambiaScala(int dpi, const RECT& suggerito) {
    dpi_ = dpi;
    ::SetWindowPos(hwnd_, nullptr, suggerito.left, suggerito.top, suggerito.right - suggerito.left,
                   suggerito.bottom - suggerito.top, SWP_NOZORDER | SWP_NOACTIVATE);
    DimensionaPerClient(hwnd_, ClientAllaScala(dpi_), dpi_);
    scalate_.clear();
    NuovaFaccia();
    IconeAllaScala();
    PortaInVista(hwnd_, dpi_);
    // The same face again, at the new size: the colons keep their phase.
    if (mostrata_) DisegnaFaccia(mostrata_->cifre, mostrata_->acceso);
    ::UpdateWindow(hwnd_);
}

void Esmalvio::NuovaFaccia() {
    const SIZE client = ClientAllaScala(dpi_);
    if (!faccia_ || faccia_->dimensioni().cx != client.cx || faccia_->dimensioni().cy != client.cy) {
        faccia_ = std::make_unique<Immagine>(client);
    }
    const RECT tutto{0, 0, client.cx, client.cy};
    ::SetDCBrushColor(faccia_->dc(), sfondo_);
    ::FillRect(faccia_->dc(), &tutto, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    for (std::size_t k = 0; k < celle_.size(); ++k) celle_[k] = {PostoCella(k, dpi_), std::nullopt};
    ::InvalidateRect(hwnd_, nullptr, FALSE);
}

const Immagine& Esmalvio::Pittura(std::int16_t colore, Immagini immagine, SIZE cella) {
    auto& pitture = pitture_[static_cast<std::size_t>(colore)];
    if (!pitture) pitture = std::make_unique<PittureColore>(avvio_.istanza, colore);
    const auto salvata = [&pitture](Immagini i) -> const Immagine& {
        return i == kStrip ? pitture->strip : i == kAcceso ? pitture->acceso : pitture->spento;
    };
    // At 100 % the stored picture itself, else its copy stretched to the cell, made once a scale.
    const int colonne = immagine == kStrip ? kColonneCifra : kColonnePunto;
    if (cella.cx == colonne && cella.cy == kRigheGlifo) return salvata(immagine);
    for (const Scalata& s : scalate_) {
        if (s.colore == colore && s.immagine == immagine && s.cella.cx == cella.cx && s.cella.cy == cella.cy) {
            return *s.copia;
        }
    }
    // Both colons at once: from the first face at a scale on, the colour in use has every copy it needs.
    if (immagine != kStrip) {
        const Immagini altro = immagine == kAcceso ? kSpento : kAcceso;
        scalate_.push_back({colore, altro, cella, std::make_unique<Immagine>(salvata(altro), colonne, cella)});
    }
    scalate_.push_back({colore, immagine, cella, std::make_unique<Immagine>(salvata(immagine), colonne, cella)});
    return *scalate_.back().copia;
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

    sfondo_ = RGB(0, 0, 0);
    NuovaFaccia();

    MostraOra();

    ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    // The help file is registered once the face is up (DopoLaPrimaFaccia).
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
        MostraOra();
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
    // What is seen: the face as it was last drawn, or, minimised, the time the caption shows.
    OraDelGiorno ora{};
    if (mostrata_ && !::IsIconic(hwnd_)) {
        const auto& c = mostrata_->cifre;
        ora = {c[0] * 10 + c[1], c[2] * 10 + c[3], c[4] * 10 + c[5]};
    } else {
        ora = OraCorrente();
    }
    const Preferenze preferenze = servizi_.Salvate();
    return FormattaHhMmSs(ora) + DiChi(preferenze.Fuso().has_value(), preferenze.Localita());
}

void Esmalvio::ProgrammaTimer() {
    // Nobody can see the face: no tick at all until somebody can (Windows tells the display's state as soon as
    // it is asked for, which may be before the first tick is armed).
    if (InRiposo()) {
        ::KillTimer(hwnd_, kIdTimer1);
        intervallo_ = 0;
        return;
    }
    const ProssimoTick tick = ProgrammaTick(servizi_.orologio.Utc().wMilliseconds, intervallo_);
    if (!tick.reimposta) return;
    intervallo_ = tick.intervallo;
    // Windows may put a timer off to save power; the face's seconds must not be late. The caption of a
    // minimised clock may.
    if (timerNonCoalescibile_ && !::IsIconic(hwnd_)) {
        timerNonCoalescibile_(hwnd_, kIdTimer1, intervallo_, nullptr, kNessunaTolleranza);
    } else {
        ::SetTimer(hwnd_, kIdTimer1, intervallo_, nullptr);
    }
}

bool Esmalvio::DisegnaCifra(std::size_t cella, std::int16_t cifra) {
    return Copia(cella, {colore_, kStrip, dpi_, cifra});
}

bool Esmalvio::Copia(std::size_t cella, const Glifo& glifo) {
    Cella& c = celle_[cella];
    // Most seconds change one digit: a cell that shows this glyph already is neither copied nor repainted.
    if (c.mostra == glifo) return false;
    const SIZE lato{c.posto.right - c.posto.left, c.posto.bottom - c.posto.top};
    const Immagine& sorgente = Pittura(glifo.colore, glifo.immagine, lato);
    ::BitBlt(faccia_->dc(), c.posto.left, c.posto.top, lato.cx, lato.cy, sorgente.dc(), glifo.colonna * lato.cx, 0,
             SRCCOPY);
    c.mostra = glifo;
    return true;
}

void Esmalvio::DisegnaFaccia(const std::array<std::int16_t, 6>& cifre, bool acceso) {
    // The cells changed are invalidated together, in one call.
    const UniqueRegion cambiate(::CreateRectRgn(0, 0, 0, 0));
    const UniqueRegion cella(::CreateRectRgn(0, 0, 0, 0));
    const auto aggiungi = [&](std::size_t k) {
        const RECT& r = celle_[k].posto;
        ::SetRectRgn(cella.get(), r.left, r.top, r.right, r.bottom);
        ::CombineRgn(cambiate.get(), cambiate.get(), cella.get(), RGN_OR);
    };
    for (std::size_t k = Num1; k <= Num6; ++k) {
        if (DisegnaCifra(k, cifre[k])) aggiungi(k);
    }
    for (std::size_t k = Sep1_0; k <= Sep1_1; ++k) {
        if (Copia(k, {colore_, acceso ? kAcceso : kSpento, dpi_, 0})) aggiungi(k);
    }
    ::InvalidateRgn(hwnd_, cambiate.get(), FALSE);
    mostrata_ = {cifre, acceso};
}

void Esmalvio::Dipingi() {
    PAINTSTRUCT ps;
    const HDC dc = ::BeginPaint(hwnd_, &ps);
    const RECT& r = ps.rcPaint;
    if (faccia_) ::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, faccia_->dc(), r.left, r.top, SRCCOPY);
    ::EndPaint(hwnd_, &ps);
    Segno("dipinta");
}

std::optional<std::size_t> Esmalvio::CellaIn(POINT p) const {
    for (std::size_t k = 0; k < celle_.size(); ++k) {
        if (::PtInRect(&celle_[k].posto, p)) return k;
    }
    return std::nullopt;
}

void Esmalvio::Premuto(POINT p) {
    premuto_ = p;
    ::SetCapture(hwnd_);
}

void Esmalvio::Spostato(POINT p) {
    if (!premuto_) return;
    // The rectangle Windows' own controls allow a click before they call it a drag.
    const int dx = Metrica(SM_CXDRAG, dpi_), dy = Metrica(SM_CYDRAG, dpi_);
    const RECT fermo{premuto_->x - dx / 2, premuto_->y - dy / 2, premuto_->x + (dx + 1) / 2,
                     premuto_->y + (dy + 1) / 2};
    if (::PtInRect(&fermo, p)) return;
    POINT schermo = *premuto_;
    ::ClientToScreen(hwnd_, &schermo);
    // Released before the move loop, which captures the mouse itself; the capture's loss is then no cancel.
    premuto_.reset();
    ::ReleaseCapture();
    // The system's move loop, as the title bar's: Esc puts the window back, and nothing is stored.
    ::SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, MAKELPARAM(schermo.x, schermo.y));
}

void Esmalvio::Rilasciato() {
    const auto p = std::exchange(premuto_, std::nullopt);
    if (!p) return;
    ::ReleaseCapture();
    // A click: what the cell under it does; on a margin, nothing.
    if (const auto cella = CellaIn(*p)) Click(*cella);
}

void Esmalvio::PressioneAnnullata() {
    if (!std::exchange(premuto_, std::nullopt)) return;
    if (::GetCapture() == hwnd_) ::ReleaseCapture();
}

void Esmalvio::Click(std::size_t cella) {
    if (cella < Sep1_0) {
        comandi_.Num_Click();
    } else {
        comandi_.Sep1_Click(static_cast<std::int16_t>(cella - Sep1_0));
    }
}

OraDelGiorno Esmalvio::OraCorrente() const {
    const Preferenze preferenze = servizi_.Salvate();
    return CalcolaOra(Ora(servizi_.orologio.Utc()), Ora(servizi_.orologio.Locale()), preferenze.Fuso(),
                      preferenze.Legale());
}

void Esmalvio::MostraOra() {
    DisegnaFaccia(Cifre(OraCorrente()), lampeggio_ != 0);
    lampeggio_ = static_cast<std::int16_t>(~lampeggio_);
    // What changed reaches the screen in one paint: a face is never seen half old, half new.
    ::UpdateWindow(hwnd_);
}

void Esmalvio::ImpostaColore(std::int16_t colore) {
    const auto i = static_cast<std::size_t>(colore);
    if (i >= pitture_.size()) return;
    colore_ = colore;
    for (std::size_t voce = 0; voce < pitture_.size(); ++voce) {
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
    // A screen may have gone while the clock lay in the taskbar. The time now at once, not at the next tick; the
    // colons as they were left.
    PortaInVista(hwnd_, dpi_);
    if (mostrata_) DisegnaFaccia(Cifre(OraCorrente()), mostrata_->acceso);
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
            return 1;  // the backing image covers the whole client area
        case WM_PAINT:
            Dipingi();
            return 0;
        case WM_LBUTTONDOWN:
            Premuto({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0;
        case WM_MOUSEMOVE:
            Spostato({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0;
        case WM_LBUTTONUP:
            Rilasciato();
            return 0;
        case WM_CAPTURECHANGED:
            PressioneAnnullata();
            return 0;
        case WM_KEYDOWN:
            if (wp == VK_ESCAPE) PressioneAnnullata();
            return ::DefWindowProcW(hwnd_, msg, wp, lp);
        case WM_SIZE:
            if (!caricato_) return 0;
            if (wp == SIZE_MINIMIZED) {
                minimizzata_ = true;
                intervallo_ = 0;  // the next tick sets the timer a minimised clock needs
            } else if (std::exchange(minimizzata_, false)) {
                intervallo_ = 0;
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
        case kDopoLaPrimaFaccia:
            DopoLaPrimaFaccia();
            return 0;
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
            intervallo_ = 0;
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
