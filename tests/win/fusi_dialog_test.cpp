// The zone dialog as a real window, alone and taking turns with the clock in a running application.
#include "zones/fusi_dialog.h"

#include "app/application.h"
#include "settings/globale.h"
#include "support/fusi_fixture.h"
#include "win/dpi.h"
#include "win/resource.h"
#include "win/shared_names.h"
#include "win/texts.h"
#include "zones/zone_table.h"

namespace quilmora::test {
namespace {

const std::wstring kAvvio = L"\"C:\\Program Files\\Esmalvio\\Esmalvio.exe\"";

// Id and twips of each control in creation order, which is the tab order.
constexpr std::array<long, 5> kControlli[] = {
    {Fusi::kCombo1, 240, 405, 4575, 315},         {Fusi::kCheck1, 240, 960, 3855, 255},
    {Fusi::kCommand1 + 0, 240, 1845, 1215, 375},  {Fusi::kCommand1 + 1, 1920, 1845, 1215, 375},
    {Fusi::kCommand1 + 2, 3600, 1845, 1215, 375}, {Fusi::kLabel1, 225, 90, 4545, 255},
    {Fusi::kCheck2, 240, 1350, 3960, 285},        {Fusi::kLabel2, 210, 2370, 4620, 195},
};
// Their edges in pixels at 144 dpi, where half pixels round up; at 96 dpi they are the twips / 15.
constexpr std::array<long, 4> kA144[] = {{24, 41, 482, 72},    {24, 96, 410, 122},   {24, 185, 146, 222},
                                         {192, 185, 314, 222}, {360, 185, 482, 222}, {23, 9, 477, 35},
                                         {24, 135, 420, 164},  {21, 237, 483, 257}};

class FusiTest : public DialogoTest {
protected:
    FusiTest() {
        cartella = L"C:\\Program Files\\Esmalvio";
        avvioAutomatico = AvvioAutomatico(radice.get(), radice.get());
    }
    std::wstring Salvato() const {
        return store.Contenuto() + L"Run=" + LeggiRegistro(kChiaveRun, kValoreRun, radice.get());
    }

    const ChiaveProva radice{L"EsmalvioTestFusi"};
};

TEST_F(FusiTest, FormHasItsFrameControlsTabOrderColoursAndTheThirtyZones) {
    Apri();
    EXPECT_EQ(TestoDi(hdlg), L"Selezione fuso orario");
    EXPECT_EQ(::GetWindowLongPtrW(hdlg, GWL_STYLE) &
                  (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              WS_CAPTION | WS_SYSMENU);
    const Lati f = Rettangolo(hdlg);
    EXPECT_EQ(std::pair(f[0], f[1]), std::pair((::GetSystemMetrics(SM_CXSCREEN) - (f[2] - f[0])) / 2,
                                               (::GetSystemMetrics(SM_CYSCREEN) - (f[3] - f[1])) / 2));

    // The controls in tab order; the labels take no tab stop. Their places are the scale tests'.
    HWND figlio = ::GetWindow(hdlg, GW_CHILD);
    HWND tab = Controllo(Fusi::kCheck2);
    for (const auto& a : kControlli) {
        EXPECT_EQ(::GetDlgCtrlID(figlio), a[0]);
        if (a[0] != Fusi::kLabel1 && a[0] != Fusi::kLabel2) {
            EXPECT_EQ(tab = ::GetNextDlgTabItem(hdlg, tab, FALSE), figlio);
        }
        figlio = ::GetWindow(figlio, GW_HWNDNEXT);
    }

    // The window and Check1 are grey; Label1 and Check2 keep the system's face colour.
    constexpr COLORREF kGrigio = RGB(192, 192, 192);
    const WindowDc dc(hdlg);
    EXPECT_TRUE(AttendiFinche([&] { return ::GetPixel(dc.get(), 2, 2) == kGrigio; }));
    EXPECT_EQ(::GetPixel(dc.get(), 16 + 255, 64 + 8), kGrigio);
    EXPECT_EQ(::GetPixel(dc.get(), 15 + 301, 6 + 8), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(::GetPixel(dc.get(), 16 + 262, 90 + 9), ::GetSysColor(COLOR_BTNFACE));

    ASSERT_EQ(Combo(CB_GETCOUNT), 30);
    for (std::size_t i = 0; i < 30; ++i) {
        wchar_t voce[128] = {};
        ::SendMessageW(Controllo(Fusi::kCombo1), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(voce));
        EXPECT_EQ(std::pair(std::wstring_view(voce), Combo(CB_GETITEMDATA, i)),
                  std::pair(TabellaFusi()[i].testo, LRESULT{TabellaFusi()[i].offset}));
    }
}

TEST_F(FusiTest, ListAndBoxesFollowTheStoredZoneOrTheSystemZoneAndTheRunValue) {
    // Stored Fuso and Legale, bias, today's local date in 2026 (UTC is always 28 March, still winter), the
    // Run value, then the entry chosen and Check1. Any data in the Run value ticks Check2, even another path.
    // The other stored zones and biases are the core's cases of the starting choice.
    const std::tuple<const wchar_t*, const wchar_t*, LONG, WORD, WORD, const wchar_t*, int, bool> casi[] = {
        {L"", L"", -60, 7, 1, L"", 14, true},
        {L"", L"", -60, 12, 8, L"C:\\Vecchio\\E.exe", 14, false},
        {L"", L"", -60, 3, 29, L"", 14, true},
        {L"60", L"1", 0, 12, 8, L"", 14, true},
    };
    for (const auto& [fuso, legale, bias, mese, giorno, avvio, indice, spuntato] : casi) {
        store.CancellaSezione();
        if (*fuso) store.Scrivi(kFuso, fuso);
        if (*legale) store.Scrivi(kLegale, legale);
        ASSERT_TRUE(ScriviRegistro(kChiaveRun, kValoreRun, avvio, radice.get()));
        orologio.bias = bias;
        orologio.utc = {2026, 3, 6, 28, 23, 30, 0, 0};
        orologio.locale = {2026, mese, 0, giorno, 0, 30, 0, 0};
        Apri();
        EXPECT_EQ(std::tuple(Combo(CB_GETCURSEL), Spuntato(Fusi::kCheck1), Spuntato(Fusi::kCheck2)),
                  std::tuple(LRESULT{indice}, spuntato, *avvio != 0))
            << fuso << L" " << bias << L" " << mese << L"/" << giorno;
    }
}

TEST_F(FusiTest, ButtonsStoreTheZoneAndQuotedAutostartOnYesReportRefusalsDeleteOnOraLocaleAndNavigate) {
    orologio.bias = -345;  // a zone the table does not list
    Apri();
    Spunta(Fusi::kCheck2, true);
    EXPECT_EQ(Premi(0, {IDYES, IDOK}), (Visti{kSalvo, Avviso(IDS_FUSI_SCEGLI_FUSO)}));
    EXPECT_EQ(Salvato(), L"Run=");

    Combo(CB_SETCURSEL, 14);
    EXPECT_EQ(Premi(0, {IDYES}), Visti{kSalvo});
    EXPECT_EQ(Salvato(), L"Fuso=60\nLegale=0\nLocalit\u00e0=Roma\nRun=" + kAvvio);

    Combo(CB_SETCURSEL, 21);
    Spunta(Fusi::kCheck1, true);
    Spunta(Fusi::kCheck2, false);
    EXPECT_EQ(Premi(0, {IDNO}), Visti{kSalvo});
    EXPECT_EQ(Salvato(), L"Fuso=60\nLegale=0\nLocalit\u00e0=Roma\nRun=" + kAvvio);

    EXPECT_EQ(Premi(0, {IDYES}), Visti{kSalvo});
    EXPECT_EQ(Salvato(), L"Fuso=330\nLegale=1\nLocalit\u00e0=Delhi\nRun=");

    // Typed text naming no place keeps the entry's; the first save has no autostart to remove: no failure.
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(Controllo(Fusi::kCombo1), &info));
    for (const auto& [testo, indice, localita] :
         {std::tuple{L"Roma,Milano", 9, L"Terranova"}, std::tuple{L"(GMT +1.00)  Milano", 14, L"Milano"}}) {
        ::SetWindowTextW(info.hwndItem, testo);
        ::SendMessageW(info.hwndList, LB_SETCURSEL, static_cast<WPARAM>(indice), 0);
        EXPECT_EQ(Premi(0, {IDYES}), Visti{kSalvo});
        EXPECT_EQ(store.Leggi(kLocalita), localita);
        Spunta(Fusi::kCheck2, true);
    }

    // Ora locale deletes the zone keys only; Chiudi and the title bar store nothing.
    store.Scrivi(kColore, L"2");
    const Visto ripristino{L"Ripristino le impostazioni dell'ora locale?", MB_ICONQUESTION, MB_YESNO};
    EXPECT_EQ(Premi(1, {IDNO}), Visti{ripristino});
    EXPECT_EQ(store.Leggi(kLocalita), L"Milano");
    EXPECT_EQ(Premi(1, {IDYES}), Visti{ripristino});
    ::SendMessageW(Controllo(Fusi::kCommand1 + 2), BM_CLICK, 0, 0);
    EXPECT_EQ(std::pair(navigazione.riapriOrologio, navigazione.esci), std::pair(1, 0));
    ::SendMessageW(hdlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(std::pair(navigazione.riapriOrologio, navigazione.esci), std::pair(1, 1));
    EXPECT_EQ(Salvato(), L"Colore=2\nRun=" + kAvvio);

    // A machine key deleted under the open handle refuses changes: reported, and the zone saved all the same.
    ASSERT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, radice.percorso().c_str()), ERROR_SUCCESS);
    store.CancellaSezione();
    Spunta(Fusi::kCheck2, false);
    EXPECT_EQ(Premi(0, {IDYES}), Visti{kSalvo});  // the value is gone with its key: off already
    Spunta(Fusi::kCheck2, true);
    EXPECT_EQ(Premi(0, {IDYES, IDOK}), (Visti{kSalvo, Avviso(IDS_FUSI_AVVIO_NEGATO)}));
    EXPECT_EQ(std::pair(store.Contenuto(), Spuntato(Fusi::kCheck2)),
              std::pair(std::wstring(L"Fuso=60\nLegale=1\nLocalit\u00e0=Milano\n"), false));
    // A store that refuses the zone: said, alone or with the automatic start.
    store.rifiuta = true;
    EXPECT_EQ(Premi(0, {IDYES, IDOK}), (Visti{kSalvo, Avviso(IDS_FUSI_FUSO_NON_SALVATO)}));
    Spunta(Fusi::kCheck2, true);
    EXPECT_EQ(Premi(0, {IDYES, IDOK}), (Visti{kSalvo, Avviso(IDS_FUSI_NULLA_SALVATO)}));
}

TEST_F(FusiTest, MenuCommandSwapsTheClockForTheDialogAndChiudiShowsTheChosenZone) {
    orologio.locale.wHour = 20;  // UTC is 09:05:03
    Applicazione app(store, orologio, avvioAutomatico, AvvioProva(), false);
    // Carries out what the windows asked for, as the application's message loop does.
    const auto gestisci = [&app] {
        Assesta(nullptr);
        app.EseguiRichieste();
    };
    ASSERT_EQ(app.Avvia(), std::nullopt);
    ::SendMessageW(app.FinestraOrologio()->hwnd(), WM_COMMAND, MAKEWPARAM(kComandoFusoOrario, 0), 0);
    gestisci();
    ASSERT_TRUE(app.DialogoFusi() && !app.FinestraOrologio());

    hdlg = app.DialogoFusi()->hwnd();
    Combo(CB_SETCURSEL, 21);
    EXPECT_EQ(Premi(0, {IDYES}), Visti{kSalvo});
    ::SendMessageW(Controllo(Fusi::kCommand1 + 2), BM_CLICK, 0, 0);
    gestisci();
    ASSERT_TRUE(app.FinestraOrologio() && !app.DialogoFusi());
    // UTC + 5.30; the fake clock stands still, so every drawing of the face shows the same time.
    EXPECT_TRUE(AttendiFinche([&] { return LeggiFaccia(app.FinestraOrologio()->hwnd()).Testo() == L"14:35:03"; }));
    EXPECT_EQ(TestoDi(app.FinestraOrologio()->hwnd()), L"Delhi");
}

// The dialog at the scale the process runs at (96, 120, 144 and 192 dpi), and at scales sent to it.
class FusiScalaTest : public FusiTest {
protected:
    // Client area, controls at their edges, their font and texts, and the icons, as drawn at `dpi`: at 96 and
    // 144 dpi to the pixel, elsewhere within a pixel of the twips at that scale.
    void DisegnatoA(int dpi) const {
        SCOPED_TRACE(dpi);
        const auto alPixel = [dpi](long visto, long twip, long a144) {
            if (dpi == 96 || dpi == 144) return dpi == 96 ? visto * 15 == twip : visto == a144;
            return std::abs(visto * 1440 - twip * dpi) <= 1440;
        };
        EXPECT_TRUE(alPixel(DimensioniClient(hdlg).cx, 5055, 506) && alPixel(DimensioniClient(hdlg).cy, 2625, 263));
        for (std::size_t i = 0; i < std::size(kControlli); ++i) {
            const auto& [id, left, top, width, height] = kControlli[i];
            HWND c = Controllo(static_cast<int>(id));
            const Lati r = Rettangolo(c, hdlg);
            const std::array<long, 4> twip{left, top, left + width, top + height};
            for (std::size_t k = 0; k < 4; ++k) EXPECT_TRUE(alPixel(r[k], twip[k], kA144[i][k])) << id << ":" << k;
            const auto carattere = reinterpret_cast<HFONT>(::SendMessageW(c, WM_GETFONT, 0, 0));
            LOGFONTW lf{};
            ::GetObjectW(carattere, sizeof lf, &lf);
            const long pixel = -lf.lfHeight;  // 8 points
            EXPECT_EQ(std::wstring(lf.lfFaceName), L"MS Shell Dlg");
            EXPECT_TRUE(dpi == 96    ? pixel == 11
                        : dpi == 144 ? pixel == 16
                                     : std::abs(pixel * 72 - 8 * dpi) <= 72)
                << pixel;
            if (id == Fusi::kCombo1) continue;

            // The text on one line, inside what its control leaves it: a check box draws its box first, a
            // button its border around.
            const WindowDc dc(c);
            const ScopedSelect sel(dc.get(), carattere);
            RECT testo{};
            ::DrawTextW(dc.get(), TestoDi(c).c_str(), -1, &testo,
                        DT_CALCRECT | DT_SINGLELINE | (id < Fusi::kCommand1 ? DT_NOPREFIX : 0));
            RECT spazio{};
            ::GetClientRect(c, &spazio);
            if (id == Fusi::kCheck1 || id == Fusi::kCheck2)
                spazio.right -= Metrica(SM_CXMENUCHECK, dpi) + Scala(3, dpi);
            if (id >= Fusi::kCommand1) ::InflateRect(&spazio, -Scala(3, dpi), -Scala(3, dpi));
            EXPECT_TRUE(testo.right <= spazio.right - spazio.left && testo.bottom <= spazio.bottom - spazio.top)
                << id << " at " << dpi;
        }
        for (const auto& [tipo, lato] : {std::pair(ICON_BIG, 32), std::pair(ICON_SMALL, 16)}) {
            ICONINFO info{};
            ASSERT_TRUE(::GetIconInfo(reinterpret_cast<HICON>(::SendMessageW(hdlg, WM_GETICON, tipo, 0)), &info));
            const UniqueBitmap colore(info.hbmColor);
            const UniqueBitmap maschera(info.hbmMask);
            BITMAP b{};
            ::GetObjectW(colore.get(), sizeof b, &b);
            EXPECT_EQ(b.bmWidth, lato * dpi / 96) << tipo;
        }
    }
};

TEST_F(FusiScalaTest, DialogIsDrawnAtItsScaleFollowsScaleChangesAndLeaksNothing) {
    Apri();
    const int proprio = DpiFinestra(hdlg);
    DisegnatoA(proprio);

    // As if moved to a screen at half as much again and back, ten times, each time to another place.
    const DWORD oggetti = OggettiGdi();
    for (int volta = 0; volta < 10; ++volta) {
        for (const int dpi : {proprio * 3 / 2, proprio}) {
            RECT proposto{0, 0, ::MulDiv(5055, dpi, 1440), ::MulDiv(2625, dpi, 1440)};
            RettangoloEsterno(proposto, static_cast<DWORD>(::GetWindowLongPtrW(hdlg, GWL_STYLE)), false,
                              static_cast<DWORD>(::GetWindowLongPtrW(hdlg, GWL_EXSTYLE)), dpi);
            ::OffsetRect(&proposto, 40 + volta - proposto.left, 30 - proposto.top);
            ::SendMessageW(hdlg, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&proposto));
            EXPECT_EQ(std::pair(Rettangolo(hdlg)[0], Rettangolo(hdlg)[1]), std::pair(proposto.left, proposto.top));
            if (volta == 9) DisegnatoA(dpi);
        }
    }
    EXPECT_EQ(OggettiGdi(), oggetti);
}

}  // namespace
}  // namespace quilmora::test
