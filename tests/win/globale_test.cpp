// The registry helpers against the real registry, under a root of the test's own in HKEY_CURRENT_USER,
// and the file check against real files.
#include "settings/globale.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/handles.h"

namespace esmalvio {
namespace {

using namespace std::string_view_literals;

UniqueKey CreaChiave(HKEY radice, const std::wstring& percorso, DWORD opzioni = REG_OPTION_NON_VOLATILE) {
    HKEY key = nullptr;
    const LSTATUS stato =
        ::RegCreateKeyExW(radice, percorso.c_str(), 0, nullptr, opzioni, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return UniqueKey(stato == ERROR_SUCCESS ? key : nullptr);
}

class GlobaleRegistroTest : public ::testing::Test {
protected:
    void TearDown() override {
        radice_.reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, percorso_.c_str());
        EXPECT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, percorso_.c_str()), ERROR_FILE_NOT_FOUND);  // nothing left
    }

    void ScriviGrezzo(const wchar_t* nome, DWORD tipo, const void* dati, DWORD byte) {
        ASSERT_EQ(::RegSetValueExW(radice_.get(), nome, 0, tipo, static_cast<const BYTE*>(dati), byte), ERROR_SUCCESS);
    }

    UniqueKey Apri(const std::wstring& chiave) const {
        HKEY key = nullptr;
        const LSTATUS stato = ::RegOpenKeyExW(radice_.get(), chiave.c_str(), 0, KEY_READ, &key);
        return UniqueKey(stato == ERROR_SUCCESS ? key : nullptr);
    }

    const std::wstring percorso_ = L"Software\\EsmalvioTest-" + std::to_wstring(::GetCurrentProcessId());
    UniqueKey radice_ = CreaChiave(HKEY_CURRENT_USER, percorso_);
};

TEST_F(GlobaleRegistroTest, ReadsOnlyTheTextOfAStringValue) {
    ASSERT_TRUE(radice_);
    EXPECT_EQ(LeggiRegistro(L"Manca", L"x", radice_.get()), L"");
    EXPECT_EQ(LeggiRegistro(L"", L"Manca", radice_.get()), L"");

    ScriviGrezzo(L"espanso", REG_EXPAND_SZ, L"C:\\x", 5 * sizeof(wchar_t));
    ScriviGrezzo(L"vuoto", REG_SZ, nullptr, 0);
    ScriviGrezzo(L"nul", REG_SZ, L"", sizeof(wchar_t));
    ScriviGrezzo(L"doppio", REG_SZ, L"abc\0def", 8 * sizeof(wchar_t));
    ScriviGrezzo(L"dispari", REG_SZ, "a\0b", 3);  // 'a' and half a character, no terminator
    EXPECT_EQ(LeggiRegistro(L"", L"espanso", radice_.get()), L"");
    EXPECT_EQ(LeggiRegistro(L"", L"vuoto", radice_.get()), L"");
    EXPECT_EQ(LeggiRegistro(L"", L"nul", radice_.get()), L"");
    EXPECT_EQ(LeggiRegistro(L"", L"doppio", radice_.get()), L"abc");
    EXPECT_EQ(LeggiRegistro(L"", L"dispari", radice_.get()), L"a");
}

TEST_F(GlobaleRegistroTest, WritesTheTextWithItsNulCreatingTheKeys) {
    ASSERT_TRUE(radice_);
    const std::wstring dati = L"C:\\Prog\\Esmalvio.exe";  // 20 characters
    ASSERT_TRUE(ScriviRegistro(kChiaveRun, kValoreRun, dati, radice_.get()));

    const auto run = Apri(std::wstring(kChiaveRun));
    ASSERT_TRUE(run);
    DWORD tipo = 0;
    wchar_t letti[32] = {};
    DWORD byte = sizeof letti;
    ASSERT_EQ(::RegQueryValueExW(run.get(), L"Esmalvio", nullptr, &tipo, reinterpret_cast<BYTE*>(letti), &byte),
              ERROR_SUCCESS);
    EXPECT_EQ(tipo, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(byte, 42u);
    EXPECT_EQ(std::wstring(letti, 21), dati + L'\0');
    EXPECT_EQ(LeggiRegistro(kChiaveRun, kValoreRun, radice_.get()), dati);

    // Not representable in the ANSI code page; a shorter text replaces a longer one whole.
    const std::wstring altrove = L"D:\\\u0393\u0440\u0430\u0434 \u6642\u8a08 Citt\u00e0\\Esmalvio.exe";
    ASSERT_TRUE(ScriviRegistro(kChiaveRun, kValoreRun, altrove, radice_.get()));
    EXPECT_EQ(LeggiRegistro(kChiaveRun, kValoreRun, radice_.get()), altrove);
    ASSERT_TRUE(ScriviRegistro(kChiaveRun, kValoreRun, L"E:\\x", radice_.get()));
    EXPECT_EQ(LeggiRegistro(kChiaveRun, kValoreRun, radice_.get()), L"E:\\x");

    // A name holding a NUL would address a shorter one.
    EXPECT_FALSE(ScriviRegistro(L"A\0B"sv, L"v", L"x", radice_.get()));
    EXPECT_FALSE(Apri(L"A"));
}

TEST_F(GlobaleRegistroTest, RemovalSucceedsWhenTheValueIsGone) {
    ASSERT_TRUE(radice_);
    ASSERT_TRUE(ScriviRegistro(L"Run", L"Esmalvio", L"x", radice_.get()));
    ASSERT_TRUE(ScriviRegistro(L"Run", L"Altro", L"y", radice_.get()));
    EXPECT_TRUE(RimuoviRegistro(L"Run", L"Esmalvio", radice_.get()));
    EXPECT_EQ(LeggiRegistro(L"Run", L"Esmalvio", radice_.get()), L"");
    EXPECT_EQ(LeggiRegistro(L"Run", L"Altro", radice_.get()), L"y");
    EXPECT_TRUE(RimuoviRegistro(L"Run", L"Esmalvio", radice_.get()));
    EXPECT_TRUE(RimuoviRegistro(L"Manca", L"Esmalvio", radice_.get()));
    EXPECT_FALSE(Apri(L"Manca"));
}

TEST_F(GlobaleRegistroTest, FailuresAreReported) {
    ASSERT_TRUE(radice_);
    // A root whose key has been deleted: every call fails, also on Windows.
    auto cancellata = CreaChiave(radice_.get(), L"Cancellata");
    ASSERT_TRUE(cancellata);
    ASSERT_TRUE(ScriviRegistro(L"Run", L"Esmalvio", L"x", cancellata.get()));
    ASSERT_EQ(::RegDeleteTreeW(radice_.get(), L"Cancellata"), ERROR_SUCCESS);
    EXPECT_FALSE(ScriviRegistro(L"Run", L"Esmalvio", L"x", cancellata.get()));
    EXPECT_FALSE(ScriviRegistro(L"", L"Esmalvio", L"x", cancellata.get()));
    EXPECT_FALSE(RimuoviRegistro(L"Run", L"Esmalvio", cancellata.get()));
    EXPECT_FALSE(RimuoviRegistro(L"", L"Esmalvio", cancellata.get()));
    EXPECT_EQ(LeggiRegistro(L"", L"Esmalvio", cancellata.get()), L"");

    // Under a volatile key no lasting key can be created.
    const auto volatile_ = CreaChiave(radice_.get(), L"Volatile", REG_OPTION_VOLATILE);
    ASSERT_TRUE(volatile_);
    EXPECT_FALSE(ScriviRegistro(kChiaveRun, kValoreRun, L"x", volatile_.get()));
    EXPECT_FALSE(Apri(L"Volatile\\SOFTWARE"));
}

TEST(TagliaNulliTest, CutsAtTheFirstNul) {
    EXPECT_EQ(TagliaNulli(L""), L"");
    EXPECT_EQ(TagliaNulli(std::wstring(L"\0abc", 4)), L"");
    EXPECT_EQ(TagliaNulli(std::wstring(L"ab\0cd\0", 6)), L"ab");
    EXPECT_EQ(TagliaNulli(L"Roma"), L"Roma");
}

class EsisteFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1] = {};
        ASSERT_NE(::GetTempPathW(MAX_PATH + 1, temp), 0u);
        cartella_ = temp;
        file_ = cartella_ + L"esmalvio-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
        ASSERT_TRUE(ApriFile(GENERIC_WRITE, CREATE_ALWAYS));
    }
    void TearDown() override { ::DeleteFileW(file_.c_str()); }

    // Shares nothing while open.
    UniqueHandle ApriFile(DWORD accesso, DWORD modo) const {
        const HANDLE file = ::CreateFileW(file_.c_str(), accesso, 0, nullptr, modo, FILE_ATTRIBUTE_NORMAL, nullptr);
        return UniqueHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
    }

    std::wstring cartella_;  // ends with a backslash
    std::wstring file_;
};

TEST_F(EsisteFileTest, OnlyAFileThatOpensForReading) {
    EXPECT_TRUE(EsisteFile(file_));
    EXPECT_FALSE(EsisteFile(cartella_));
    EXPECT_FALSE(EsisteFile(cartella_.substr(0, cartella_.size() - 1)));
    EXPECT_FALSE(EsisteFile(L""));
    EXPECT_FALSE(EsisteFile(cartella_ + L"esmalvio-manca.txt"));
    EXPECT_FALSE(EsisteFile(L"NUL"));
    EXPECT_FALSE(EsisteFile(cartella_ + L"esmalvio-*.txt"));  // would match the file
    EXPECT_FALSE(EsisteFile(file_ + std::wstring(L"\0junk", 5)));

    // Held by someone who shares nothing: it cannot be opened now.
    const auto esclusivo = ApriFile(GENERIC_READ, OPEN_EXISTING);
    ASSERT_TRUE(esclusivo);
    EXPECT_FALSE(EsisteFile(file_));
}

}  // namespace
}  // namespace esmalvio
