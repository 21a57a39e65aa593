// Automatic start where Windows is strict: the machine's keys for administrators only, a user without elevation,
// and the elevated copy that makes the one change asked of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "settings/globale.h"
#include "support/win_test_util.h"
#include "win/shared_names.h"

namespace quilmora::test {
namespace {

constexpr const wchar_t* kSegni = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
// Windows' own security of the Run key: administrators and SYSTEM change it, everybody reads it.
constexpr const wchar_t* kSoloAmministratori = L"D:P(A;CI;KA;;;BA)(A;CI;KA;;;SY)(A;CI;KR;;;BU)(A;CI;KR;;;WD)";

// The machine's value and marks gone when the test ends: Wine would start the program at its next start.
struct MacchinaPulita {
    ~MacchinaPulita() {
        RimuoviRegistro(kChiaveRun, kValoreRun);
        RimuoviRegistro(kSegni, kValoreRun);
        RimuoviRegistro(kSegni, kValoreRun, HKEY_CURRENT_USER);
    }
};

// What Task Manager writes when it switches the entry off.
void Spegni(HKEY radice) {
    const BYTE segno[12] = {0x03};
    ASSERT_EQ(::RegSetKeyValueW(radice, kSegni, kValoreRun, REG_BINARY, segno, sizeof segno), ERROR_SUCCESS);
}

bool Segnato(HKEY radice) {
    return ::RegGetValueW(radice, kSegni, kValoreRun, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

DWORD Esito(Processo&& processo) {
    return processo.AttendiFine(60000) ? processo.CodiceUscita() : STILL_ACTIVE;
}

TEST(AvvioAutomaticoTest, AUserWithoutElevationIsToldTheTruthAtEachStep) {
    const MacchinaPulita pulita;
    const ChiaveProtetta run(kChiaveRun, kSoloAmministratori), segni(kSegni, kSoloAmministratori);
    ASSERT_TRUE(run.Protetta() && segni.Protetta());
    const UniqueHandle token = TokenSenzaElevazione();
    ASSERT_TRUE(token);
    const auto filtrato = [&](const wchar_t* caso) {
        return Esito(Processo(std::wstring(L"--gtest_filter=DialogoFiltrato.") + caso, DIALOGO_FILTRATO_EXE, false,
                              token.get()));
    };
    // Nothing there; then another copy's value, switched off for the machine; then switched on.
    EXPECT_EQ(filtrato(L"NothingThereAndTickedCannotBeSwitchedOn"), 0u);
    ASSERT_TRUE(ScriviRegistro(kChiaveRun, kValoreRun, L"\"C:\\Altrove\\Esmalvio.exe\""));
    Spegni(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(filtrato(L"SwitchedOffForTheMachineShowsOffAndStaysSo"), 0u);
    EXPECT_EQ(std::pair(LeggiRegistro(kChiaveRun, kValoreRun), Segnato(HKEY_LOCAL_MACHINE)),
              std::pair(std::wstring(L"\"C:\\Altrove\\Esmalvio.exe\""), true));
    ASSERT_TRUE(RimuoviRegistro(kSegni, kValoreRun));
    EXPECT_EQ(filtrato(L"SwitchedOffForTheUserComesBackAndOffIsRefused"), 0u);
    EXPECT_EQ(LeggiRegistro(kChiaveRun, kValoreRun), L"\"C:\\Altrove\\Esmalvio.exe\"");
}

TEST(AvvioAutomaticoTest, TheElevatedCopyMakesItsOneChangeForItsOwnFolderBesideARunningClock) {
    const MacchinaPulita pulita;
    const Processo orologio;
    ASSERT_TRUE(orologio.AttendiFinestra());
    Spegni(HKEY_LOCAL_MACHINE);
    Spegni(HKEY_CURRENT_USER);
    std::wstring comando = ESMALVIO_EXE;
    std::replace(comando.begin(), comando.end(), L'/', L'\\');
    comando = L"\"" + comando + L"\"";

    // A path after the change is never the one written; the user's mark is the dialog's, not the copy's. No box:
    // a copy that waited for an answer would not end.
    EXPECT_EQ(Esito(Processo(std::wstring(kAccendiAvvio) + L" \"C:\\Altrove\"")), 0u);
    EXPECT_EQ(
        std::tuple(LeggiRegistro(kChiaveRun, kValoreRun), Segnato(HKEY_LOCAL_MACHINE), Segnato(HKEY_CURRENT_USER)),
        std::tuple(comando, false, true));
    for (int volta = 0; volta < 2; ++volta) {
        EXPECT_EQ(Esito(Processo(std::wstring(kSpegniAvvio))), 0u);
        EXPECT_EQ(LeggiRegistro(kChiaveRun, kValoreRun), L"");
    }
    EXPECT_EQ(std::pair(orologio.CodiceUscita(), FinestreDi(kClasseOrologio).size()),
              std::pair(DWORD{STILL_ACTIVE}, std::size_t{1}));
}

}  // namespace
}  // namespace quilmora::test
