// Automatic start where Windows is strict: the machine's keys for administrators only, a user without elevation,
// and the elevated copy that makes the one change asked of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <tuple>

#include "environment/this_copy.h"
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
        RimuoviRegistro(kChiaveRun, kValoreRun, HKEY_CURRENT_USER);
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
    // A copy that is not installed: the machine's value is not its to change; without one, its user's value.
    EXPECT_EQ(filtrato(L"NotInstalledLeavesTheMachinesValue"), 0u);
    ASSERT_TRUE(RimuoviRegistro(kChiaveRun, kValoreRun));
    EXPECT_EQ(filtrato(L"NotInstalledStartsForItsUserWithoutElevation"), 0u);
}

TEST(AvvioAutomaticoTest, OnlyTheCopyInProgramFilesChangesTheMachineForItsOwnFileBesideARunningClock) {
    const MacchinaPulita pulita;
    const Processo orologio;
    ASSERT_TRUE(orologio.AttendiFinestra());
    const CartellaTemporanea installata(L"Esmalvio", L"C:\\Program Files"), altrove(L"esmalvio"),
        accanto(L"Program FilesEsmalvio", L"C:\\");
    const auto exe = [](const CartellaTemporanea& c) { return (c / L"Esmalvio.exe").wstring(); };
    for (const auto* c : {&installata, &altrove, &accanto}) std::filesystem::copy_file(ESMALVIO_EXE, exe(*c));
    std::wstring maiuscolo = exe(installata);
    std::transform(maiuscolo.begin(), maiuscolo.end(), maiuscolo.begin(), ::towupper);
    // Told from the real file, case aside, by whole folder names.
    EXPECT_EQ(std::tuple(Installata(exe(installata)), Installata(maiuscolo), Installata(exe(altrove)),
                         Installata(exe(accanto))),
              std::tuple(true, true, false, false));

    Spegni(HKEY_LOCAL_MACHINE);
    Spegni(HKEY_CURRENT_USER);
    // Elsewhere the copy changes nothing, whatever it is asked, and says why.
    for (const auto* c : {&altrove, &accanto}) {
        EXPECT_EQ(Esito(Processo(std::wstring(kAccendiAvvio), exe(*c))), kEsitoNonInstallata);
        EXPECT_EQ(Esito(Processo(std::wstring(kSpegniAvvio), exe(*c))), kEsitoNonInstallata);
    }
    EXPECT_EQ(std::pair(LeggiRegistro(kChiaveRun, kValoreRun), Segnato(HKEY_LOCAL_MACHINE)),
              std::pair(std::wstring(), true));
    // A path after the change is never the one written; the user's mark is the dialog's, not the copy's. No box:
    // a copy that waited for an answer would not end.
    EXPECT_EQ(Esito(Processo(std::wstring(kAccendiAvvio) + L" \"C:\\Altrove\"", exe(installata))), 0u);
    EXPECT_EQ(
        std::tuple(LeggiRegistro(kChiaveRun, kValoreRun), Segnato(HKEY_LOCAL_MACHINE), Segnato(HKEY_CURRENT_USER)),
        std::tuple(L"\"" + exe(installata) + L"\"", false, true));
    for (int volta = 0; volta < 2; ++volta) {
        EXPECT_EQ(Esito(Processo(std::wstring(kSpegniAvvio), exe(installata))), 0u);
        EXPECT_EQ(LeggiRegistro(kChiaveRun, kValoreRun), L"");
    }
    EXPECT_EQ(std::pair(orologio.CodiceUscita(), FinestreDi(kClasseOrologio).size()),
              std::pair(DWORD{STILL_ACTIVE}, std::size_t{1}));
}

}  // namespace
}  // namespace quilmora::test
