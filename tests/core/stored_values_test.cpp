#include "settings/stored_values.h"

#include <limits>
#include <utility>

#include <gtest/gtest.h>

namespace quilmora {
namespace {

TEST(StoredValues, ReadAndWritten) {
    EXPECT_EQ(LeggiIntero(L"2147483647"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(LeggiIntero(L"-2147483648"), std::numeric_limits<std::int32_t>::min());
    for (const wchar_t* testo : {L"", L" ", L"-", L"+", L"abc", L"60abc", L"6 0", L"1.0", L"1e309", L"0x10", L"--1",
                                 L"si", L"2147483648", L"-2147483649", L"99999999999999999999999", L"\uff11"}) {
        SCOPED_TRACE(testo);
        EXPECT_EQ(LeggiIntero(testo), std::nullopt);
        EXPECT_EQ(LeggiColore(testo), std::nullopt);
        EXPECT_FALSE(LeggiLegale(testo));
    }
    for (const wchar_t* testo : {L"0", L"1", L"2"}) EXPECT_EQ(LeggiColore(testo), testo[0] - L'0');
    for (const wchar_t* testo : {L"-1", L"3", L"65536"}) EXPECT_EQ(LeggiColore(testo), std::nullopt) << testo;
    EXPECT_TRUE(LeggiLegale(L" +1\t"));
    for (const wchar_t* testo : {L"0", L"-1", L"2", L"11"}) EXPECT_FALSE(LeggiLegale(testo)) << testo;

    const auto pos = [](const wchar_t* testo) {
        const Posizione p = LeggiPos(testo);
        return std::pair{p.left, p.top};
    };
    EXPECT_EQ(pos(L"1740,1770"), std::pair(1740.0, 1770.0));
    EXPECT_EQ(pos(L"-1200,300"), std::pair(-1200.0, 300.0));
    EXPECT_EQ(pos(L"2000"), std::pair(0.0, 2000.0));
    EXPECT_EQ(pos(L"abc,def"), std::pair(0.0, 0.0));
    // Each number runs up to the first character that cannot continue it; an overflow reads as 0.
    EXPECT_EQ(pos(L" 2.5x, .5"), std::pair(2.5, 0.5));
    EXPECT_EQ(pos(L"1e309,-1e309"), std::pair(0.0, 0.0));
    EXPECT_EQ(ScriviPos({1200, 450}), L"1200,450");
    EXPECT_EQ(ScriviPos({-1200, 300}), L"-1200,300");

    EXPECT_TRUE(LeggiMenuNascosto(L"No"));
    for (const wchar_t* testo : {L"", L"no", L"NO", L"No ", L" No", L"Si"})
        EXPECT_FALSE(LeggiMenuNascosto(testo)) << testo;
}

}  // namespace
}  // namespace quilmora
