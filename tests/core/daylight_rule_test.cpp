#include "zones/daylight_rule.h"

#include <chrono>
#include <limits>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace quilmora {
namespace {

using namespace std::chrono;

// The first day of year `equivalente`, named as in `anno`, where the rule and the calendar's last Sundays differ.
std::string PrimoErrore(int anno, int equivalente) {
    const sys_days inizio{year{equivalente} / March / Sunday[last]}, fine{year{equivalente} / October / Sunday[last]};
    for (sys_days d{year{equivalente} / 1 / 1}; d < sys_days{year{equivalente + 1} / 1 / 1}; d += days{1}) {
        const year_month_day data{d};
        const auto mese = static_cast<unsigned>(data.month()), giorno = static_cast<unsigned>(data.day());
        if (InPeriodoLegale(anno, static_cast<int>(mese), static_cast<int>(giorno)) !=
            (inizio <= d && d < fine ? 1 : 0)) {
            return std::to_string(anno) + '/' + std::to_string(mese) + '/' + std::to_string(giorno);
        }
    }
    return "";
}

// The month rules as well as the change days, for every year a calendar date can have.
TEST(InPeriodoLegale, EveryDayAgreesWithCalendar) {
    for (int anno = 1601; anno <= 9999; ++anno) ASSERT_EQ(PrimoErrore(anno, anno), "");
    // Weekdays repeat every 400 years, so the ends of int behave like a year the calendar can handle.
    constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
    for (const auto& [anno, equivalente] : {std::pair{kMin, kMin % 400 + 400}, {kMax, kMax % 400}, {-1, -1}, {0, 0}}) {
        EXPECT_EQ(PrimoErrore(anno, equivalente), "");
    }
}

}  // namespace
}  // namespace quilmora
