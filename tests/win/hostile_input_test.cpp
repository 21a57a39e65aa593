// Hostile input: hand-edited settings, fifty starts at once, unreadable files, what the executable declares.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "settings/registry_store.h"
#include "support/clock_fixture.h"

namespace quilmora::test {
namespace {

const std::vector<std::pair<std::wstring_view, std::wstring>> kEfficaci{
    {kFuso, L"60"}, {kLegale, L"1"}, {kLocalita, L"Roma"}, {kPos, L"1740,1770"}, {kColore, L"2"}, {kMenu, L"No"}};

// A clock window in this process, over the program's own settings in the registry or over files in a folder.
class OstileTest : public OrologioTest {
protected:
    void SetUp() override { CancellaImpostazioniProgramma(); }
    void TearDown() override {
        finestra.reset();
        CancellaImpostazioniProgramma();
    }
    static void Scrivi(std::wstring_view chiave, const std::wstring& dati, DWORD tipo = REG_SZ) {
        const auto byte = static_cast<DWORD>((dati.size() + 1) * sizeof(wchar_t));  // with a NUL after the text
        EXPECT_EQ(ERROR_SUCCESS, ::RegSetKeyValueW(HKEY_CURRENT_USER, ChiaveImpostazioni().c_str(),
                                                   std::wstring(chiave).c_str(), tipo, dati.c_str(), byte));
    }
    void CaricaDalRegistro() { Carica(&registro); }

    ImpostazioniRegistro registro;
};

// Whatever a key holds, the window loads with a whole face, keeps ticking, stays reachable and writes nothing.
TEST_F(OstileTest, HostileValuesLeaveTheClockWholeTickingReachableAndUnwritten) {
    for (const auto& [chiave, efficace] : kEfficaci) {
        // The wrong types and the text after a NUL carry the key's effective text: read as such, they would show.
        // How texts that are no number read is the core's cases (and the fuzz run's).
        const std::pair<DWORD, std::wstring> ostili[] = {{REG_DWORD, efficace.substr(0, 1)},
                                                         {REG_BINARY, efficace},
                                                         {REG_EXPAND_SZ, efficace},
                                                         {REG_SZ, std::wstring(L"x\0", 2) + efficace},
                                                         {REG_SZ, std::wstring(32 * 1024, L'9')},
                                                         {REG_SZ, L"abc"}};
        for (const auto& [tipo, dati] : ostili) {
            SCOPED_TRACE(::testing::Message() << std::wstring(chiave) << " " << tipo << " " << dati.substr(0, 9));
            CancellaImpostazioniProgramma();
            for (const auto& [k, t] : kEfficaci) Scrivi(k, k == chiave ? dati : t, k == chiave ? tipo : REG_SZ);
            // Signalled by any change to the stored values (Wine ignores a write of the same bytes).
            HKEY aperta = nullptr;
            const std::wstring applicazione = std::wstring(kRadiceImpostazioni) + L"\\" + std::wstring(kApplicazione);
            ::RegOpenKeyExW(HKEY_CURRENT_USER, applicazione.c_str(), 0, KEY_NOTIFY, &aperta);
            const UniqueKey quilmora(aperta);
            const UniqueHandle cambio(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
            ASSERT_EQ(ERROR_SUCCESS,
                      ::RegNotifyChangeKeyValue(quilmora.get(), TRUE, REG_LEGAL_CHANGE_FILTER, cambio.get(), TRUE));

            CaricaDalRegistro();
            const Faccia prima = LeggiFaccia(hwnd());
            finestra->Timer1_Timer();
            const Faccia dopo = LeggiFaccia(hwnd());
            EXPECT_TRUE(prima.Intera() && dopo.Intera() && prima.puntiAccesi != dopo.puntiAccesi) << dopo.Testo();
            ::ShowWindow(hwnd(), SW_MINIMIZE);
            finestra->Timer1_Timer();
            EXPECT_FALSE(Titolo().empty());
            ::ShowWindow(hwnd(), SW_RESTORE);
            Assesta(hwnd());
            EXPECT_TRUE(!Titolo().empty() && ::MonitorFromWindow(hwnd(), MONITOR_DEFAULTTONULL));
            finestra.reset();
            EXPECT_EQ(::WaitForSingleObject(cambio.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "settings changed";
        }
    }
}

// A sibling program or a help file that is a folder, or a file nobody may read now, is absent: no help, and
// "&Informazioni" shows the About box (answered here) instead of starting the sibling.
TEST_F(OstileTest, SiblingAndHelpFileAsFoldersOrLockedAreAbsent) {
    const auto assenti = [&] {
        Carica();
        EXPECT_EQ(finestra->FileGuida(), L"");
        Osservatore about(L"ESMALVIO DESKTOP", IDOK);
        ::SendMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(::GetMenuItemID(::GetSubMenu(::GetMenu(hwnd()), 0), 0), 0), 0);
        EXPECT_TRUE(about.Ferma());
    };
    const CartellaTemporanea prova(L"esmalvio ostile");
    cartella = prova.percorso().wstring();
    const std::filesystem::path file[] = {prova / L"vesko.exe", prova / L"quilmora.hlp"};
    for (const auto& f : file) std::filesystem::create_directories(f);
    assenti();
    std::vector<UniqueHandle> bloccati;  // files shared with nobody
    for (const auto& f : file) {
        std::filesystem::remove(f);
        const HANDLE h = ::CreateFileW(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        bloccati.emplace_back(h);
    }
    assenti();
}

// Fifty copies racing for the single-instance check: one clock, every other copy says so and ends.
TEST(AvviiInsiemeTest, FiftyStartsAtOnceLeaveOneTickingClock) {
    CancellaImpostazioniProgramma();
    AvviiInsieme copie(50);
    ASSERT_EQ(copie.copie.size(), 50u);
    EXPECT_TRUE(copie.Attendi(1, 100000));
    EXPECT_LE(copie.massimoOrologi, 1);
    DWORD sopravvissuta = 0;
    for (const auto& [id, codice] : copie.Codici()) {
        if (codice == STILL_ACTIVE) sopravvissuta = id;
        EXPECT_TRUE(codice == 0 || codice == STILL_ACTIVE) << id << " ended with " << codice;
        EXPECT_EQ(copie.risposte[id].testo, codice ? L"" : L"Esmalvio Desktop \u00e8 gi\u00e0 in esecuzione!") << id;
    }
    // Its clock is the only one, and it ticks.
    std::wstring prima;
    EXPECT_TRUE(AttendiFinche(
        [&] {
            const auto orologi = FinestreDi(kClasseOrologio, sopravvissuta);
            const Faccia f = orologi.size() == 1 && ::IsWindowVisible(orologi[0]) ? LeggiFaccia(orologi[0]) : Faccia{};
            if (FinestreDi(kClasseOrologio).size() != 1 || !f.Intera()) return false;
            const std::wstring era = std::exchange(prima, f.Testo());
            return !era.empty() && era != prima;
        },
        20000));
}

TEST(EseguibileTest, VersionIsOnePointZeroAndTheManifestAsksForCommonControls6AsInvokerScaledPerMonitor) {
    std::vector<BYTE> info(::GetFileVersionInfoSizeW(ESMALVIO_EXE, nullptr));
    VS_FIXEDFILEINFO* fisso = nullptr;
    UINT n = 0;
    ASSERT_TRUE(!info.empty() && ::GetFileVersionInfoW(ESMALVIO_EXE, 0, static_cast<DWORD>(info.size()), info.data()) &&
                ::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fisso), &n));
    EXPECT_EQ(fisso->dwFileVersionMS, static_cast<DWORD>(MAKELONG(0, 1)));  // 1.0

    const std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&::FreeLibrary)> modulo(
        ::LoadLibraryExW(ESMALVIO_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE), &::FreeLibrary);
    const HRSRC risorsa = modulo ? ::FindResourceW(modulo.get(), MAKEINTRESOURCEW(1), RT_MANIFEST) : nullptr;
    ASSERT_NE(risorsa, nullptr);
    const std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(modulo.get(), risorsa))),
                               ::SizeofResource(modulo.get(), risorsa));
    for (const char* elemento :
         {R"(<assemblyIdentity(?=[^>]*"Microsoft\.Windows\.Common-Controls")[^>]*\sversion="6\.0\.0\.0")",
          R"(<requestedExecutionLevel[^>]*\slevel="asInvoker")", R"(<dpiAwareness[^>]*>PerMonitorV2, PerMonitor<)",
          R"(<dpiAware[^>]*>true/pm<)"}) {
        EXPECT_TRUE(std::regex_search(manifest, std::regex(elemento))) << elemento << "\n" << manifest;
    }
}

}  // namespace
}  // namespace quilmora::test
