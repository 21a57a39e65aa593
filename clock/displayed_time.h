// The time the clock shows: local time, or UTC shifted to the chosen zone.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace quilmora {

struct OraDelGiorno {
    int ore = 0;
    int minuti = 0;
    int secondi = 0;
};

// Local time when no zone is chosen; otherwise UTC plus the zone's offset in minutes, plus an hour with
// daylight saving. Only the time of day survives a shift past midnight, either way.
OraDelGiorno CalcolaOra(OraDelGiorno utc, OraDelGiorno locale, std::optional<std::int32_t> fuso, bool legale);

std::wstring FormattaHhMmSs(OraDelGiorno ora);  // "09:05:03"
std::wstring FormattaHMmSs(OraDelGiorno ora);   // "9:05:03"

// The six digits of the face, hours to seconds.
std::array<std::int16_t, 6> Cifre(OraDelGiorno ora);

// The tick that shows each second shortly after it begins: the timer's interval from a tick that lands `ms` into
// the second, and whether the timer, running at `intervallo` ms (0: not running), must be set again for it.
struct ProssimoTick {
    unsigned intervallo = 0;
    bool reimposta = false;
};
ProssimoTick ProgrammaTick(unsigned ms, unsigned intervallo);

}  // namespace quilmora
