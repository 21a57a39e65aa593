// Esmalvio.exe as processes: one copy at a time, the time it shows, its ticking and its end.
#include <gtest/gtest.h>

#include <utility>

#include "support/avvii_insieme.h"

namespace quilmora::test {
namespace {

constexpr int kGiorno = 24 * 3600;

int Secondi(const Faccia& f) {
    return ((f.cifre[0] * 10 + f.cifre[1]) * 60 + f.cifre[2] * 10 + f.cifre[3]) * 60 + f.cifre[4] * 10 + f.cifre[5];
}

// A face drawn by a tick, and the test's clock (seconds of the day) read around the reading.
struct Lettura {
    Faccia faccia;
    int prima = 0, dopo = 0;
};

// Waits for the face to change and settle (read the same twice): another process may be halfway through drawing.
Lettura AlTick(HWND h, bool utc = false) {
    const auto adesso = [utc] {
        SYSTEMTIME t{};
        utc ? ::GetSystemTime(&t) : ::GetLocalTime(&t);
        return (t.wHour * 60 + t.wMinute) * 60 + t.wSecond;
    };
    auto stato = [](const Faccia& f) { return f.Testo() + (!f.puntiValidi ? L"?" : f.puntiAccesi ? L"*" : L"."); };
    const std::wstring iniziale = stato(LeggiFaccia(h));
    std::wstring precedente = iniziale;
    int primaDellaPrecedente = adesso();
    Lettura l;
    EXPECT_TRUE(AttendiFinche([&] {
        const int prima = adesso();
        l.faccia = LeggiFaccia(h);
        l.dopo = adesso();
        l.prima = std::exchange(primaDellaPrecedente, prima);
        const std::wstring s = stato(l.faccia);
        return std::exchange(precedente, s) == s && s != iniziale && s.find(L'?') == std::wstring::npos;
    })) << "the face did not tick";
    return l;
}

// The face is within a second of the clock around its reading, moved on by `minuti`.
bool OraAttesa(const Lettura& l, int minuti) {
    const auto modulo = [](int s) { return (s % kGiorno + kGiorno) % kGiorno; };
    return modulo(Secondi(l.faccia) - (l.prima + minuti * 60 - 1)) <= modulo(l.dopo - l.prima + 2);
}

// The first copy shows local time, then the stored zone's, ticks on through a second start and ends with 0 on close.
TEST(ProgrammaTest, SecondStartEndsWhileTheFirstShowsLocalOrZoneTimeTicksAndClosesWithCodeZero) {
    CancellaImpostazioniProgramma();
    const Processo primo;
    const HWND h = primo.AttendiFinestra();
    ASSERT_NE(h, nullptr);

    AvviiInsieme secondo(1);
    EXPECT_TRUE(secondo.Attendi(0, 20000, true));
    ASSERT_EQ(secondo.risposte.size(), 1u);
    const MessaggioVisto& visto = secondo.risposte.begin()->second;
    EXPECT_EQ(visto.testo, L"Esmalvio Desktop \u00e8 gi\u00e0 in esecuzione!");
    EXPECT_EQ(visto.pulsanti, static_cast<UINT>(MB_OK));
    EXPECT_EQ(visto.icona, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(secondo.massimoOrologi, 1);  // the first clock only
    EXPECT_EQ(secondo.Codici().begin()->second, 0u);

    const Lettura a = AlTick(h), b = AlTick(h);
    EXPECT_TRUE(OraAttesa(a, 0)) << a.faccia.Testo();
    EXPECT_NE(a.faccia.puntiAccesi, b.faccia.puntiAccesi);
    const int passo = (Secondi(b.faccia) - Secondi(a.faccia) + kGiorno) % kGiorno;
    EXPECT_TRUE(passo == 1 || passo == 2) << passo;  // two when a tick came late under load

    // +5.30 and the daylight hour: never the test machine's own local time, summer or winter.
    ScriviImpostazioneProgramma(L"Fuso", L"330");
    ScriviImpostazioneProgramma(L"Legale", L"1");
    AlTick(h);  // a tick may have read the settings halfway through their writing
    const Lettura fuso = AlTick(h, true);
    EXPECT_TRUE(OraAttesa(fuso, 390)) << "zone +330 with the daylight hour: " << fuso.faccia.Testo();

    ::PostMessageW(h, WM_CLOSE, 0, 0);
    EXPECT_TRUE(primo.AttendiFine(10000));
    EXPECT_EQ(primo.CodiceUscita(), 0u);
    CancellaImpostazioniProgramma();
}

TEST(ProgrammaTest, SecondStartIsRefusedAlsoWhenTheRunningCopyIsOutOfReach) {
    // A copy started with higher rights holds the single-copy mutex where a plain start may not open it.
    SECURITY_DESCRIPTOR sd{};
    ACL nessunAccesso{};
    ASSERT_TRUE(::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) &&
                ::InitializeAcl(&nessunAccesso, sizeof nessunAccesso, ACL_REVISION) &&
                ::SetSecurityDescriptorDacl(&sd, TRUE, &nessunAccesso, FALSE));
    SECURITY_ATTRIBUTES sa{sizeof sa, &sd, FALSE};
    const UniqueHandle altraCopia(::CreateMutexW(&sa, FALSE, L"Local\\Quilmora.Esmalvio"));
    ASSERT_NE(altraCopia.get(), nullptr);

    AvviiInsieme secondo(1);
    EXPECT_TRUE(secondo.Attendi(0, 20000));
    EXPECT_EQ(secondo.massimoOrologi, 0) << "a second clock runs";
    EXPECT_EQ(secondo.risposte.size(), 1u);
    EXPECT_EQ(secondo.Codici().begin()->second, 0u);
}

}  // namespace
}  // namespace quilmora::test
