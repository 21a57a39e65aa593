#include "zones/zone_table.h"

#include <cstdint>
#include <limits>
#include <set>
#include <string>

#include <gtest/gtest.h>

namespace esmalvio {
namespace {

TEST(TabellaFusi, OffsetsAreUniqueWholeHalfHoursInRange) {
    const auto& tabella = TabellaFusi();
    ASSERT_EQ(tabella.size(), 30u);
    std::set<std::int32_t> visti;
    for (const Zona& z : tabella) {
        EXPECT_EQ(z.offset % 30, 0) << z.offset;
        EXPECT_GE(z.offset, -720);
        EXPECT_LE(z.offset, 720);
        EXPECT_TRUE(visti.insert(z.offset).second) << z.offset;
    }
    EXPECT_EQ(tabella.front().offset, -720);
    EXPECT_EQ(tabella.back().offset, 720);
}

TEST(TabellaFusi, PrefixMatchesOffset) {
    for (const Zona& z : TabellaFusi()) {
        // "(GMT ", sign, hours without a leading zero, ".", two-digit minutes, ")", blanks up to 13 characters.
        const std::int32_t minuti = z.offset < 0 ? -z.offset : z.offset;
        std::wstring prefisso = std::wstring(L"(GMT ") + (z.offset < 0 ? L'-' : L'+') + std::to_wstring(minuti / 60) +
                                L'.' + (minuti % 60 < 10 ? L"0" : L"") + std::to_wstring(minuti % 60) + L')';
        prefisso.resize(13, L' ');
        EXPECT_EQ(z.testo.substr(0, 13), prefisso);
        EXPECT_NE(z.testo[13], L' ') << z.offset;
    }
}

TEST(TabellaFusi, AccentsAndBlanks) {
    const auto& tabella = TabellaFusi();
    // Written here in UTF-8 so a wrong source encoding on either side shows up.
    EXPECT_EQ(tabella[6].testo, L"(GMT -6.00)  Fuso centale USA,Città del Messico");
    EXPECT_EQ(tabella[7].testo, L"(GMT -5.00)  Fuso orientale USA,Lima,Bogotà");
    EXPECT_EQ(tabella[6].testo.find(L'\u00e0'), 34u);
    for (std::size_t i = 0; i < tabella.size(); ++i) {
        EXPECT_EQ(tabella[i].testo.find(L", ") != std::wstring_view::npos, i == 13) << i;
    }
}

TEST(TabellaFusi, PlaceNameOfEveryRow) {
    // clang-format off
    const wchar_t* const atteso[30] = {
        L"Eniwetok", L"Isole Midway", L"Hawaii", L"Alaska", L"Costa pacifico USA", L"Fuso occidentale USA",
        L"Fuso centale USA", L"Fuso orientale USA", L"Costa atlantica USA", L"Terranova", L"Brasilia",
        L"Medio atlantico", L"Azzorre", L"Ora di Greenwich", L"Roma", L"Atene", L"Mosca", L"Teheran", L"Abu Dabi",
        L"Kabul", L"Islamabad", L"Delhi", L"Alma Ata", L"Bangkok", L"Pechino", L"Tokio", L"Adelaide", L"Sydney",
        L"Is. Salomone", L"Wellington"};
    // clang-format on
    for (std::size_t i = 0; i < 30; ++i) EXPECT_EQ(LocalitaDaTesto(TabellaFusi()[i].testo), atteso[i]) << i;
}

TEST(LocalitaDaTesto, TypedText) {
    EXPECT_EQ(LocalitaDaTesto(L""), std::nullopt);
    EXPECT_EQ(LocalitaDaTesto(L"(GMT +1.00)"), std::nullopt);
    EXPECT_EQ(LocalitaDaTesto(L"(GMT +1.00)  "), std::nullopt);  // 13 characters: nothing at 14
    EXPECT_EQ(LocalitaDaTesto(L"(GMT +1.00)  R"), L"R");
    EXPECT_EQ(LocalitaDaTesto(L"Roma, Berlino e Parigi"), std::nullopt);
    EXPECT_EQ(LocalitaDaTesto(L"(GMT+1.00) ,Roma,Parigi"), std::nullopt);
    EXPECT_EQ(LocalitaDaTesto(L"(GMT +1.00)  ,Roma"), L"");
    EXPECT_EQ(LocalitaDaTesto(L"(GMT +1.00)  Roma,"), L"Roma");
    EXPECT_EQ(LocalitaDaTesto(L"(GMT +1.00)  Roma e dintorni"), L"Roma e dintorni");
    EXPECT_EQ(LocalitaDaTesto(L"Fuso scelto: Roma e dintorni"), L"Roma e dintorni");
}

TEST(SceltaFuso, LocalTimeFollowsSystemBias) {
    // Nothing stored: the zone comes from the system, the box from the daylight rule alone.
    EXPECT_EQ(SceltaFuso(L"", L"", -60, 1).indice, 14);
    EXPECT_TRUE(SceltaFuso(L"", L"", -60, 1).legale);
    EXPECT_FALSE(SceltaFuso(L"", L"", -60, 0).legale);
    EXPECT_FALSE(SceltaFuso(L"", L"1", -60, 0).legale);
    EXPECT_EQ(SceltaFuso(L"", L"", 210, 0).indice, 9);
    EXPECT_EQ(SceltaFuso(L"", L"", 0, 0).indice, 13);
    EXPECT_EQ(SceltaFuso(L"", L"", -720, 0).indice, 29);
    EXPECT_EQ(SceltaFuso(L"", L"", 720, 0).indice, 0);

    const SceltaIniziale ignoto = SceltaFuso(L"", L"", -345, 1);
    EXPECT_EQ(ignoto.indice, -1);
    EXPECT_TRUE(ignoto.legale);

    EXPECT_EQ(SceltaFuso(L"", L"", std::numeric_limits<std::int32_t>::min(), 0).indice, -1);
    EXPECT_EQ(SceltaFuso(L"", L"", std::numeric_limits<std::int32_t>::max(), 0).indice, -1);
}

TEST(SceltaFuso, TextsThatAreNotANumberMeanLocalTime) {
    for (const wchar_t* fuso : {L"", L"   ", L"abc", L"60abc", L"1.5", L"-", L"99999999999"}) {
        const SceltaIniziale s = SceltaFuso(fuso, L"1", -60, 0);
        EXPECT_EQ(s.indice, 14) << fuso;
        EXPECT_FALSE(s.legale) << fuso;
    }
}

TEST(SceltaFuso, StoredZone) {
    EXPECT_EQ(SceltaFuso(L"-210", L"0", 0, 0).indice, 9);
    EXPECT_EQ(SceltaFuso(L"330", L"0", 0, 0).indice, 21);
    EXPECT_EQ(SceltaFuso(L"0", L"0", -60, 0).indice, 13);
    EXPECT_EQ(SceltaFuso(L"-720", L"0", 0, 0).indice, 0);
    EXPECT_EQ(SceltaFuso(L"720", L"0", 0, 0).indice, 29);

    const SceltaIniziale estate = SceltaFuso(L"60", L"0", 0, 1);
    EXPECT_EQ(estate.indice, 14);
    EXPECT_FALSE(estate.legale);

    const SceltaIniziale inverno = SceltaFuso(L"60", L"1", 0, 0);
    EXPECT_EQ(inverno.indice, 14);
    EXPECT_TRUE(inverno.legale);

    // An offset not in the list selects nothing, but the stored flag still counts.
    const SceltaIniziale ignoto = SceltaFuso(L"45", L"1", -60, 0);
    EXPECT_EQ(ignoto.indice, -1);
    EXPECT_TRUE(ignoto.legale);

    EXPECT_FALSE(SceltaFuso(L"60", L"", 0, 1).legale);
    EXPECT_FALSE(SceltaFuso(L"60", L"si", 0, 1).legale);
}

}  // namespace
}  // namespace esmalvio
