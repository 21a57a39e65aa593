// Esmalvio.exe as processes: one copy at a time, the time it shows, its ticking and its end.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>

#include "app/handles.h"
#include "support/win_test_util.h"

namespace esmalvio::test {
namespace {

constexpr const wchar_t* kClasse = L"Esmalvio";
constexpr const wchar_t* kGiaInEsecuzione = L"Esmalvio Desktop \u00e8 gi\u00e0 in esecuzione!";
constexpr int kGiorno = 24 * 3600;

int Modulo(int secondi) {
    return ((secondi % kGiorno) + kGiorno) % kGiorno;
}
int Secondi(const SYSTEMTIME& t) {
    return t.wHour * 3600 + t.wMinute * 60 + t.wSecond;
}
// Seconds of the day on the face; -1 while a digit is not readable.
int Secondi(const Faccia& f) {
    if (std::any_of(f.cifre.begin(), f.cifre.end(), [](int c) { return c < 0; })) return -1;
    return (f.cifre[0] * 10 + f.cifre[1]) * 3600 + (f.cifre[2] * 10 + f.cifre[3]) * 60 + f.cifre[4] * 10 + f.cifre[5];
}
bool Uguali(const Faccia& a, const Faccia& b) {
    return a.cifre == b.cifre && a.puntiValidi == b.puntiValidi && a.puntiAccesi == b.puntiAccesi;
}

// UTC and local time of the test, as seconds of the day.
struct Istante {
    int utc = 0;
    int locale = 0;
};
Istante Adesso() {
    SYSTEMTIME utc{}, locale{};
    ::GetSystemTime(&utc);
    ::GetLocalTime(&locale);
    return {Secondi(utc), Secondi(locale)};
}

// A face freshly drawn, with the test's clocks read around its reading.
struct Lettura {
    Faccia faccia;
    Istante prima, dopo;
};

// Waits for the face to change and settle (read the same twice): another process may be halfway
// through drawing when the screen is read. The times bracket the drawing.
std::optional<Lettura> LetturaAlTick(HWND finestra, DWORD timeoutMs = 5000) {
    const Faccia iniziale = LeggiFaccia(finestra);
    Faccia precedente = iniziale;
    Istante primaDellaPrecedente = Adesso();
    Lettura l;
    const bool ok = AttendiFinche(
        [&] {
            const Istante primaDiQuesta = Adesso();
            l.faccia = LeggiFaccia(finestra);
            l.dopo = Adesso();
            if (Secondi(l.faccia) >= 0 && l.faccia.puntiValidi && Uguali(l.faccia, precedente) &&
                !Uguali(l.faccia, iniziale)) {
                l.prima = primaDellaPrecedente;
                return true;
            }
            precedente = l.faccia;
            primaDellaPrecedente = primaDiQuesta;
            return false;
        },
        timeoutMs);
    if (!ok) return std::nullopt;
    return l;
}

// The face is within a second of [prima, dopo] shifted by the given minutes.
::testing::AssertionResult OraAttesa(int faccia, int prima, int dopo, int minuti) {
    const int da = Modulo(prima + minuti * 60 - 1);
    const int a = Modulo(dopo + minuti * 60 + 1);
    if (Modulo(faccia - da) <= Modulo(a - da)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "face " << faccia << " s, expected " << da << ".." << a << " s";
}

// What a message box of another process said, and whether that process showed a clock meanwhile.
struct Risposta {
    MessaggioVisto visto;
    bool finestraVisibile = false;
};

// Answers with OK every visible message box titled "Esmalvio" of the processes given, once each.
// With `icona`, a box is answered only once its icon has been painted and read.
void RispondiOk(const std::vector<DWORD>& processi, std::map<DWORD, Risposta>& risposte, bool icona = false) {
    for (HWND dlg : FinestreDi(L"#32770")) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(dlg, &pid);
        wchar_t testo[512] = {};
        ::GetWindowTextW(dlg, testo, 512);
        if (!::IsWindowVisible(dlg) || std::wstring_view(testo) != L"Esmalvio" || risposte.contains(pid) ||
            std::find(processi.begin(), processi.end(), pid) == processi.end()) {
            continue;
        }
        const MessaggioVisto visto = LeggiMessaggio(dlg);
        if (icona && visto.icona == 0) continue;
        Risposta& r = risposte[pid];
        r.visto = visto;
        for (HWND h : FinestreDi(kClasse, pid)) r.finestraVisibile = r.finestraVisibile || ::IsWindowVisible(h);
        ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDOK)));
    }
}

std::size_t Visibili(const std::vector<HWND>& finestre) {
    return static_cast<std::size_t>(std::count_if(finestre.begin(), finestre.end(), ::IsWindowVisible));
}

class ProgrammaTest : public ::testing::Test {
protected:
    void SetUp() override { CancellaImpostazioniProgramma(); }
    void TearDown() override { CancellaImpostazioniProgramma(); }
};

TEST_F(ProgrammaTest, SecondStartSaysSoAndEndsWhileTheFirstKeepsTicking) {
    const Processo primo;
    const HWND orologio = primo.AttendiFinestra();
    ASSERT_NE(orologio, nullptr);

    const Processo secondo;
    std::map<DWORD, Risposta> risposte;
    EXPECT_TRUE(AttendiFinche(
        [&] {
            RispondiOk({secondo.Id()}, risposte, true);
            return secondo.AttendiFine(0);
        },
        20000));
    ASSERT_TRUE(risposte.contains(secondo.Id()));
    const Risposta& r = risposte[secondo.Id()];
    EXPECT_EQ(r.visto.titolo, L"Esmalvio");
    EXPECT_EQ(r.visto.testo, kGiaInEsecuzione);
    EXPECT_EQ(r.visto.pulsanti, static_cast<UINT>(MB_OK));
    EXPECT_EQ(r.visto.icona, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_FALSE(r.finestraVisibile);
    EXPECT_EQ(secondo.CodiceUscita(), 0u);

    EXPECT_FALSE(primo.AttendiFine(0));
    EXPECT_EQ(FinestreDi(kClasse), std::vector<HWND>{orologio});
    EXPECT_TRUE(::IsWindowVisible(orologio));
    EXPECT_TRUE(LetturaAlTick(orologio));
}

TEST_F(ProgrammaTest, SecondStartIsRefusedAlsoWhenTheRunningCopyIsOutOfReach) {
    // A copy started with higher rights holds the single-copy mutex where a plain start may not open it.
    SECURITY_DESCRIPTOR sd{};
    ACL nessunAccesso{};
    ASSERT_TRUE(::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(::InitializeAcl(&nessunAccesso, sizeof nessunAccesso, ACL_REVISION));
    ASSERT_TRUE(::SetSecurityDescriptorDacl(&sd, TRUE, &nessunAccesso, FALSE));
    SECURITY_ATTRIBUTES sa{sizeof sa, &sd, FALSE};
    const UniqueHandle altraCopia(::CreateMutexW(&sa, FALSE, L"Local\\Quilmora.Esmalvio"));
    ASSERT_NE(altraCopia.get(), nullptr);

    const Processo secondo;
    std::map<DWORD, Risposta> risposte;
    const auto finestraMostrata = [&] { return Visibili(FinestreDi(kClasse, secondo.Id())) > 0; };
    EXPECT_TRUE(AttendiFinche(
        [&] {
            RispondiOk({secondo.Id()}, risposte);
            return secondo.AttendiFine(0) || finestraMostrata();
        },
        20000));
    ASSERT_FALSE(finestraMostrata()) << "a second clock runs";
    EXPECT_TRUE(risposte.contains(secondo.Id()));
    EXPECT_EQ(secondo.CodiceUscita(), 0u);
}

TEST_F(ProgrammaTest, TwentyStartsAtOnceLeaveExactlyOneClock) {
    constexpr std::size_t kAvvii = 20;
    std::vector<std::unique_ptr<Processo>> processi;
    for (std::size_t i = 0; i < kAvvii; ++i) processi.push_back(std::make_unique<Processo>());
    std::vector<DWORD> pid;
    for (const auto& p : processi) {
        ASSERT_TRUE(p->Avviato());
        pid.push_back(p->Id());
    }

    std::map<DWORD, Risposta> risposte;
    std::size_t massimoVisibili = 0;
    const auto finiti = [&] {
        return std::count_if(processi.begin(), processi.end(), [](const auto& p) { return p->AttendiFine(0); });
    };
    EXPECT_TRUE(AttendiFinche(
        [&] {
            massimoVisibili = std::max(massimoVisibili, Visibili(FinestreDi(kClasse)));
            RispondiOk(pid, risposte);
            return finiti() >= static_cast<std::ptrdiff_t>(kAvvii - 1);
        },
        90000));
    EXPECT_LE(massimoVisibili, 1u);

    const auto sopravvissuto =
        std::find_if(processi.begin(), processi.end(), [](const auto& p) { return !p->AttendiFine(0); });
    ASSERT_NE(sopravvissuto, processi.end());
    const HWND orologio = (*sopravvissuto)->AttendiFinestra();
    ASSERT_NE(orologio, nullptr);
    EXPECT_EQ(FinestreDi(kClasse), std::vector<HWND>{orologio});
    EXPECT_FALSE(risposte.contains((*sopravvissuto)->Id()));
    for (const auto& p : processi) {
        if (p == *sopravvissuto) continue;
        EXPECT_EQ(p->CodiceUscita(), 0u) << p->Id();
        ASSERT_TRUE(risposte.contains(p->Id())) << p->Id();
        EXPECT_EQ(risposte[p->Id()].visto.testo, kGiaInEsecuzione);
        EXPECT_FALSE(risposte[p->Id()].finestraVisibile);
    }
    EXPECT_TRUE(LetturaAlTick(orologio));
}

TEST_F(ProgrammaTest, FaceShowsLocalTimeOrTheStoredZoneTime) {
    {
        const Processo locale;
        const HWND h = locale.AttendiFinestra();
        ASSERT_NE(h, nullptr);
        const auto l = LetturaAlTick(h);
        ASSERT_TRUE(l);
        EXPECT_TRUE(OraAttesa(Secondi(l->faccia), l->prima.locale, l->dopo.locale, 0)) << "local time";
    }
    ScriviImpostazioneProgramma(L"Fuso", L"60");
    ScriviImpostazioneProgramma(L"Legale", L"1");
    const Processo fuso;
    const HWND h = fuso.AttendiFinestra();
    ASSERT_NE(h, nullptr);
    const auto l = LetturaAlTick(h);
    ASSERT_TRUE(l);
    EXPECT_TRUE(OraAttesa(Secondi(l->faccia), l->prima.utc, l->dopo.utc, 120)) << "zone +60 with daylight hour";
}

TEST_F(ProgrammaTest, KeepsTickingAndEndsWithCodeZeroWhenClosed) {
    const Processo programma;
    const HWND h = programma.AttendiFinestra();
    ASSERT_NE(h, nullptr);
    const auto primo = LetturaAlTick(h);
    ASSERT_TRUE(primo);
    const auto secondo = LetturaAlTick(h);
    ASSERT_TRUE(secondo);
    EXPECT_NE(primo->faccia.puntiAccesi, secondo->faccia.puntiAccesi);
    // One second on; two when a tick came late under load.
    const int passo = Modulo(Secondi(secondo->faccia) - Secondi(primo->faccia));
    EXPECT_GE(passo, 1);
    EXPECT_LE(passo, 2);

    ::PostMessageW(h, WM_CLOSE, 0, 0);
    ASSERT_TRUE(programma.AttendiFine(10000));
    EXPECT_EQ(programma.CodiceUscita(), 0u);
    EXPECT_TRUE(FinestreDi(kClasse).empty());
}

}  // namespace
}  // namespace esmalvio::test
