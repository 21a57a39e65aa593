// Start-up of the clock window: second copy, stored position, colour and menu bar, first drawing, help file.
#include <filesystem>
#include <fstream>

#include "support/clock_fixture.h"

namespace quilmora::test {
namespace {

class AvvioTest : public OrologioTest {
protected:
    void TearDown() override { std::filesystem::remove_all(prova); }
    // Texts of the checked items of the colour menu.
    std::wstring Spuntati() const {
        const HMENU colori = ::GetSubMenu(::GetMenu(hwnd()), 1);
        std::wstring testo;
        for (UINT i = 0; i < static_cast<UINT>(::GetMenuItemCount(colori)); ++i) {
            wchar_t voce[64] = {};
            ::GetMenuStringW(colori, i, voce, 64, MF_BYPOSITION);
            if (::GetMenuState(colori, i, MF_BYPOSITION) & MF_CHECKED) testo += voce;
        }
        return testo;
    }

    const std::filesystem::path prova =
        std::filesystem::temp_directory_path() / (L"esmalvio-avvio-" + std::to_wstring(::GetCurrentProcessId()));
};

TEST_F(AvvioTest, SecondCopySaysSoAndEndsWithoutTouchingTheSettingsOrShowingAWindow) {
    Esmalvio seconda(ServiziProva(), AvvioProva());
    Risponditore ok(IDOK);  // answers only a box titled "Esmalvio"
    EXPECT_FALSE(seconda.Carica(true));
    const auto visto = ok.Visto();
    ASSERT_TRUE(visto);
    EXPECT_EQ(visto->testo, L"Esmalvio Desktop \u00e8 gi\u00e0 in esecuzione!");
    EXPECT_EQ(visto->pulsanti, static_cast<UINT>(MB_OK));
    EXPECT_EQ(visto->icona, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(store.letture + store.scritture, 0);
    EXPECT_EQ(seconda.hwnd(), nullptr);
}

TEST_F(AvvioTest, WithoutSettingsTheWindowIsWhereCreatedRedTopmostAndShowsTheTimeAtOnce) {
    orologio.Imposta(23, 59, 58);
    Carica();
    const Faccia f = LeggiFaccia(hwnd());
    EXPECT_EQ(f.Testo(), L"23:59:58");
    EXPECT_TRUE(f.puntiValidi && !f.puntiAccesi && f.marginiNeri && f.colore == 0);  // colons unlit until a tick
    EXPECT_TRUE(::IsWindowVisible(hwnd()) && (::GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST));
    EXPECT_EQ(Titolo() + L" " + Spuntati(), L"Locale &Rosso");
    // Client corner at 60, 6180 twips, lifted only as far as the primary work area needs.
    POINT o{0, 0};
    RECT w{}, lavoro{};
    ::ClientToScreen(hwnd(), &o);
    ::GetWindowRect(hwnd(), &w);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &lavoro, 0);
    EXPECT_EQ(o.x * 15, 60);
    EXPECT_EQ(o.y, std::min(6180L / 15, o.y + lavoro.bottom - w.bottom));
}

// A stored place moves the window to whole pixels, unless it is on no screen (a topmost window must stay
// reachable); a hidden menu bar gives up exactly its height above the face, which keeps its size and place.
TEST_F(AvvioTest, StoredPositionAndMenuBarPlaceTheWindowAroundTheFace) {
    Carica();
    const Twip creata = GeometriaTwip(hwnd());
    store.Scrivi(kMenu, L"No");
    Carica();
    const long barra = creata.height - GeometriaTwip(hwnd()).height, x = creata.left, y = creata.top;
    EXPECT_GT(barra, 0);
    const std::tuple<const wchar_t*, long, long> posti[] = {{L"1740,1770", 1740, 1770}, {L"-1200,300", -1200, 300},
                                                            {L"2000", 0, 2000},         {L"abc", 0, 0},
                                                            {L"999999,999999", x, y},   {L"", x, y}};
    for (const auto& [pos, left, top] : posti) {
        for (const wchar_t* menu : {L"", L"No", L"no", L"NO", L"No "}) {
            SCOPED_TRACE(std::wstring(pos) + L" menu " + menu);
            store.Scrivi(kPos, pos);
            store.Scrivi(kMenu, menu);
            Carica();
            const long spostamento = std::wstring_view(menu) == L"No" ? barra : 0;
            const Twip t = GeometriaTwip(hwnd());
            EXPECT_NEAR(t.left, left, 15 / 2);
            EXPECT_NEAR(t.top, top + spostamento, 15 / 2);
            EXPECT_TRUE(t.width == creata.width && t.height == creata.height - spostamento);
            EXPECT_EQ(::GetMenu(hwnd()) == nullptr, spostamento > 0);
            const SIZE client = DimensioniClient(hwnd());
            EXPECT_TRUE(client.cx == 129 && client.cy == 35 && LeggiFaccia(hwnd()).marginiNeri);
        }
    }
}

TEST_F(AvvioTest, StoredColourIsOnTheFirstFaceAndTheOnlyCheckedItemWhileBadOnesKeepRed) {
    const std::tuple<const wchar_t*, int, const wchar_t*> casi[] = {
        {L"2", 2, L"&Blu"},     {L"7", 0, L"&Rosso"}, {L"-1", 0, L"&Rosso"},
        {L"abc", 0, L"&Rosso"}, {L"", 0, L"&Rosso"},  {L"99999999999", 0, L"&Rosso"}};
    for (const auto& [colore, indice, voce] : casi) {
        store.Scrivi(kColore, colore);
        Carica();
        const Faccia f = LeggiFaccia(hwnd());
        EXPECT_TRUE(f.colore == indice && f.puntiValidi) << colore;
        EXPECT_EQ(Spuntati(), voce) << colore;
    }
}

TEST_F(AvvioTest, ReloadRestoresOnlyWhatIsStored) {
    store.Scrivi(kPos, L"1740,1770");
    Carica();
    ::SetWindowPos(hwnd(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    finestra->comandi().mnuOption_Click(1);
    finestra->Timer1_Timer();
    Carica();
    EXPECT_TRUE(GeometriaTwip(hwnd()).left == 1740 && GeometriaTwip(hwnd()).top == 1770);
    EXPECT_EQ(FacciaOra().colore, 0);
    EXPECT_EQ(Spuntati(), L"&Rosso");
}

TEST_F(AvvioTest, HelpFileIsRegisteredOnlyWhenPresent) {
    std::filesystem::create_directories(prova);
    cartella = prova.wstring();
    Carica();
    EXPECT_EQ(finestra->FileGuida(), L"");
    std::ofstream(prova / L"quilmora.hlp") << "?";
    Carica();
    EXPECT_EQ(finestra->FileGuida(), cartella + L"\\quilmora.hlp");
}

}  // namespace
}  // namespace quilmora::test
