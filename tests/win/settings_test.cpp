// The settings helpers and store against the real registry, under a root of the test's own in
// HKEY_CURRENT_USER, and the file check against real files.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <string_view>

#include "settings/globale.h"
#include "settings/registry_store.h"
#include "support/win_test_util.h"
#include "win/handles.h"

namespace quilmora {
namespace {

using namespace std::string_view_literals;

class ImpostazioniRegistroTest : public ::testing::Test {
protected:
    const test::ChiaveProva chiave_{L"EsmalvioTest"};
    const std::wstring radice_ = chiave_.percorso();
    const std::wstring sezione_ = radice_ + L"\\Quilmora\\Timer";
    ImpostazioniRegistro impostazioni_{radice_};
};

TEST_F(ImpostazioniRegistroTest, ReadsOnlyTheTextOfAStringValue) {
    EXPECT_EQ(LeggiRegistro(radice_, L"Manca", HKEY_CURRENT_USER), L"");
    const auto scritto = [&](DWORD tipo, const void* dati, DWORD byte) {
        EXPECT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, radice_.c_str(), L"v", tipo, dati, byte), ERROR_SUCCESS);
        return LeggiRegistro(radice_, L"v", HKEY_CURRENT_USER);
    };
    EXPECT_EQ(scritto(REG_EXPAND_SZ, L"C:\\x", 10), L"");
    EXPECT_EQ(scritto(REG_SZ, nullptr, 0), L"");
    EXPECT_EQ(scritto(REG_SZ, L"", 2), L"");
    EXPECT_EQ(scritto(REG_SZ, L"abc\0def", 16), L"abc");
    EXPECT_EQ(scritto(REG_SZ, "a\0b", 3), L"a");  // half a character, no terminator
}

TEST_F(ImpostazioniRegistroTest, WritesTheTextWithItsNulCreatingTheKeys) {
    const std::wstring chiave = radice_ + L"\\" + std::wstring(kChiaveRun), dati = L"C:\\Prog\\Esmalvio.exe";
    ASSERT_TRUE(ScriviRegistro(chiave, kValoreRun, dati, HKEY_CURRENT_USER));
    EXPECT_EQ(LeggiRegistro(chiave, kValoreRun, HKEY_CURRENT_USER), dati);
    HKEY aperta = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, chiave.c_str(), 0, KEY_READ, &aperta), ERROR_SUCCESS);
    const UniqueKey run(aperta);
    DWORD byte = 0;
    EXPECT_EQ(::RegQueryValueExW(run.get(), kValoreRun, nullptr, nullptr, nullptr, &byte), ERROR_SUCCESS);
    EXPECT_EQ(byte, 42u);  // 20 characters and the NUL
}

TEST_F(ImpostazioniRegistroTest, RemovalAndFailures) {
    ASSERT_TRUE(ScriviRegistro(radice_, L"v", L"x", HKEY_CURRENT_USER));
    EXPECT_TRUE(RimuoviRegistro(radice_, L"v", HKEY_CURRENT_USER));
    EXPECT_EQ(LeggiRegistro(radice_, L"v", HKEY_CURRENT_USER), L"");
    EXPECT_TRUE(RimuoviRegistro(radice_, L"v", HKEY_CURRENT_USER));               // value gone already
    EXPECT_TRUE(RimuoviRegistro(radice_ + L"\\Manca", L"v", HKEY_CURRENT_USER));  // key too

    // A root whose key has been deleted: every call fails, also on Windows.
    HKEY aperta = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, radice_.c_str(), 0, KEY_ALL_ACCESS, &aperta), ERROR_SUCCESS);
    const UniqueKey cancellata(aperta);
    ASSERT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, radice_.c_str()), ERROR_SUCCESS);
    for (const wchar_t* chiave : {L"", L"Run"}) {
        EXPECT_FALSE(ScriviRegistro(chiave, L"v", L"x", cancellata.get())) << chiave;
        EXPECT_FALSE(RimuoviRegistro(chiave, L"v", cancellata.get())) << chiave;
    }
}

TEST_F(ImpostazioniRegistroTest, KeysAreTheSectionsStringValues) {
    EXPECT_EQ(impostazioni_.Leggi(kFuso), L"");  // no section yet
    impostazioni_.Scrivi(kLocalita, L"Città");
    impostazioni_.Scrivi(kFuso, L"330");
    EXPECT_EQ(LeggiRegistro(sezione_, L"Località", HKEY_CURRENT_USER), L"Città");  // REG_SZ, that exact name
    EXPECT_EQ(impostazioni_.Leggi(kColore), L"");                                  // no key
    impostazioni_.Cancella(kFuso);
    impostazioni_.Cancella(kLegale);  // never written
    EXPECT_EQ(impostazioni_.Leggi(kFuso), L"");
    EXPECT_EQ(impostazioni_.Leggi(kLocalita), L"Città");

    // Another type, or text past a NUL, is never taken for the value.
    const DWORD numero = 60;
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, sezione_.c_str(), L"Colore", REG_DWORD, &numero, sizeof numero),
              ERROR_SUCCESS);
    EXPECT_EQ(impostazioni_.Leggi(kColore), L"");
    impostazioni_.Scrivi(kMenu, L"No\0Si"sv);
    EXPECT_EQ(impostazioni_.Leggi(kMenu), L"No");
}

TEST_F(ImpostazioniRegistroTest, DeletingTheSectionRemovesAllOfItAndNothingElse) {
    impostazioni_.Scrivi(kFuso, L"60");
    impostazioni_.Scrivi(kMenu, L"No");
    impostazioni_.ScriviImpostazione(kApplicazione, L"Altra", kPos, L"7");
    ASSERT_TRUE(ScriviRegistro(sezione_ + L"\\Aggiunta", L"x", L"y", HKEY_CURRENT_USER));  // edited in by hand
    impostazioni_.CancellaSezione();
    EXPECT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, sezione_.c_str()), ERROR_FILE_NOT_FOUND);  // nothing of it left

    // A name that is empty or compound never reaches a parent key.
    impostazioni_.CancellaImpostazione(kApplicazione, L"");
    impostazioni_.CancellaImpostazione(L"", kApplicazione);
    EXPECT_EQ(impostazioni_.LeggiImpostazione(kApplicazione, L"Altra", kPos), L"7");
}

TEST(TagliaNulliTest, CutsAtTheFirstNul) {
    EXPECT_EQ(TagliaNulli(std::wstring(L"ab\0cd\0", 6)), L"ab");
    EXPECT_EQ(TagliaNulli(L"Roma"), L"Roma");
}

TEST(EsisteFileTest, OnlyAFileThatOpensForReading) {
    const test::CartellaTemporanea cartella(L"esmalvio-esiste");
    const auto file = cartella / L"esmalvio.txt";
    std::ofstream(file) << "x";
    EXPECT_TRUE(EsisteFile(file.wstring()));
    EXPECT_FALSE(EsisteFile(cartella.percorso().wstring()));
    EXPECT_FALSE(EsisteFile(cartella.percorso().wstring() + L"\\"));
    EXPECT_FALSE(EsisteFile(L""));
    EXPECT_FALSE(EsisteFile((cartella / L"manca.txt").wstring()));
    EXPECT_FALSE(EsisteFile(L"NUL"));
    EXPECT_FALSE(EsisteFile((cartella / L"esmalvio*.txt").wstring()));  // would match the file
}

}  // namespace
}  // namespace quilmora
