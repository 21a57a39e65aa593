// The clock face as drawn on screen: digits, colons, colour, zone time and caption.
#include "support/clock_fixture.h"

namespace esmalvio::test {
namespace {

TEST_F(OrologioTest, FirstFaceShowsLocalTimeInRedWithUnlitColonsOnBlack) {
    orologio.Imposta(9, 5, 3);
    orologio.utc.wHour = 20;  // local time differs from UTC: the face must show local time
    Carica();
    const Faccia f = FacciaOra();
    EXPECT_EQ(f.Testo(), L"09:05:03");
    EXPECT_EQ(f.colore, 0);
    EXPECT_TRUE(f.puntiValidi);
    EXPECT_FALSE(f.puntiAccesi);
    EXPECT_TRUE(f.marginiNeri);
    EXPECT_EQ(DimensioniClient(hwnd()).cx, 129);
    EXPECT_EQ(DimensioniClient(hwnd()).cy, 35);
    EXPECT_EQ(Titolo(), L"Locale");
}

TEST_F(OrologioTest, ZoneTimeIsUtcPlusOffsetPlusDaylightHour) {
    struct Caso {
        const wchar_t* fuso;
        const wchar_t* legale;
        WORD ore, minuti;
        const wchar_t* atteso;
    };
    const Caso casi[] = {
        {L"0", L"0", 8, 0, L"08:00:07"},     {L"60", L"1", 8, 0, L"10:00:07"},    {L"-300", L"0", 2, 0, L"21:00:07"},
        {L"-210", L"0", 12, 0, L"08:30:07"}, {L"330", L"0", 23, 45, L"05:15:07"}, {L"60", L"1", 23, 30, L"01:30:07"},
    };
    Carica();
    for (const Caso& c : casi) {
        store.Scrivi(kFuso, c.fuso);
        store.Scrivi(kLegale, c.legale);
        orologio.Imposta(c.ore, c.minuti, 7);
        orologio.locale.wHour = 15;  // never shown while a zone is stored
        finestra->Timer1_Timer();
        EXPECT_EQ(FacciaOra().Testo(), c.atteso) << c.fuso << L" " << c.legale;
    }
}

TEST_F(OrologioTest, HandEditedZoneTextsShowLocalTimeAndNeverAnExtraHour) {
    orologio.Imposta(8, 0, 0);
    orologio.locale.wHour = 11;
    Carica();
    for (const wchar_t* fuso : {L"abc", L"1e309", L"99999999999999999999", L"\xFF11\xFF12", L"-", L" "}) {
        store.Scrivi(kFuso, fuso);
        finestra->Timer1_Timer();
        EXPECT_EQ(FacciaOra().Testo(), L"11:00:00") << fuso;
    }
    store.Scrivi(kFuso, L"60");
    for (const wchar_t* legale : {L"", L"Si", L"2", L"abc"}) {
        store.Scrivi(kLegale, legale);
        finestra->Timer1_Timer();
        EXPECT_EQ(FacciaOra().Testo(), L"09:00:00") << legale;
    }
}

TEST_F(OrologioTest, ColonsAlternateOnEveryDrawingAndSettingsAreReadAfresh) {
    orologio.Imposta(0, 0, 0);
    Carica();
    EXPECT_FALSE(FacciaOra().puntiAccesi);
    EXPECT_EQ(FacciaOra().Testo(), L"00:00:00");
    finestra->Timer1_Timer();
    EXPECT_TRUE(FacciaOra().puntiAccesi);
    store.Scrivi(kFuso, L"120");
    store.Scrivi(kLegale, L"0");
    finestra->Timer1_Timer();
    const Faccia f = FacciaOra();
    EXPECT_FALSE(f.puntiAccesi);
    EXPECT_EQ(f.Testo(), L"02:00:00");
}

TEST_F(OrologioTest, ChosenColourReachesTheFaceOnlyAtTheNextTick) {
    Carica();
    finestra->mnuOption_Click(1);
    EXPECT_EQ(FacciaOra().colore, 0);
    finestra->Timer1_Timer();
    EXPECT_EQ(FacciaOra().colore, 1);
    finestra->mnuOption_Click(2);
    finestra->Timer1_Timer();
    const Faccia f = FacciaOra();
    EXPECT_EQ(f.colore, 2);
    EXPECT_TRUE(f.puntiValidi);
}

TEST_F(OrologioTest, MinimisedCaptionCarriesTheTimeAndRestoringPutsThePlaceBack) {
    orologio.Imposta(9, 5, 3);
    Carica();
    ::ShowWindow(hwnd(), SW_MINIMIZE);
    Pompa(20);
    EXPECT_EQ(Titolo(), L"9:05:03");
    finestra->Timer1_Timer();
    EXPECT_EQ(Titolo(), L"09:05:03 - Ora locale");

    store.Scrivi(kFuso, L"60");
    store.Scrivi(kLegale, L"0");
    store.Scrivi(kLocalita, L"Roma");
    orologio.Imposta(8, 0, 0);
    finestra->Timer1_Timer();
    EXPECT_EQ(Titolo(), L"09:00:00 - Ora di Roma");
    store.Cancella(kLocalita);
    finestra->Timer1_Timer();
    EXPECT_EQ(Titolo(), L"09:00:00 - Ora di ");

    store.Scrivi(kLocalita, L"Citt\u00e0");
    ::ShowWindow(hwnd(), SW_RESTORE);
    Pompa(20);
    EXPECT_EQ(Titolo(), L"Citt\u00e0");
    store.Cancella(kLocalita);
    finestra->Form_Resize();
    EXPECT_EQ(Titolo(), L"Locale");
}

TEST_F(OrologioTest, NothingIsDrawnWhileMinimisedAndTheFaceCatchesUpAfterwards) {
    orologio.Imposta(9, 5, 3);
    Carica();
    ::ShowWindow(hwnd(), SW_MINIMIZE);
    orologio.Imposta(10, 0, 0);
    finestra->Timer1_Timer();
    finestra->Timer1_Timer();
    ::ShowWindow(hwnd(), SW_RESTORE);
    Pompa(20);
    Faccia f = FacciaOra();
    EXPECT_EQ(f.Testo(), L"09:05:03");  // the digits kept their images while minimised
    EXPECT_FALSE(f.puntiAccesi);        // and the colon phase did not move
    finestra->Timer1_Timer();
    f = FacciaOra();
    EXPECT_EQ(f.Testo(), L"10:00:00");
    EXPECT_TRUE(f.puntiAccesi);
    EXPECT_EQ(Titolo(), L"Locale");  // normal ticks never touch the caption
}

TEST_F(OrologioTest, CoveredDigitsComeBackFromTheirBackingImages) {
    orologio.Imposta(12, 34, 56);
    Carica();
    HWND copertura = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 2000, 2000, nullptr,
                                       nullptr, nullptr, nullptr);
    Pompa(50);
    ::DestroyWindow(copertura);
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(FacciaOra().Testo(), L"12:34:56");
    EXPECT_TRUE(FacciaOra().marginiNeri);
}

}  // namespace
}  // namespace esmalvio::test
