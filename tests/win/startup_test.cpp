// Start-up of the clock window: second copy, stored position, colour and menu bar, first drawing, help file.
#include <filesystem>
#include <fstream>

#include "support/clock_fixture.h"

namespace quilmora::test {
namespace {

class AvvioTest : public OrologioTest {};

TEST_F(AvvioTest, SecondCopySaysSoAndEndsWithoutTouchingTheSettingsOrShowingAWindow) {
    Esmalvio seconda(ServiziProva(), AvvioProva());
    Osservatore ok(L"Esmalvio", IDOK);
    EXPECT_FALSE(seconda.Carica(true));
    EXPECT_EQ(ok.Ferma(), 1);  // what the box says is the program tests'
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
    EXPECT_EQ(Titolo() + VociMenu(hwnd(), 1), L"Locale *&Rosso &Verde &Blu");
    // Client corner at 60, 6180 twips, lifted only as far as the primary work area needs.
    POINT o{0, 0};
    RECT lavoro{};
    ::ClientToScreen(hwnd(), &o);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &lavoro, 0);
    EXPECT_EQ(o.x * 15, 60);
    EXPECT_EQ(o.y, std::min(6180L / 15, o.y + lavoro.bottom - Rettangolo(hwnd())[3]));
}

// A stored place moves the window to whole pixels, unless it is on no screen (a topmost window must stay
// reachable); a hidden menu bar gives up exactly its height above the face, which keeps its size and place.
// The stored texts' readings are the core's cases.
TEST_F(AvvioTest, StoredPositionAndMenuBarPlaceTheWindowAroundTheFace) {
    Carica();
    const Lati creata = Rettangolo(hwnd());
    const SIZE client = DimensioniClient(hwnd());
    store.Scrivi(kMenu, L"No");
    Carica();
    const Lati nascosta = Rettangolo(hwnd());
    const LONG barra = (creata[3] - creata[1]) - (nascosta[3] - nascosta[1]);
    EXPECT_GT(barra, 0);
    // Pos in twips, and where that puts the window in pixels at 96 dpi.
    const std::tuple<const wchar_t*, LONG, LONG> posti[] = {
        {L"1740,1770", 116, 118}, {L"-1200,300", -80, 20}, {L"999999,999999", creata[0], creata[1]}};
    for (const auto& [pos, left, top] : posti) {
        for (const wchar_t* menu : {L"", L"No"}) {
            SCOPED_TRACE(std::wstring(pos) + L" menu " + menu);
            store.Scrivi(kPos, pos);
            store.Scrivi(kMenu, menu);
            Carica();
            const LONG spostamento = *menu ? barra : 0;
            const Lati t = Rettangolo(hwnd());
            EXPECT_EQ(std::pair(t[0], t[1]), std::pair(left, top + spostamento));
            EXPECT_EQ(std::pair(t[2] - t[0], t[3] - t[1]),
                      std::pair(creata[2] - creata[0], creata[3] - creata[1] - spostamento));
            EXPECT_EQ(::GetMenu(hwnd()) == nullptr, spostamento > 0);
            EXPECT_EQ(std::pair(DimensioniClient(hwnd()).cx, DimensioniClient(hwnd()).cy),
                      std::pair(client.cx, client.cy));
            EXPECT_TRUE(LeggiFaccia(hwnd()).marginiNeri);
        }
    }
}

TEST_F(AvvioTest, StoredColourIsOnTheFirstFaceAndTheOnlyCheckedItemWhileBadOnesKeepRed) {
    // The other texts are the core's cases.
    const std::tuple<const wchar_t*, int, const wchar_t*> casi[] = {{L"2", 2, L" &Rosso &Verde *&Blu"},
                                                                    {L"7", 0, L" *&Rosso &Verde &Blu"}};
    for (const auto& [colore, indice, voce] : casi) {
        store.Scrivi(kColore, colore);
        Carica();
        const Faccia f = LeggiFaccia(hwnd());
        EXPECT_TRUE(f.colore == indice && f.puntiValidi) << colore;
        EXPECT_EQ(VociMenu(hwnd(), 1), voce) << colore;
    }
}

TEST_F(AvvioTest, ReloadRestoresOnlyWhatIsStored) {
    store.Scrivi(kPos, L"1740,1770");
    Carica();
    ::SetWindowPos(hwnd(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    finestra->comandi().mnuOption_Click(1);
    finestra->Timer1_Timer();
    Carica();
    EXPECT_EQ(std::pair(Rettangolo(hwnd())[0], Rettangolo(hwnd())[1]), std::pair(116L, 118L));
    EXPECT_EQ(FacciaOra().colore, 0);
    EXPECT_EQ(VociMenu(hwnd(), 1), L" *&Rosso &Verde &Blu");
}

TEST_F(AvvioTest, HelpFileIsRegisteredOnlyWhenPresent) {
    const CartellaTemporanea prova(L"esmalvio-avvio");
    cartella = prova.percorso().wstring();
    Carica();
    EXPECT_EQ(finestra->FileGuida(), L"");
    std::ofstream(prova / L"quilmora.hlp") << "?";
    Carica();
    EXPECT_EQ(finestra->FileGuida(), cartella + L"\\quilmora.hlp");
}

}  // namespace
}  // namespace quilmora::test
