// The clock face as drawn on screen: digits, colons, colour, zone time and caption.
#include "support/clock_fixture.h"

namespace quilmora::test {
namespace {

TEST_F(OrologioTest, FirstFaceShowsLocalTimeInRedWithUnlitColonsOnBlack) {
    orologio.Imposta(9, 5, 3);
    orologio.utc.wHour = 20;  // local time differs from UTC: the face must show local time
    Carica();
    const Faccia f = FacciaOra();
    EXPECT_EQ(f.Testo(), L"09:05:03");
    EXPECT_TRUE(f.colore == 0 && f.puntiValidi && !f.puntiAccesi && f.marginiNeri);
    EXPECT_EQ(Titolo(), L"Locale");
}

// A stored zone shows UTC plus its offset and the daylight hour; a zone text that is no number shows local time,
// and with a zone only "1" adds the daylight hour. The texts and the times across midnight are the core's cases.
TEST_F(OrologioTest, ZoneTimeIsUtcPlusOffsetPlusDaylightHour) {
    const std::tuple<const wchar_t*, const wchar_t*, WORD, WORD, const wchar_t*> casi[] = {
        {L"60", L"1", 8, 0, L"10:00:07"}, {L"abc", L"1", 8, 0, L"15:00:07"}, {L"60", L"Si", 8, 0, L"09:00:07"}};
    Carica();
    for (const auto& [fuso, legale, ore, minuti, atteso] : casi) {
        store.Scrivi(kFuso, fuso);
        store.Scrivi(kLegale, legale);
        orologio.Imposta(ore, minuti, 7);
        orologio.locale.wHour = 15;  // shown only without a zone in force
        finestra->Timer1_Timer();
        EXPECT_EQ(FacciaOra().Testo(), atteso) << fuso << L" " << legale;
    }
}

// While minimised the caption carries the time and nothing is drawn; restored, the place is back and the face
// shows the time at once, the colons as they were left; the next tick leaves the caption alone.
TEST_F(OrologioTest, MinimisedCaptionCarriesTheTimeAndTheFaceCatchesUpOnceRestored) {
    orologio.Imposta(9, 5, 3);
    Carica();
    ::ShowWindow(hwnd(), SW_MINIMIZE);
    Assesta(hwnd());
    EXPECT_EQ(Titolo(), L"9:05:03");
    finestra->Timer1_Timer();
    EXPECT_EQ(Titolo(), L"09:05:03 - Ora locale");
    store.Scrivi(kFuso, L"60");
    store.Scrivi(kLegale, L"0");
    orologio.Imposta(8, 0, 0);
    for (const wchar_t* localita : {L"Roma", L""}) {
        store.Scrivi(kLocalita, localita);
        finestra->Timer1_Timer();
        EXPECT_EQ(Titolo(), L"09:00:00 - Ora di " + std::wstring(localita));
    }
    store.Scrivi(kLocalita, L"Citt\u00e0");
    ::ShowWindow(hwnd(), SW_RESTORE);
    Assesta(hwnd());
    EXPECT_EQ(Titolo(), L"Citt\u00e0");
    EXPECT_EQ(FacciaOra().Testo() + (FacciaOra().puntiAccesi ? L" lit" : L""), L"09:00:00");
    finestra->Timer1_Timer();
    EXPECT_EQ(FacciaOra().Testo() + (FacciaOra().puntiAccesi ? L" lit" : L""), L"09:00:00 lit");
    EXPECT_EQ(Titolo(), L"Citt\u00e0");
    store.Cancella(kLocalita);
    finestra->Form_Resize();
    EXPECT_EQ(Titolo(), L"Locale");
}

TEST_F(OrologioTest, CoveredDigitsComeBackFromTheirBackingImages) {
    orologio.Imposta(12, 34, 56);
    Carica();
    {
        const UniqueWindow copertura(::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 2000,
                                                       2000, nullptr, nullptr, nullptr, nullptr));
        Assesta(copertura.get());
    }
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(FacciaOra().Testo() == L"12:34:56" && FacciaOra().marginiNeri);
}

}  // namespace
}  // namespace quilmora::test
