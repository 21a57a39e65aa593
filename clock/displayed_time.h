// The time the clock shows: local time, or UTC shifted to the chosen zone.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace esmalvio {

struct OraDelGiorno {
    int ore = 0;
    int minuti = 0;
    int secondi = 0;
};

// The shown time from the stored "Fuso" and "Legale" texts. An empty "Fuso", or one that is not a
// whole number (possible only after outside edits), means local time; "Legale" adds an hour only
// when it is the number 1. Only the time of day survives a shift past midnight.
OraDelGiorno CalcolaOra(OraDelGiorno utc, OraDelGiorno locale, std::wstring_view fuso, std::wstring_view legale);

// True when a zone is in force, that is when CalcolaOra does not show local time.
bool FusoInVigore(std::wstring_view fuso);

std::wstring FormattaHhMmSs(OraDelGiorno ora);  // "09:05:03"
std::wstring FormattaHMmSs(OraDelGiorno ora);   // "9:05:03"

// The six digits of an "hh:mm:ss" text (characters 1, 2, 4, 5, 7, 8).
std::array<std::int16_t, 6> Cifre(std::wstring_view hhmmss);

}  // namespace esmalvio
