// The zone dialog as a user without elevation meets it: started by AvvioAutomaticoTest under UAC's filtered token,
// with the machine's keys for administrators only. Each case finds them as that test left them.
#include <algorithm>

#include "settings/globale.h"
#include "support/fusi_fixture.h"
#include "win/resource.h"
#include "win/shared_names.h"

namespace quilmora::test {
namespace {

constexpr const wchar_t* kSegni = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

class DialogoFiltrato : public DialogoTest {
protected:
    DialogoFiltrato() {
        // The program's own folder: the elevated copy is the real one.
        std::wstring exe = ESMALVIO_EXE;
        std::replace(exe.begin(), exe.end(), L'/', L'\\');
        cartella = exe.substr(0, exe.rfind(L'\\'));
        avvioAutomatico = AvvioAutomatico();
    }
    void SetUp() override {
        HKEY run = nullptr;
        ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kChiaveRun, 0, KEY_SET_VALUE, &run), ERROR_ACCESS_DENIED);
    }
    // Saves with the box as it is now: a refused change asks for elevation, which Wine refuses to this token too.
    Visti Salva(bool rifiutato) { return Premi(0, rifiutato ? std::vector{IDYES, IDOK} : std::vector{IDYES}); }
    Visti Rifiuto() const { return {kSalvo, Avviso(IDS_FUSI_AVVIO_NEGATO)}; }
    // Shown off; a save of the zone alone says nothing more; ticked and saved, refused and shown off again.
    void NonSiAccende() {
        Apri();
        EXPECT_FALSE(Spuntato(Fusi::kCheck2));
        Combo(CB_SETCURSEL, 14);
        EXPECT_EQ(Salva(false), Visti{kSalvo});
        Spunta(Fusi::kCheck2, true);
        EXPECT_EQ(Salva(true), Rifiuto());
        EXPECT_EQ(std::pair(Spuntato(Fusi::kCheck2), store.Leggi(kFuso)), std::pair(false, std::wstring(L"60")));
        // Enabled again after the refusal, the focus on the button the user clicked.
        EXPECT_EQ(std::pair(::IsWindowEnabled(hdlg) != FALSE, ::GetFocus()),
                  std::pair(true, Controllo(Fusi::kCommand1)));
    }
    std::wstring RunUtente() const { return LeggiRegistro(kChiaveRun, kValoreRun, HKEY_CURRENT_USER); }
};

TEST_F(DialogoFiltrato, NothingThereAndTickedCannotBeSwitchedOn) {
    NonSiAccende();
    EXPECT_EQ(LeggiRegistro(kChiaveRun, kValoreRun), L"");
}

TEST_F(DialogoFiltrato, SwitchedOffForTheMachineShowsOffAndStaysSo) {
    NonSiAccende();
}

TEST_F(DialogoFiltrato, SwitchedOffForTheUserComesBackAndOffIsRefused) {
    Apri();
    EXPECT_TRUE(Spuntato(Fusi::kCheck2));
    // Switched off in Task Manager: shown off; ticked and saved, on again with no elevation.
    const BYTE segno[12] = {0x03};
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kSegni, kValoreRun, REG_BINARY, segno, sizeof segno), ERROR_SUCCESS);
    Apri();
    EXPECT_FALSE(Spuntato(Fusi::kCheck2));
    Combo(CB_SETCURSEL, 14);
    Spunta(Fusi::kCheck2, true);
    EXPECT_EQ(Salva(false), Visti{kSalvo});
    EXPECT_EQ(std::pair(Spuntato(Fusi::kCheck2),
                        ::RegGetValueW(HKEY_CURRENT_USER, kSegni, kValoreRun, RRF_RT_ANY, nullptr, nullptr, nullptr)),
              std::pair(true, LSTATUS{ERROR_FILE_NOT_FOUND}));
    // Off needs the machine's Run key.
    Spunta(Fusi::kCheck2, false);
    EXPECT_EQ(Salva(true), Rifiuto());
    EXPECT_TRUE(Spuntato(Fusi::kCheck2));
}

TEST_F(DialogoFiltrato, NotInstalledLeavesTheMachinesValue) {
    installata = false;
    Apri();
    Spunta(Fusi::kCheck2, false);
    EXPECT_EQ(Salva(true), (Visti{kSalvo, Avviso(IDS_FUSI_AVVIO_DI_TUTTI)}));
    EXPECT_EQ(std::pair(Spuntato(Fusi::kCheck2), RunUtente()), std::pair(true, std::wstring()));
}

TEST_F(DialogoFiltrato, NotInstalledStartsForItsUserWithoutElevation) {
    installata = false;
    Apri();
    Spunta(Fusi::kCheck2, true);
    EXPECT_EQ(Salva(false), Visti{kSalvo});
    EXPECT_EQ(std::tuple(Spuntato(Fusi::kCheck2), RunUtente(), LeggiRegistro(kChiaveRun, kValoreRun)),
              std::tuple(true, L"\"" + cartella + L"\\Esmalvio.exe\"", std::wstring()));
    Spunta(Fusi::kCheck2, false);
    EXPECT_EQ(Salva(false), Visti{kSalvo});
    EXPECT_EQ(std::pair(Spuntato(Fusi::kCheck2), RunUtente()), std::pair(false, std::wstring()));
}

}  // namespace
}  // namespace quilmora::test
