#include "clock/displayed_time.h"

#include <gtest/gtest.h>

#include <limits>

namespace quilmora {
namespace {

TEST(CalcolaOra, ZoneTimeStaysInTheDayAndTheFaceShowsItsDigits) {
    const OraDelGiorno locale{15, 16, 17};
    const std::tuple<OraDelGiorno, std::optional<std::int32_t>, bool, const wchar_t*> casi[] = {
        {{12, 0, 0}, std::nullopt, true, L"15:16:17"},  // no zone: local time, daylight flag or not
        {{0, 10, 5}, -30, false, L"23:40:05"},          // back across midnight
        {{0, 0, 0}, -720, false, L"12:00:00"},
        {{0, 15, 59}, -60, true, L"00:15:59"},
        {{23, 45, 1}, 720, true, L"12:45:01"},  // forward across midnight
        {{9, 5, 3}, 0, false, L"09:05:03"},
        {{1, 0, 0}, std::numeric_limits<std::int32_t>::min(), false, L"22:52:00"},
        {{1, 0, 0}, std::numeric_limits<std::int32_t>::max(), true, L"04:07:00"},
    };
    for (const auto& [utc, fuso, legale, atteso] : casi) {
        const OraDelGiorno ora = CalcolaOra(utc, locale, fuso, legale);
        const std::wstring testo = FormattaHhMmSs(ora);
        EXPECT_EQ(testo, atteso);
        const auto cifre = Cifre(ora);
        for (std::size_t k = 0; k < cifre.size(); ++k) EXPECT_EQ(cifre[k], testo[k + k / 2] - L'0') << testo;
    }
    EXPECT_EQ(FormattaHMmSs({9, 5, 3}), L"9:05:03");
    EXPECT_EQ(FormattaHMmSs({0, 0, 0}), L"0:00:00");
}

// Each second is drawn about 10 ms after it begins: a tick up to 20 ms late leaves a 1000 ms timer alone, any
// other lands the next one 10 ms into the next second.
TEST(ProgrammaTick, ATickLateOrAfterASetClockLandsTheNextTenMillisecondsIntoTheSecond) {
    const std::tuple<unsigned, unsigned, unsigned, bool> casi[] = {
        {10, 1000, 1000, false},                           // on time
        {0, 1000, 1000, false},  {20, 1000, 1000, false},  // a little late
        {21, 1000, 989, true},                             // past the limit
        {500, 1000, 510, true},  {999, 1000, 11, true},    // at the very end of a second
        {12, 11, 1000, true},                              // the short interval landed: a whole second again
        {5, 0, 1000, true},                                // the timer not running
        {400, 1000, 610, true},                            // just after the clock was set forward
        {3, 610, 1000, true},                              // and set back to a second's start
    };
    for (const auto& [ms, intervallo, atteso, reimposta] : casi) {
        const ProssimoTick tick = ProgrammaTick(ms, intervallo);
        EXPECT_EQ(std::pair(tick.intervallo, tick.reimposta), std::pair(atteso, reimposta)) << ms << " " << intervallo;
    }
}

}  // namespace
}  // namespace quilmora
