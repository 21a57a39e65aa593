#include "zones/daylight_rule.h"

#include <chrono>
#include <limits>
#include <utility>

#include <gtest/gtest.h>

namespace esmalvio {
namespace {

using namespace std::chrono;

year_month_day UltimaDomenicaChrono(int anno, month mese) {
    return year_month_day{sys_days{year{anno} / mese / Sunday[last]}};
}

std::int16_t Atteso(const year_month_day& data) {
    const int anno = static_cast<int>(data.year());
    const sys_days giorno{data};
    return sys_days{UltimaDomenicaChrono(anno, March)} <= giorno &&
                   giorno < sys_days{UltimaDomenicaChrono(anno, October)}
               ? 1
               : 0;
}

TEST(OraLegale, ExampleYears) {
    EXPECT_EQ(OraLegale(1998, 3, 28), 0);
    EXPECT_EQ(OraLegale(1998, 3, 29), 1);
    EXPECT_EQ(OraLegale(1998, 10, 24), 1);
    EXPECT_EQ(OraLegale(1998, 10, 25), 0);

    EXPECT_EQ(OraLegale(1999, 3, 27), 0);
    EXPECT_EQ(OraLegale(1999, 3, 28), 1);
    EXPECT_EQ(OraLegale(1999, 10, 30), 1);
    EXPECT_EQ(OraLegale(1999, 10, 31), 0);

    EXPECT_EQ(OraLegale(2002, 3, 30), 0);
    EXPECT_EQ(OraLegale(2002, 3, 31), 1);
    EXPECT_EQ(OraLegale(2002, 10, 26), 1);
    EXPECT_EQ(OraLegale(2002, 10, 27), 0);
}

TEST(OraLegale, WholeMonths) {
    for (int anno : {1601, 1900, 2000, 2024, 2100, 9999}) {
        for (int giorno = 1; giorno <= 31; ++giorno) {
            for (int mese : {1, 2, 11, 12}) EXPECT_EQ(OraLegale(anno, mese, giorno), 0) << anno << '/' << mese;
            for (int mese : {4, 5, 6, 7, 8, 9}) EXPECT_EQ(OraLegale(anno, mese, giorno), 1) << anno << '/' << mese;
            // Neither period boundary can fall before the 25th.
            if (giorno <= 24) {
                EXPECT_EQ(OraLegale(anno, 3, giorno), 0) << anno;
                EXPECT_EQ(OraLegale(anno, 10, giorno), 1) << anno;
            }
        }
    }
}

TEST(OraLegale, EveryDayAgreesWithCalendar) {
    for (sys_days giorno = sys_days{1970y / January / 1}; giorno <= sys_days{2100y / December / 31};
         giorno += days{1}) {
        const year_month_day data{giorno};
        ASSERT_EQ(OraLegale(static_cast<int>(data.year()), static_cast<int>(static_cast<unsigned>(data.month())),
                            static_cast<int>(static_cast<unsigned>(data.day()))),
                  Atteso(data))
            << static_cast<int>(data.year()) << '-' << static_cast<unsigned>(data.month()) << '-'
            << static_cast<unsigned>(data.day());
    }
}

TEST(OraLegale, BoundariesOfEveryYear) {
    for (int anno = 1601; anno <= 9999; ++anno) {
        const int inizio = static_cast<int>(static_cast<unsigned>(UltimaDomenicaChrono(anno, March).day()));
        const int fine = static_cast<int>(static_cast<unsigned>(UltimaDomenicaChrono(anno, October).day()));
        ASSERT_EQ(OraLegale(anno, 3, inizio - 1), 0) << anno;
        ASSERT_EQ(OraLegale(anno, 3, inizio), 1) << anno;
        ASSERT_EQ(OraLegale(anno, 10, fine - 1), 1) << anno;
        ASSERT_EQ(OraLegale(anno, 10, fine), 0) << anno;
    }
}

TEST(OraLegale, AnyYearIsSafe) {
    // Gregorian weekdays repeat every 400 years, so the extremes of int behave like a year chrono can handle.
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    const std::pair<int, int> anni[] = {
        {kMin, kMin % 400 + 400}, {kMax, kMax % 400}, {-32767, -32767}, {-1, -1}, {0, 0}, {32767, 32767}};
    for (const auto& [anno, equivalente] : anni) {
        for (int mese : {3, 10}) {
            for (unsigned giorno = 24; giorno <= 31; ++giorno) {
                const year_month_day data{year{equivalente}, month{static_cast<unsigned>(mese)}, day{giorno}};
                EXPECT_EQ(OraLegale(anno, mese, static_cast<int>(giorno)), Atteso(data)) << anno << '/' << mese;
            }
        }
    }
}

}  // namespace
}  // namespace esmalvio
