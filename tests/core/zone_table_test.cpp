#include "zones/zone_table.h"

#include "settings/stored_values.h"

#include <cstdint>
#include <cwchar>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace quilmora {
namespace {

TEST(TabellaFusi, TextsOffsetsAndPlaces) {
    // The place kept for each row in brackets. Written here in UTF-8 so a wrong source encoding shows up.
    // clang-format off
    const wchar_t* const atteso[30] = {
        L"(GMT -12.00) [Eniwetok],Kwajalein", L"(GMT -11.00) [Isole Midway],Samoa", L"(GMT -10.00) [Hawaii]",
        L"(GMT -9.00)  [Alaska]", L"(GMT -8.00)  [Costa pacifico USA],(S.Francisco)",
        L"(GMT -7.00)  [Fuso occidentale USA],(Arizona)", L"(GMT -6.00)  [Fuso centale USA],Città del Messico",
        L"(GMT -5.00)  [Fuso orientale USA],Lima,Bogotà", L"(GMT -4.00)  [Costa atlantica USA],Caracas,La Paz",
        L"(GMT -3.30)  [Terranova]", L"(GMT -3.00)  [Brasilia],Buenos Aires,Georgetown",
        L"(GMT -2.00)  [Medio atlantico]", L"(GMT -1.00)  [Azzorre],Is. di Capo Verde",
        L"(GMT +0.00)  [Ora di Greenwich], Londra", L"(GMT +1.00)  [Roma],Berlino,Parigi,Madrid,Vienna,Amsterdam",
        L"(GMT +2.00)  [Atene],Helsinki,Istambul,Europa Orientale", L"(GMT +3.00)  [Mosca],Baghdad",
        L"(GMT +3.30)  [Teheran]", L"(GMT +4.00)  [Abu Dabi],Volgograd,Tblisi", L"(GMT +4.30)  [Kabul]",
        L"(GMT +5.00)  [Islamabad],Karachi", L"(GMT +5.30)  [Delhi],Bombay,Calcutta", L"(GMT +6.00)  [Alma Ata],Acca",
        L"(GMT +7.00)  [Bangkok],Giacarta,Hanoi", L"(GMT +8.00)  [Pechino],Hong Kong,Singapore",
        L"(GMT +9.00)  [Tokio],Osaka,Sapporo,Seul", L"(GMT +9.30)  [Adelaide],Darwin",
        L"(GMT +10.00) [Sydney],Melbourne,Brisbane,Vladivostok", L"(GMT +11.00) [Is. Salomone],Nuova Caledonia",
        L"(GMT +12.00) [Wellington],Aukland"};
    // clang-format on
    const auto& tabella = TabellaFusi();
    for (std::size_t i = 0; i < tabella.size(); ++i) {
        SCOPED_TRACE(i);
        const Zona& z = tabella[i];
        std::wstring testo = atteso[i];
        const std::size_t apre = testo.find(L'['), chiude = testo.find(L']');
        EXPECT_EQ(LocalitaDaTesto(z.testo), testo.substr(apre + 1, chiude - apre - 1));
        EXPECT_EQ(z.testo, testo.erase(chiude, 1).erase(apre, 1));
        // The prefix rebuilt from the offset, padded to 13 characters.
        const std::int32_t minuti = z.offset < 0 ? -z.offset : z.offset;
        wchar_t prefisso[16];
        std::swprintf(prefisso, 16, L"(GMT %lc%d.%02d)", z.offset < 0 ? L'-' : L'+', minuti / 60, minuti % 60);
        EXPECT_EQ(z.testo.substr(0, 13), std::wstring(prefisso).append(13 - std::wcslen(prefisso), L' '));
    }
}

TEST(LocalitaDaTesto, TypedText) {
    // Exactly 13 characters leave nothing at 14; a comma before it leaves no place.
    const std::pair<const wchar_t*, std::optional<std::wstring>> casi[] = {
        {L"", std::nullopt},          {L"(GMT +1.00)  ", std::nullopt},
        {L"(GMT +1.00)  R", L"R"},    {L"(GMT+1.00) ,Roma,Parigi", std::nullopt},
        {L"(GMT +1.00)  ,Roma", L""}, {L"Fuso scelto: Roma e dintorni", L"Roma e dintorni"}};
    for (const auto& [testo, luogo] : casi) EXPECT_EQ(LocalitaDaTesto(testo), luogo) << testo;
}

TEST(SceltaFuso, StartingChoice) {
    const auto scelta = [](const wchar_t* fuso, const wchar_t* legale, std::int32_t bias, std::int16_t inVigore) {
        const SceltaIniziale s = SceltaFuso(LeggiFuso(fuso), LeggiLegale(legale), bias, inVigore);
        return std::pair{s.indice, s.legale};
    };
    // No stored whole-number "Fuso": the system's zone and the rule's box; else that zone and the stored box.
    EXPECT_EQ(scelta(L"", L"", -60, 1), std::pair(14, true));
    EXPECT_EQ(scelta(L"", L"", 210, 0), std::pair(9, false));
    EXPECT_EQ(scelta(L"", L"", -345, 1), std::pair(-1, true));
    EXPECT_EQ(scelta(L"", L"", std::numeric_limits<std::int32_t>::min(), 0), std::pair(-1, false));
    EXPECT_EQ(scelta(L"abc", L"1", -60, 0), std::pair(14, false));
    EXPECT_EQ(scelta(L"-210", L"0", 0, 0), std::pair(9, false));
    EXPECT_EQ(scelta(L"330", L"0", 0, 0), std::pair(21, false));
    EXPECT_EQ(scelta(L"0", L"0", -60, 0), std::pair(13, false));
    EXPECT_EQ(scelta(L"45", L"1", -60, 0), std::pair(-1, true));
    EXPECT_EQ(scelta(L"60", L"0", 0, 1), std::pair(14, false));
    EXPECT_EQ(scelta(L"60", L"1", 0, 0), std::pair(14, true));
}

}  // namespace
}  // namespace quilmora
