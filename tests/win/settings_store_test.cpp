// The per-user store against the real registry, under a root of the test's own in HKEY_CURRENT_USER.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/handles.h"
#include "settings/settings_store.h"

namespace esmalvio {
namespace {

class ImpostazioniRegistroTest : public ::testing::Test {
protected:
    void TearDown() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, radice_.c_str());
        EXPECT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, radice_.c_str()), ERROR_FILE_NOT_FOUND);  // nothing left
    }

    // The section's key as the store lays it out, or null when it does not exist.
    UniqueKey Sezione() const {
        HKEY key = nullptr;
        const auto percorso = radice_ + L"\\Quilmora\\Timer";
        return UniqueKey(::RegOpenKeyExW(HKEY_CURRENT_USER, percorso.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS
                             ? key
                             : nullptr);
    }

    void ScriviGrezzo(const wchar_t* nome, DWORD tipo, const void* dati, DWORD byte) {
        impostazioni_.Scrivi(kPos, L"0,0");  // makes the section
        const auto key = Sezione();
        ASSERT_TRUE(key);
        ASSERT_EQ(::RegSetValueExW(key.get(), nome, 0, tipo, static_cast<const BYTE*>(dati), byte), ERROR_SUCCESS);
    }

    const std::wstring radice_ = L"Software\\EsmalvioTest-" + std::to_wstring(::GetCurrentProcessId());
    ImpostazioniRegistro impostazioni_{radice_};
};

TEST_F(ImpostazioniRegistroTest, AbsentSectionOrKeyReadsEmpty) {
    EXPECT_EQ(impostazioni_.Leggi(kFuso), L"");
    EXPECT_FALSE(Sezione());  // reading creates nothing
    impostazioni_.Scrivi(kPos, L"1740,1200");
    EXPECT_EQ(impostazioni_.Leggi(kFuso), L"");
    EXPECT_EQ(impostazioni_.LeggiImpostazione(kApplicazione, L"Altra", kPos), L"");
}

TEST_F(ImpostazioniRegistroTest, WritesOneStringValueUnderTheExactName) {
    impostazioni_.Scrivi(kLocalita, L"Citt\u00e0");
    EXPECT_EQ(impostazioni_.Leggi(kLocalita), L"Citt\u00e0");

    const auto key = Sezione();
    ASSERT_TRUE(key);
    DWORD tipo = 0;
    wchar_t dati[16] = {};
    DWORD byte = sizeof dati;
    ASSERT_EQ(::RegQueryValueExW(key.get(), L"Localit\u00e0", nullptr, &tipo, reinterpret_cast<BYTE*>(dati), &byte),
              ERROR_SUCCESS);
    EXPECT_EQ(tipo, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(byte, 6 * sizeof(wchar_t));
    EXPECT_EQ(std::wstring(dati, 6), std::wstring(L"Citt\u00e0\0", 6));
}

TEST_F(ImpostazioniRegistroTest, OverwriteReplacesTheWholeValue) {
    impostazioni_.Scrivi(kPos, L"-1740,12000");
    impostazioni_.Scrivi(kPos, L"0,5");
    EXPECT_EQ(impostazioni_.Leggi(kPos), L"0,5");
    impostazioni_.Scrivi(kMenu, L"No");
    impostazioni_.Scrivi(kMenu, L"");
    EXPECT_EQ(impostazioni_.Leggi(kMenu), L"");
}

TEST_F(ImpostazioniRegistroTest, DeletingAKeyLeavesTheOthers) {
    impostazioni_.Cancella(kFuso);  // no section yet
    EXPECT_FALSE(Sezione());
    impostazioni_.Scrivi(kFuso, L"330");
    impostazioni_.Scrivi(kColore, L"2");
    impostazioni_.Cancella(kFuso);
    impostazioni_.Cancella(kLegale);  // never written
    EXPECT_EQ(impostazioni_.Leggi(kFuso), L"");
    EXPECT_EQ(impostazioni_.Leggi(kColore), L"2");
}

TEST_F(ImpostazioniRegistroTest, DeletingTheSectionRemovesEveryKeyAndNothingElse) {
    for (const auto chiave : {kFuso, kLegale, kLocalita, kPos, kColore, kMenu}) impostazioni_.Scrivi(chiave, L"1");
    impostazioni_.ScriviImpostazione(kApplicazione, L"Altra", kPos, L"7");
    HKEY aggiunta = nullptr;  // edited in by hand
    ASSERT_EQ(::RegCreateKeyExW(Sezione().get(), L"Aggiunta", 0, nullptr, 0, KEY_READ, nullptr, &aggiunta, nullptr),
              ERROR_SUCCESS);
    const UniqueKey chiusa(aggiunta);

    impostazioni_.CancellaSezione();
    EXPECT_FALSE(Sezione());
    for (const auto chiave : {kFuso, kLegale, kLocalita, kPos, kColore, kMenu})
        EXPECT_EQ(impostazioni_.Leggi(chiave), L"");
    EXPECT_EQ(impostazioni_.LeggiImpostazione(kApplicazione, L"Altra", kPos), L"7");
    impostazioni_.CancellaSezione();  // already gone

    // A name that is empty or compound never reaches a parent key.
    impostazioni_.CancellaImpostazione(kApplicazione, L"");
    impostazioni_.CancellaImpostazione(kApplicazione, L"\\");
    impostazioni_.CancellaImpostazione(L"", L"Quilmora");
    EXPECT_EQ(impostazioni_.LeggiImpostazione(kApplicazione, L"Altra", kPos), L"7");
}

TEST_F(ImpostazioniRegistroTest, OddValuesReadSafely) {
    const DWORD numero = 60;
    ScriviGrezzo(kFuso.data(), REG_DWORD, &numero, sizeof numero);
    EXPECT_EQ(impostazioni_.Leggi(kFuso), L"");
    ScriviGrezzo(kLegale.data(), REG_EXPAND_SZ, L"1", 2 * sizeof(wchar_t));
    EXPECT_EQ(impostazioni_.Leggi(kLegale), L"");

    ScriviGrezzo(kMenu.data(), REG_SZ, L"No\0Si", 6 * sizeof(wchar_t));
    EXPECT_EQ(impostazioni_.Leggi(kMenu), L"No");
    ScriviGrezzo(kColore.data(), REG_SZ, L"12", 3);  // no terminator, odd length
    EXPECT_EQ(impostazioni_.Leggi(kColore), L"1");

    const std::wstring grande(32 * 1024, L'x');  // 64 KiB and half a character
    ScriviGrezzo(kLocalita.data(), REG_SZ, grande.c_str(), static_cast<DWORD>(grande.size() * sizeof(wchar_t) + 1));
    EXPECT_EQ(impostazioni_.Leggi(kLocalita), grande);
}

}  // namespace
}  // namespace esmalvio
