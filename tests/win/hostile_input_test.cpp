// Hostile input and faults: hand-edited settings in the real registry store, many copies started at
// once, sibling program and help file that exist but cannot be read, and what the executable declares.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/resource.h"
#include "app/texts.h"
#include "clock/clock_window.h"
#include "settings/settings_store.h"
#include "support/avvii_insieme.h"
#include "support/clock_fixture.h"
#include "support/dialog_watch.h"
#include "version.h"

namespace esmalvio::test {
namespace {

// UTC and local time differ, so the face tells which one it shows.
constexpr SYSTEMTIME kUtc{2026, 12, 2, 8, 9, 5, 3, 0};
constexpr SYSTEMTIME kLocale{2026, 12, 2, 8, 14, 35, 3, 0};

std::wstring TitoloDi(HWND finestra) {
    std::wstring t(static_cast<std::size_t>(::GetWindowTextLengthW(finestra)) + 1, L'\0');
    t.resize(static_cast<std::size_t>(::GetWindowTextW(finestra, t.data(), static_cast<int>(t.size()))));
    return t;
}

bool Completa(const Faccia& f) {
    return std::none_of(f.cifre.begin(), f.cifre.end(), [](int c) { return c < 0; }) && f.puntiValidi && f.marginiNeri;
}

bool SulloSchermoPrincipale(HWND finestra) {
    MONITORINFO mi{sizeof mi, {}, {}, 0};
    ::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
    RECT r{};
    RECT comune{};
    ::GetWindowRect(finestra, &r);
    return ::IntersectRect(&comune, &r, &mi.rcMonitor) != FALSE;
}

// One value of the section exactly as stored: name, type and bytes.
struct Valore {
    std::wstring nome;
    DWORD tipo = REG_NONE;
    std::vector<BYTE> dati;
    bool operator==(const Valore&) const = default;
};

// A clock window in this process over the real registry store, under a root of the test's own.
class RegistroTest : public ::testing::Test {
protected:
    void SetUp() override {
        orologio.utc = kUtc;
        orologio.locale = kLocale;
    }
    void TearDown() override {
        finestra.reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, radice.c_str());
    }

    std::wstring Sezione() const {
        return radice + L"\\" + std::wstring(kApplicazione) + L"\\" + std::wstring(kSezione);
    }
    void Scrivi(std::wstring_view chiave, DWORD tipo, const void* dati, std::size_t byte) const {
        HKEY creata = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, Sezione().c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_SET_VALUE, nullptr, &creata, nullptr),
                  ERROR_SUCCESS);
        const UniqueKey key(creata);
        ASSERT_EQ(::RegSetValueExW(key.get(), std::wstring(chiave).c_str(), 0, tipo, static_cast<const BYTE*>(dati),
                                   static_cast<DWORD>(byte)),
                  ERROR_SUCCESS);
    }
    // A text as the program stores it, with its terminating NUL.
    void Scrivi(std::wstring_view chiave, const std::wstring& testo) const {
        Scrivi(chiave, REG_SZ, testo.c_str(), (testo.size() + 1) * sizeof(wchar_t));
    }
    std::vector<Valore> Istantanea() const {
        std::vector<Valore> valori;
        HKEY aperta = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, Sezione().c_str(), 0, KEY_QUERY_VALUE, &aperta) != ERROR_SUCCESS) {
            return valori;
        }
        const UniqueKey key(aperta);
        DWORD quanti = 0, nomeMax = 0, datiMax = 0;
        ::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &quanti, &nomeMax, &datiMax,
                           nullptr, nullptr);
        for (DWORD i = 0; i < quanti; ++i) {
            Valore v;
            v.nome.resize(nomeMax + 1);
            v.dati.resize(datiMax);
            auto nome = static_cast<DWORD>(v.nome.size());
            auto byte = static_cast<DWORD>(v.dati.size());
            EXPECT_EQ(::RegEnumValueW(key.get(), i, v.nome.data(), &nome, nullptr, &v.tipo, v.dati.data(), &byte),
                      ERROR_SUCCESS);
            v.nome.resize(nome);
            v.dati.resize(byte);
            valori.push_back(std::move(v));
        }
        std::sort(valori.begin(), valori.end(), [](const Valore& a, const Valore& b) { return a.nome < b.nome; });
        return valori;
    }

    Ambiente AmbienteTest() {
        Ambiente a;
        a.impostazioni = &store;
        a.orologio = &orologio;
        a.navigazione = &navigazione;
        a.istanza = ::GetModuleHandleW(nullptr);
        a.cartella = L"C:\\esmalvio-test-nessuna-cartella";
        return a;
    }
    bool Carica() {
        finestra = std::make_unique<Esmalvio>(AmbienteTest());
        const bool caricato = finestra->Carica();
        Pompa(20);
        return caricato;
    }
    HWND hwnd() const { return finestra->hwnd(); }
    int Spuntato() const {
        HMENU colori = ::GetSubMenu(::GetMenu(hwnd()), 1);
        int spuntato = -1;
        for (int i = 0; i < ::GetMenuItemCount(colori); ++i) {
            if (::GetMenuState(colori, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) {
                spuntato = spuntato == -1 ? i : -2;
            }
        }
        return spuntato;
    }

    const std::wstring radice = L"Software\\EsmalvioHostile-" + std::to_wstring(::GetCurrentProcessId());
    ImpostazioniRegistro store{radice};
    OrologioFinto orologio;
    NavigazioneRegistrata navigazione;
    std::unique_ptr<Esmalvio> finestra;
};

// A key, a valid text for it with a visible effect, and what is stored there while another key is tried.
struct Chiave {
    std::wstring_view nome;
    const char* id;
    std::wstring efficace;
    std::wstring normale;
};

void PrintTo(const Chiave& k, std::ostream* os) {
    *os << k.id;
}

const std::vector<Chiave>& Chiavi() {
    static const std::vector<Chiave> chiavi{{kFuso, "Fuso", L"60", L"60"},
                                            {kLegale, "Legale", L"1", L"1"},
                                            {kLocalita, "Localita", L"Roma", L"Roma"},
                                            {kPos, "Pos", L"1740,1770", L"1740,1770"},
                                            {kColore, "Colore", L"2", L"2"},
                                            {kMenu, "Menu", L"No", L"Si"}};
    return chiavi;
}

// A value the program never writes, and the text the store reads from it.
struct Ostile {
    std::wstring descrizione;
    DWORD tipo;
    std::wstring dati;  // written whole, as many bytes as it holds
    std::wstring letto;
};

// The wrong types and the text after a NUL carry the key's effective text: read as such, they would show.
std::vector<Ostile> Ostili(const Chiave& k) {
    const std::vector<std::wstring> testi{L"",
                                          L" ",
                                          L"abc",
                                          L"-",
                                          L"+",
                                          L"1e309",
                                          L"0x10",
                                          L"99999999999999999999",
                                          L"\xFF11\xFF12",
                                          std::wstring(32 * 1024, L'9')};
    std::vector<Ostile> ostili;
    for (const std::wstring& t : testi) {
        ostili.push_back({t.size() > 100 ? L"64 KiB" : L"\"" + t + L"\"", REG_SZ, t + L'\0', t});
    }
    std::wstring dword = k.efficace;
    dword.resize(2);
    ostili.push_back({L"REG_DWORD", REG_DWORD, dword, L""});
    ostili.push_back({L"REG_BINARY", REG_BINARY, k.efficace + L'\0', L""});
    ostili.push_back({L"REG_EXPAND_SZ", REG_EXPAND_SZ, k.efficace + L'\0', L""});
    ostili.push_back({L"x NUL text", REG_SZ, L"x" + std::wstring(1, L'\0') + k.efficace + L'\0', L"x"});
    return ostili;
}

class ValoriOstiliTest : public RegistroTest, public ::testing::WithParamInterface<Chiave> {};

// Whatever a key holds, the window loads with a whole face, keeps ticking, stays reachable and
// writes nothing; each key falls back as docs/stored-values.md says while the others keep working.
TEST_P(ValoriOstiliTest, WindowLoadsTicksStaysOnScreenAndChangesNothing) {
    const Chiave& k = GetParam();
    std::optional<RECT> creata;
    for (const Ostile& o : Ostili(k)) {
        SCOPED_TRACE(o.descrizione);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, radice.c_str());
        for (const Chiave& altra : Chiavi()) {
            if (altra.nome != k.nome) Scrivi(altra.nome, altra.normale);
        }
        Scrivi(k.nome, o.tipo, o.dati.data(), o.dati.size() * sizeof(wchar_t));
        const auto prima = Istantanea();
        ASSERT_EQ(prima.size(), Chiavi().size());
        orologio.utc = kUtc;
        orologio.locale = kLocale;

        ASSERT_TRUE(Carica());
        const Faccia f = LeggiFaccia(hwnd());
        EXPECT_TRUE(Completa(f)) << f.Testo();
        // Zone +60 and one daylight hour, unless the key under test undoes one of them.
        const std::wstring ora = k.nome == kFuso ? L"14:35:03" : k.nome == kLegale ? L"10:05:03" : L"11:05:03";
        EXPECT_EQ(f.Testo(), ora);
        EXPECT_EQ(f.colore, k.nome == kColore ? 0 : 2);
        ASSERT_NE(::GetMenu(hwnd()), nullptr);
        EXPECT_EQ(Spuntato(), k.nome == kColore ? 0 : 2);
        const std::wstring localita = k.nome == kLocalita ? o.letto : L"Roma";
        EXPECT_EQ(TitoloDi(hwnd()), localita.empty() ? L"Locale" : localita);
        const Twip pos = GeometriaTwip(hwnd());
        if (k.nome != kPos) {
            EXPECT_EQ(pos.left, 1740);
            EXPECT_EQ(pos.top, 1770);
        } else if (o.letto.empty() || o.letto == L"99999999999999999999") {
            // Absent, or a place on no screen: where the window is created.
            RECT r{};
            ::GetWindowRect(hwnd(), &r);
            if (!creata) creata = r;
            EXPECT_TRUE(::EqualRect(&r, &*creata));
        } else {
            EXPECT_EQ(pos.left, 0);
            EXPECT_EQ(pos.top, 0);
        }

        bool accesi = f.puntiAccesi;
        for (WORD s = 4; s <= 6; ++s) {
            orologio.utc.wSecond = orologio.locale.wSecond = s;
            finestra->Timer1_Timer();
            const Faccia dopo = LeggiFaccia(hwnd());
            EXPECT_TRUE(Completa(dopo)) << dopo.Testo();
            EXPECT_EQ(dopo.Testo(), ora.substr(0, 6) + L"0" + std::to_wstring(s));
            EXPECT_NE(dopo.puntiAccesi, accesi);
            accesi = dopo.puntiAccesi;
        }

        ::ShowWindow(hwnd(), SW_MINIMIZE);
        ASSERT_TRUE(::IsIconic(hwnd()));
        finestra->Timer1_Timer();
        EXPECT_EQ(TitoloDi(hwnd()), ora.substr(0, 6) + L"06" +
                                        (k.nome == kFuso ? std::wstring(L" - Ora locale") : L" - Ora di " + localita));
        ::ShowWindow(hwnd(), SW_RESTORE);
        Pompa(20);
        EXPECT_FALSE(::IsIconic(hwnd()));
        EXPECT_FALSE(TitoloDi(hwnd()).empty());
        EXPECT_TRUE(SulloSchermoPrincipale(hwnd()));
        EXPECT_TRUE(Completa(LeggiFaccia(hwnd())));

        finestra.reset();
        EXPECT_TRUE(Istantanea() == prima);
        EXPECT_TRUE(navigazione.apriFusi == 0 && navigazione.esci == 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Chiavi, ValoriOstiliTest, ::testing::ValuesIn(Chiavi()),
                         [](const ::testing::TestParamInfo<Chiave>& p) { return std::string(p.param.id); });

// Texts close to the written forms that the rules accept or refuse on purpose.
TEST_F(RegistroTest, NearlyWrittenFormsFollowTheRules) {
    Scrivi(kColore, L" 2 ");
    ASSERT_TRUE(Carica());
    EXPECT_EQ(LeggiFaccia(hwnd()).colore, 2);
    EXPECT_EQ(Spuntato(), 2);

    ::RegDeleteTreeW(HKEY_CURRENT_USER, radice.c_str());
    Scrivi(kFuso, L"+60");
    Scrivi(kLegale, L"1");
    ASSERT_TRUE(Carica());
    EXPECT_EQ(LeggiFaccia(hwnd()).Testo(), L"11:05:03");  // UTC+2

    ::RegDeleteTreeW(HKEY_CURRENT_USER, radice.c_str());
    const std::wstring troncato(L"60\0xyz", 7);
    Scrivi(kFuso, REG_SZ, troncato.data(), troncato.size() * sizeof(wchar_t));
    ASSERT_TRUE(Carica());
    EXPECT_EQ(LeggiFaccia(hwnd()).Testo(), L"10:05:03");  // UTC+1

    ::RegDeleteTreeW(HKEY_CURRENT_USER, radice.c_str());
    Scrivi(kMenu, L" No");
    ASSERT_TRUE(Carica());
    EXPECT_NE(::GetMenu(hwnd()), nullptr);
}

// Fifty copies racing for the single-instance check: one clock, every other copy says so and ends.
TEST(AvviiInsiemeTest, FiftyStartsAtOnceLeaveOneTickingClock) {
    CancellaImpostazioniProgramma();
    constexpr std::size_t kCopie = 50;
    AvviiInsieme copie(kCopie);
    ASSERT_EQ(copie.Avviate(), kCopie);
    std::size_t massimoVisibili = 0;
    EXPECT_TRUE(AttendiFinche(
        [&] {
            const auto orologi = FinestreDi(Esmalvio::kClasse);
            massimoVisibili = std::max<std::size_t>(
                massimoVisibili,
                static_cast<std::size_t>(std::count_if(orologi.begin(), orologi.end(), ::IsWindowVisible)));
            copie.RispondiOk();
            return copie.Finite() >= kCopie - 1;
        },
        100000));
    EXPECT_LE(massimoVisibili, 1u);
    ASSERT_EQ(copie.Finite(), kCopie - 1);

    const std::wstring giaInEsecuzione = Testo(::GetModuleHandleW(nullptr), IDS_GIA_IN_ESECUZIONE);
    std::optional<std::size_t> sopravvissuta;
    for (std::size_t i = 0; i < kCopie; ++i) {
        if (!copie.Finita(i)) {
            sopravvissuta = i;
            continue;
        }
        EXPECT_EQ(copie.CodiceUscita(i), 0u) << copie.Id(i);
        const auto risposta = copie.Risposte().find(copie.Id(i));
        ASSERT_NE(risposta, copie.Risposte().end()) << copie.Id(i);
        EXPECT_EQ(risposta->second.testo, giaInEsecuzione);
    }
    ASSERT_TRUE(sopravvissuta);
    EXPECT_FALSE(copie.Risposte().contains(copie.Id(*sopravvissuta)));

    HWND orologio = nullptr;
    ASSERT_TRUE(AttendiFinche(
        [&] {
            const auto orologi = FinestreDi(Esmalvio::kClasse);
            orologio = orologi.size() == 1 && ::IsWindowVisible(orologi[0]) ? orologi[0] : nullptr;
            return orologio != nullptr;
        },
        20000));
    DWORD pid = 0;
    ::GetWindowThreadProcessId(orologio, &pid);
    EXPECT_EQ(pid, copie.Id(*sopravvissuta));
    std::optional<std::wstring> prima;
    EXPECT_TRUE(AttendiFinche(
        [&] {
            const Faccia f = LeggiFaccia(orologio);
            if (!Completa(f)) return false;
            if (!prima) prima = f.Testo();
            return f.Testo() != *prima;
        },
        10000));
    EXPECT_EQ(FinestreDi(Esmalvio::kClasse).size(), 1u);
    CancellaImpostazioniProgramma();
}

// A sibling program or a help file that is a folder, or a file nobody may read now, is absent.
class FileAssentiTest : public OrologioTest {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        percorso_ = std::filesystem::path(temp) / (L"esmalvio assenti " + std::to_wstring(::GetCurrentProcessId()));
        std::filesystem::create_directories(percorso_);
        cartella = percorso_.wstring();
    }
    void TearDown() override {
        finestra.reset();
        bloccati_.clear();
        std::error_code ignorato;
        std::filesystem::remove_all(percorso_, ignorato);
    }
    std::filesystem::path Fratello() const { return percorso_ / L"vesko.exe"; }
    std::filesystem::path Guida() const { return percorso_ / L"quilmora.hlp"; }
    // Held open without sharing until the test ends.
    bool Blocca(const std::filesystem::path& file) {
        const HANDLE h = ::CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        bloccati_.emplace_back(h);
        return true;
    }
    // "&Informazioni": true when it showed the About box (answered here).
    bool Informazioni() {
        Osservatore about(L"ESMALVIO DESKTOP", IDOK);
        const UINT id = ::GetMenuItemID(::GetSubMenu(::GetMenu(hwnd()), 0), 0);
        ::SendMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        return about.Ferma().has_value();
    }
    bool FratelloPartito() const { return std::filesystem::exists(percorso_ / L"vesko-args.txt"); }

    std::filesystem::path percorso_;
    std::vector<UniqueHandle> bloccati_;
};

TEST_F(FileAssentiTest, FoldersNamedAsSiblingOrHelpFileAreAbsent) {
    std::filesystem::create_directory(Fratello());
    std::filesystem::create_directory(Guida());
    Carica();
    EXPECT_EQ(finestra->FileGuida(), L"");
    EXPECT_TRUE(Informazioni());
}

TEST_F(FileAssentiTest, SiblingOrHelpFileNobodyMayReadIsAbsent) {
    std::wstring vesko = VESKO_EXE;
    std::replace(vesko.begin(), vesko.end(), L'/', L'\\');
    ASSERT_TRUE(::CopyFileW(vesko.c_str(), Fratello().c_str(), FALSE));
    std::ofstream(Guida()) << "?";
    ASSERT_TRUE(Blocca(Fratello()));
    ASSERT_TRUE(Blocca(Guida()));
    const HANDLE letto =
        ::CreateFileW(Fratello().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, 0, nullptr);
    if (letto != INVALID_HANDLE_VALUE) {
        const UniqueHandle aperto(letto);
        GTEST_SKIP() << "a file held open without sharing still opens for reading here";
    }
    Carica();
    EXPECT_EQ(finestra->FileGuida(), L"");
    EXPECT_TRUE(Informazioni());
    Pompa(500);
    EXPECT_FALSE(FratelloPartito());
}

// Version resource and manifest of the program itself.
TEST(EseguibileTest, VersionIsTheProjectOneAndTheManifestAsksForCommonControls6AsInvoker) {
    std::wstring exe = ESMALVIO_EXE;
    std::replace(exe.begin(), exe.end(), L'/', L'\\');

    std::vector<BYTE> info(::GetFileVersionInfoSizeW(exe.c_str(), nullptr));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fisso = nullptr;
    UINT n = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fisso), &n));
    EXPECT_EQ(fisso->dwFileVersionMS, static_cast<DWORD>(MAKELONG(ESMALVIO_VERSION_MINOR, ESMALVIO_VERSION_MAJOR)));
    EXPECT_EQ(fisso->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, ESMALVIO_VERSION_PATCH)));
    // The strings of the language and code page the resource lists.
    WORD* traduzione = nullptr;
    ASSERT_TRUE(
        ::VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&traduzione), &n));
    ASSERT_GE(n, 2 * sizeof(WORD));
    wchar_t blocco[64] = {};
    std::swprintf(blocco, std::size(blocco), L"\\StringFileInfo\\%04x%04x\\", traduzione[0], traduzione[1]);
    const auto Stringa = [&](const wchar_t* nome) {
        wchar_t* testo = nullptr;
        UINT caratteri = 0;
        const std::wstring percorso = blocco + std::wstring(nome);
        if (!::VerQueryValueW(info.data(), percorso.c_str(), reinterpret_cast<void**>(&testo), &caratteri)) {
            return std::wstring();
        }
        return std::wstring(testo);
    };
    const std::string progetto = ESMALVIO_VERSION_TEXT;
    EXPECT_EQ(progetto, "1.0");
    EXPECT_EQ(Stringa(L"FileVersion"), std::wstring(progetto.begin(), progetto.end()));
    EXPECT_EQ(Stringa(L"ProductVersion"), std::wstring(progetto.begin(), progetto.end()));

    const HMODULE modulo = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(modulo, nullptr);
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&::FreeLibrary)> libera(modulo, &::FreeLibrary);
    const HRSRC risorsa = ::FindResourceW(modulo, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(risorsa, nullptr);
    const auto* byte = static_cast<const char*>(::LockResource(::LoadResource(modulo, risorsa)));
    ASSERT_NE(byte, nullptr);
    const std::string manifest(byte, ::SizeofResource(modulo, risorsa));
    // The element that names an assembly or a level, from its "<" to its ">".
    const auto Elemento = [&](const char* testo) {
        const std::size_t dove = manifest.find(testo);
        if (dove == std::string::npos) return std::string();
        const std::size_t inizio = manifest.rfind('<', dove);
        return manifest.substr(inizio, manifest.find('>', dove) - inizio + 1);
    };
    EXPECT_NE(Elemento("\"Microsoft.Windows.Common-Controls\"").find("version=\"6.0.0.0\""), std::string::npos)
        << manifest;
    EXPECT_NE(Elemento("<requestedExecutionLevel").find("level=\"asInvoker\""), std::string::npos) << manifest;
}

}  // namespace
}  // namespace esmalvio::test
