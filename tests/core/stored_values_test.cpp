#include "settings/stored_values.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace esmalvio {
namespace {

TEST(LeggiIntero, WholeNumbers) {
    EXPECT_EQ(LeggiIntero(L"-210"), -210);
    EXPECT_EQ(LeggiIntero(L"0"), 0);
    EXPECT_EQ(LeggiIntero(L"60"), 60);
    EXPECT_EQ(LeggiIntero(L" 60\t"), 60);
    EXPECT_EQ(LeggiIntero(L"+60"), 60);
    EXPECT_EQ(LeggiIntero(L"-0"), 0);
    EXPECT_EQ(LeggiIntero(L"2147483647"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(LeggiIntero(L"-2147483648"), std::numeric_limits<std::int32_t>::min());
}

TEST(LeggiIntero, NotWholeNumbers) {
    for (const wchar_t* testo : {L"", L"  ", L"-", L"+", L"abc", L"60abc", L"6 0", L"1.5", L"1e3", L"--1", L"+-1",
                                 L"2147483648", L"-2147483649", L"99999999999999999999999", L"\uff11"}) {
        EXPECT_EQ(LeggiIntero(testo), std::nullopt) << testo;
    }
}

TEST(NumeroIniziale, LeadingNumber) {
    EXPECT_EQ(NumeroIniziale(L"1740,"), 1740);
    EXPECT_EQ(NumeroIniziale(L"  -1200,300"), -1200);
    EXPECT_EQ(NumeroIniziale(L"2.5x"), 2.5);
    EXPECT_EQ(NumeroIniziale(L".5"), 0.5);
    EXPECT_EQ(NumeroIniziale(L"1e3"), 1000);
    EXPECT_EQ(NumeroIniziale(L"1e"), 1);
    EXPECT_EQ(NumeroIniziale(L"1e+"), 1);
    EXPECT_EQ(NumeroIniziale(L"1e-"), 1);
    EXPECT_EQ(NumeroIniziale(L"abc"), 0);
    EXPECT_EQ(NumeroIniziale(L""), 0);
    EXPECT_EQ(NumeroIniziale(L"-"), 0);
    EXPECT_EQ(NumeroIniziale(L"."), 0);
}

TEST(NumeroIniziale, NeverInfiniteOrNan) {
    for (const wchar_t* testo : {L"1e309", L"-1e309", L"1e99999999999999999999", L"inf", L"nan", L"1e-400"}) {
        EXPECT_TRUE(std::isfinite(NumeroIniziale(testo))) << testo;
    }
    EXPECT_EQ(NumeroIniziale(L"inf"), 0);
}

TEST(LeggiPos, Pairs) {
    const auto pos = [](const wchar_t* testo) {
        const Posizione p = LeggiPos(testo);
        return std::pair{p.left, p.top};
    };
    EXPECT_EQ(pos(L"1740,1770"), std::pair(1740.0, 1770.0));
    EXPECT_EQ(pos(L"-1200,300"), std::pair(-1200.0, 300.0));
    EXPECT_EQ(pos(L"2000"), std::pair(0.0, 2000.0));
    EXPECT_EQ(pos(L"abc,def"), std::pair(0.0, 0.0));
    EXPECT_EQ(pos(L""), std::pair(0.0, 0.0));
    EXPECT_EQ(pos(L"   "), std::pair(0.0, 0.0));
    EXPECT_EQ(pos(L" 10, 20"), std::pair(10.0, 20.0));
    EXPECT_EQ(pos(L","), std::pair(0.0, 0.0));
    EXPECT_EQ(pos(L"1e309,1e309"), std::pair(0.0, 0.0));
}

TEST(ScriviPos, WholeTwips) {
    EXPECT_EQ(ScriviPos({1200, 450}), L"1200,450");
    EXPECT_EQ(ScriviPos({-1200, 300}), L"-1200,300");
    EXPECT_EQ(ScriviPos({0, 0}), L"0,0");
    const Posizione letta = LeggiPos(ScriviPos({-1200, 300}));
    EXPECT_EQ(letta.left, -1200);
    EXPECT_EQ(letta.top, 300);
}

TEST(LeggiColore, OnlyZeroToTwo) {
    EXPECT_EQ(LeggiColore(L"0"), 0);
    EXPECT_EQ(LeggiColore(L"1"), 1);
    EXPECT_EQ(LeggiColore(L"2"), 2);
    for (const wchar_t* testo : {L"", L"-1", L"3", L"65536", L"1.0", L"rosso"}) {
        EXPECT_EQ(LeggiColore(testo), std::nullopt) << testo;
    }
}

TEST(StoredFlags, LegaleAndMenu) {
    EXPECT_TRUE(LegaleAttivo(L"1"));
    EXPECT_TRUE(LegaleAttivo(L" 1 "));
    for (const wchar_t* testo : {L"", L"0", L"-1", L"2", L"1.5", L"si", L"11"}) {
        EXPECT_FALSE(LegaleAttivo(testo)) << testo;
    }

    EXPECT_TRUE(MenuNascosto(L"No"));
    for (const wchar_t* testo : {L"", L"no", L"NO", L"No ", L" No", L"Si", L"Nō"}) {
        EXPECT_FALSE(MenuNascosto(testo)) << testo;
    }

    EXPECT_EQ(LeggiFuso(L"-210"), -210);
    EXPECT_EQ(LeggiFuso(L""), std::nullopt);
    EXPECT_EQ(LeggiFuso(L"abc"), std::nullopt);
}

}  // namespace
}  // namespace esmalvio
