#include "zones/fusi_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "settings/preferences.h"
#include "win/dpi.h"
#include "win/elevation.h"
#include "win/resource.h"
#include "win/restart.h"
#include "win/screens.h"
#include "win/system_dll.h"
#include "win/texts.h"
#include "win/twips.h"
#include "zones/daylight_rule.h"
#include "zones/zone_table.h"

namespace quilmora {
namespace {

constexpr DWORD kStile = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kStileEsteso = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kLarghezzaClient = 5055;  // twips
constexpr int kAltezzaClient = 2625;
constexpr COLORREF kGrigio = RGB(192, 192, 192);
constexpr std::int16_t kPulsanti = 3;
// The open list of Combo1 shows about a dozen zones at a time: common controls 6 count items, older
// ones take the height given to the combo box below its edit field.
constexpr int kVociVisibili = 12;
constexpr int kAltezzaElenco = 180;  // pixels at 96 dpi
// Posted once the combo box has finished putting a text in its edit field.
constexpr UINT kMostraInizio = WM_APP + 1;

// One control of the form, in twips from the client's corner. The order of the table is the
// creation order, which makes the tab order.
struct Descrizione {
    const wchar_t* classe;
    UINT testo;  // string id, 0 for none
    DWORD stile;
    int id;
    int left, top, width, height;
};

constexpr DWORD kCasella = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kPulsante = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kEtichetta = SS_LEFT | SS_NOPREFIX;

constexpr std::array<Descrizione, 8> kControlli{{
    {L"COMBOBOX", 0, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, Fusi::kCombo1, 240, 405, 4575, 315},
    {L"BUTTON", IDS_FUSI_CHECK1, kCasella, Fusi::kCheck1, 240, 960, 3855, 255},
    {L"BUTTON", IDS_FUSI_SALVA, kPulsante, Fusi::kCommand1 + 0, 240, 1845, 1215, 375},
    {L"BUTTON", IDS_FUSI_ORA_LOCALE, kPulsante, Fusi::kCommand1 + 1, 1920, 1845, 1215, 375},
    {L"BUTTON", IDS_FUSI_CHIUDI, kPulsante, Fusi::kCommand1 + 2, 3600, 1845, 1215, 375},
    {L"STATIC", IDS_FUSI_LABEL1, kEtichetta, Fusi::kLabel1, 225, 90, 4545, 255},
    {L"BUTTON", IDS_FUSI_CHECK2, kCasella, Fusi::kCheck2, 240, 1350, 3960, 285},
    {L"STATIC", IDS_FUSI_LABEL2, kEtichetta, Fusi::kLabel2, 210, 2370, 4620, 195},
}};

// The layout was drawn for an 8-point dialog font; the system's message font is larger on recent
// Windows and would cut Label2. Wine maps the name to a font of its own.
UniqueFont CarattereDialogo(int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(8, dpi, 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    constexpr std::wstring_view kNome = L"MS Shell Dlg";
    std::copy(kNome.begin(), kNome.end(), lf.lfFaceName);
    return UniqueFont(::CreateFontIndirectW(&lf));
}

int Altezza(HWND finestra) {
    RECT r{};
    ::GetWindowRect(finestra, &r);
    return r.bottom - r.top;
}

// The edit field of a combo box takes its height from the font (again at each WM_SETFONT); raise it to
// the design height, and never lower it, so that a large font is not cut. Implementations disagree on
// whether the height set includes the field's padding, so set, measure and correct once.
void AltezzaCampo(HWND combo, int altezza) {
    if (Altezza(combo) >= altezza) return;
    LRESULT campo = ::SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int prova = 0; prova < 2 && campo > 0; ++prova) {
        campo += altezza - Altezza(combo);
        ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), campo);
    }
}

// The longest zone texts are wider than the combo box: the open list is made wide enough to show them whole.
void LarghezzaElenco(HWND combo, HFONT carattere, int dpi) {
    WindowDc dc(combo);
    const ScopedSelect sel(dc.get(), carattere);
    int larghezza = 0;
    for (const Zona& zona : TabellaFusi()) {
        SIZE dimensioni{};
        ::GetTextExtentPoint32W(dc.get(), zona.testo.data(), static_cast<int>(zona.testo.size()), &dimensioni);
        larghezza = std::max<int>(larghezza, dimensioni.cx);
    }
    const int margini = 4 * Metrica(SM_CXEDGE, dpi) + Metrica(SM_CXVSCROLL, dpi);
    ::SendMessageW(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(larghezza + margini), 0);
}

}  // namespace

Fusi::Fusi(const Servizi& servizi, const Avvio& avvio) : servizi_(servizi), avvio_(avvio) {}

Fusi::~Fusi() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

void Fusi::Mostra(int comeMostrare) {
    // Only this window has standard controls: common controls are made ready here, not at the program's start.
    if (const auto prepara =
            FunzioneDiSistema<decltype(&::InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx")) {
        const INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
        prepara(&icc);
    }
    Registra(avvio_.istanza, ::LoadIconW(avvio_.istanza, MAKEINTRESOURCEW(IDI_FUSI)),
             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    // The window's own scale is known once it exists; it lays itself out again then.
    const int dpi = DpiSistema();
    RECT r{0, 0, Pixel(kLarghezzaClient, dpi), Pixel(kAltezzaClient, dpi)};
    RettangoloEsterno(r, kStile, false, kStileEsteso, dpi);
    const std::wstring titolo = Testo(avvio_.istanza, IDS_FUSI_TITOLO);
    if (!::CreateWindowExW(kStileEsteso, kClasse, titolo.c_str(), kStile, 0, 0, r.right - r.left, r.bottom - r.top,
                           nullptr, nullptr, avvio_.istanza, this)) {
        // No window, or one without all its controls, is never shown: the user is told, and the clock comes back.
        MessaggioSenzaFinestra(avvio_.istanza, IDS_FUSI_NON_APERTA, kAvviso);
        servizi_.navigazione.RiapriOrologio();
        return;
    }
    Form_Load();
    ::ShowWindow(hwnd_, comeMostrare);
    ::UpdateWindow(hwnd_);
}

bool Fusi::CreaControlli() {
    dpi_ = DpiFinestra(hwnd_);
    for (const Descrizione& d : kControlli) {
        const std::wstring testo = d.testo ? Testo(avvio_.istanza, d.testo) : std::wstring{};
        HWND controllo =
            ::CreateWindowExW(0, d.classe, testo.c_str(), WS_CHILD | WS_VISIBLE | d.stile, 0, 0, 0, 0, hwnd_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(d.id)), avvio_.istanza, nullptr);
        if (!controllo) return false;
        if (d.id == kCombo1) ::SendMessageW(controllo, CB_SETMINVISIBLE, kVociVisibili, 0);
    }
    Disponi();
    return true;
}

void Fusi::Disponi() {
    // A modal frame draws no caption icon from the class alone.
    icone_.Imposta(hwnd_, avvio_.istanza, IDI_FUSI, dpi_);
    if (UniqueFont carattere = CarattereDialogo(dpi_)) {
        for (const Descrizione& d : kControlli) {
            ::SendMessageW(Controllo(d.id), WM_SETFONT, reinterpret_cast<WPARAM>(carattere.get()), TRUE);
        }
        // No control uses the old font any more.
        carattere_ = std::move(carattere);
    }
    for (const Descrizione& d : kControlli) {
        HWND controllo = Controllo(d.id);
        if (!controllo) continue;
        const RECT r = RettangoloPixel(d.left, d.top, d.width, d.height, dpi_);
        // A drop-down combo box is given the height of its edit field and its open list together.
        const int elenco = d.id == kCombo1 ? Scala(kAltezzaElenco, dpi_) : 0;
        ::SetWindowPos(controllo, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top + elenco,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        if (d.id == kCombo1) {
            AltezzaCampo(controllo, r.bottom - r.top);
            if (carattere_) LarghezzaElenco(controllo, carattere_.get(), dpi_);
        }
    }
    DimensionaPerClient(hwnd_, {Pixel(kLarghezzaClient, dpi_), Pixel(kAltezzaClient, dpi_)}, dpi_);
}

void Fusi::Form_Load() {
    RECT w{};
    ::GetWindowRect(hwnd_, &w);
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - (w.right - w.left)) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - (w.bottom - w.top)) / 2;
    ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    sfondo_.reset(::CreateSolidBrush(kGrigio));
    ::InvalidateRect(hwnd_, nullptr, TRUE);

    CaricaFusi();
    LeggiAvvio();
}

void Fusi::CaricaFusi() {
    const Preferenze preferenze = servizi_.Salvate();
    const auto fuso = preferenze.Fuso();

    HWND combo = Controllo(kCombo1);
    for (const Zona& zona : TabellaFusi()) {
        const std::wstring testo(zona.testo);
        const LRESULT i = ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(testo.c_str()));
        if (i >= 0) ::SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(i), static_cast<LPARAM>(zona.offset));
    }

    const LONG bias = servizi_.orologio.Bias();
    // The calendar rule only matters while no zone is stored.
    if (!fuso) OraLegale();
    const SceltaIniziale scelta = SceltaFuso(fuso, preferenze.Legale(), bias, inVigore_);
    if (scelta.indice >= 0) ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(scelta.indice), 0);
    if (scelta.legale) ::SendMessageW(Controllo(kCheck1), BM_SETCHECK, BST_CHECKED, 0);
}

void Fusi::OraLegale() {
    const SYSTEMTIME oggi = servizi_.orologio.Locale();
    inVigore_ = InPeriodoLegale(oggi.wYear, oggi.wMonth, oggi.wDay);
}

void Fusi::Command1_Click(std::int16_t index) {
    switch (index) {
        case 0:
            Salva();
            return;
        case 1:
            RipristinaOraLocale();
            return;
        case 2:
            servizi_.navigazione.RiapriOrologio();
            return;
        default:
            return;
    }
}

void Fusi::Salva() {
    if (Messaggio(hwnd_, IDS_FUSI_SALVO, kDomanda) != IDYES) return;

    // Without a chosen entry there is no offset to store.
    const LRESULT indice = ::SendMessageW(Controllo(kCombo1), CB_GETCURSEL, 0, 0);
    if (indice < 0 || static_cast<std::size_t>(indice) >= TabellaFusi().size()) {
        Messaggio(hwnd_, IDS_FUSI_SCEGLI_FUSO, kAvviso);
        return;
    }
    const auto offset =
        static_cast<std::int32_t>(::SendMessageW(Controllo(kCombo1), CB_GETITEMDATA, static_cast<WPARAM>(indice), 0));
    // Typed text that names no place keeps the place of the chosen entry.
    const auto localita = LocalitaDaTesto(TestoCombo());
    const std::wstring luogo =
        localita ? *localita
                 : LocalitaDaTesto(TabellaFusi()[static_cast<std::size_t>(indice)].testo).value_or(std::wstring{});

    const bool fuso = servizi_.Salvate().SalvaFuso(offset, luogo, Spuntato(kCheck1));
    const bool avvio = CambiaAvvio(Spuntato(kCheck2));
    LeggiAvvio();
    // Nothing is said to be saved that was not.
    if (!avvio && !Installata() && servizi_.avvioAutomatico.DellaMacchina()) {
        // The machine's value is the installed copy's to change.
        Messaggio(hwnd_, fuso ? IDS_FUSI_AVVIO_DI_TUTTI : IDS_FUSI_AVVIO_DI_TUTTI_NULLA, kAvviso);
    } else if (!avvio) {
        Messaggio(hwnd_, fuso ? IDS_FUSI_AVVIO_NEGATO : IDS_FUSI_NULLA_SALVATO, kAvviso);
    } else if (!fuso) {
        Messaggio(hwnd_, IDS_FUSI_FUSO_NON_SALVATO, kAvviso);
    }
}

bool Fusi::CambiaAvvio(bool acceso) {
    // A box left alone never touches the Run key: its value may name another copy, or be the installer's.
    if (acceso == avvioLetto_) return true;
    AvvioAutomatico& avvio = servizi_.avvioAutomatico;
    LSTATUS esito = avvio.CambiaUtente(acceso);
    if (esito != ERROR_SUCCESS) return false;
    if (!Installata()) {
        // For its user only, with no elevation; where the machine's value starts the program, no second one.
        if (acceso && !avvio.DellaMacchina()) esito = avvio.ScriviUtente(avvio_.programma);
    } else if (avvio.CambiaLaMacchina(acceso)) {
        esito = avvio.CambiaMacchina(acceso, avvio_.programma);
        // Without elevation Windows refuses the machine's keys: ask for it for this one change.
        if (esito == ERROR_ACCESS_DENIED) {
            esito = EseguiComeAmministratore(hwnd_, avvio_.programma, acceso ? kAccendiAvvio : kSpegniAvvio);
        }
    }
    return esito == ERROR_SUCCESS && avvio.Attivo() == acceso;
}

void Fusi::LeggiAvvio() {
    avvioLetto_ = servizi_.avvioAutomatico.Attivo();
    ::SendMessageW(Controllo(kCheck2), BM_SETCHECK, avvioLetto_ ? BST_CHECKED : BST_UNCHECKED, 0);
    Scudo();
}

void Fusi::Scudo() {
    const bool acceso = Spuntato(kCheck2);
    const bool serve = Installata() && acceso != avvioLetto_ && servizi_.avvioAutomatico.ServeElevazione(acceso);
    ::SendMessageW(Controllo(kCommand1), BCM_SETSHIELD, 0, serve);
}

void Fusi::RipristinaOraLocale() {
    if (Messaggio(hwnd_, IDS_FUSI_RIPRISTINO, kDomanda) != IDYES) return;
    if (!servizi_.Salvate().CancellaFuso()) Messaggio(hwnd_, IDS_FUSI_ORA_LOCALE_NON_RIPRISTINATA, kAvviso);
}

bool Fusi::Spuntato(int id) const {
    return ::SendMessageW(Controllo(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::wstring Fusi::TestoCombo() const {
    HWND combo = Controllo(kCombo1);
    std::wstring testo(static_cast<std::size_t>(::GetWindowTextLengthW(combo)) + 1, L'\0');
    const int letti = ::GetWindowTextW(combo, testo.data(), static_cast<int>(testo.size()));
    testo.resize(static_cast<std::size_t>(letti > 0 ? letti : 0));
    return testo;
}

LRESULT Fusi::Gestisci(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE:
            // -1 ends the window's creation: a dialog without a control it needs is not shown.
            return CreaControlli() ? 0 : -1;
        case WM_DPICHANGED: {
            // The new scale comes with the message; the window may not report it yet.
            dpi_ = LOWORD(wp);
            const RECT& proposto = *reinterpret_cast<const RECT*>(lp);
            ::SetWindowPos(hwnd_, nullptr, proposto.left, proposto.top, proposto.right - proposto.left,
                           proposto.bottom - proposto.top, SWP_NOZORDER | SWP_NOACTIVATE);
            Disponi();
            PortaInVista(hwnd_, dpi_);
            return 0;
        }
        case WM_DISPLAYCHANGE:
        case WM_SETTINGCHANGE:
            SeguiSchermi(hwnd_, msg, wp, dpi_);
            break;
        case WM_ERASEBKGND:
            if (RiempiSfondo(reinterpret_cast<HDC>(wp), sfondo_.get())) return 1;
            break;
        case WM_CTLCOLORSTATIC:
            // Only Check1 shares the window's grey; the labels keep the system colours.
            if (!sfondo_ || reinterpret_cast<HWND>(lp) != Controllo(kCheck1)) break;
            ::SetBkColor(reinterpret_cast<HDC>(wp), kGrigio);
            return reinterpret_cast<LRESULT>(sfondo_.get());
        case WM_COMMAND: {
            const int id = LOWORD(wp);
            if (id == kCombo1 && (HIWORD(wp) == CBN_SETFOCUS || HIWORD(wp) == CBN_SELCHANGE)) {
                ::PostMessageW(hwnd_, kMostraInizio, 0, 0);
            } else if (HIWORD(wp) == BN_CLICKED && id == kCheck2) {
                Scudo();
            } else if (HIWORD(wp) == BN_CLICKED && id >= kCommand1 && id < kCommand1 + kPulsanti) {
                Command1_Click(static_cast<std::int16_t>(id - kCommand1));
            }
            return 0;
        }
        case kMostraInizio: {
            // A focused combo box selects its whole text with the caret at the end, which scrolls the
            // zone's offset out of a field narrower than the text: keep the selection, caret at the start.
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            if (::GetComboBoxInfo(Controllo(kCombo1), &info) && ::GetFocus() == info.hwndItem) {
                ::SendMessageW(info.hwndItem, EM_SETSEL, static_cast<WPARAM>(::GetWindowTextLengthW(info.hwndItem)), 0);
            }
            return 0;
        }
        case WM_ACTIVATE:
            // A modeless window has no dialog manager to keep its focus across a message box.
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND f = ::GetFocus();
                if (f && ::IsChild(hwnd_, f)) fuoco_ = f;
            } else {
                ::SetFocus(fuoco_ && ::IsChild(hwnd_, fuoco_) ? fuoco_ : Controllo(kCombo1));
            }
            return 0;
        case WM_CLOSE:
            servizi_.navigazione.Esci();
            return 0;
        case WM_QUERYENDSESSION:
        case WM_ENDSESSION:
            if (ChiusaPerInstallazione(msg, wp, lp)) servizi_.navigazione.Esci();
            break;
        default:
            break;
    }
    return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace quilmora
