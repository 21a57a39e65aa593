#include "clock/displayed_time.h"

#include "settings/stored_values.h"

namespace quilmora {
namespace {

constexpr std::int64_t kMinutiGiorno = 24 * 60;
// Wall-clock seconds change on the second; the tick lands this long after the change, or at most this much later.
constexpr unsigned kRitardoTickMs = 10;
constexpr unsigned kScartoTickMs = 10;

std::int16_t Unita(int n) {
    return static_cast<std::int16_t>(n % 10);
}
std::int16_t Decine(int n) {
    return static_cast<std::int16_t>(n / 10 % 10);
}

std::wstring DueCifre(int n) {
    return {static_cast<wchar_t>(L'0' + Decine(n)), static_cast<wchar_t>(L'0' + Unita(n))};
}

}  // namespace

OraDelGiorno CalcolaOra(OraDelGiorno utc, OraDelGiorno locale, std::optional<std::int32_t> fuso, bool legale) {
    if (!fuso) return locale;
    const std::int64_t spostamento = std::int64_t{*fuso} + (legale ? 60 : 0);
    std::int64_t minuti = (std::int64_t{utc.ore} * 60 + utc.minuti + spostamento) % kMinutiGiorno;
    if (minuti < 0) minuti += kMinutiGiorno;
    return {static_cast<int>(minuti / 60), static_cast<int>(minuti % 60), utc.secondi};
}

std::wstring FormattaHhMmSs(OraDelGiorno ora) {
    return DueCifre(ora.ore) + L":" + DueCifre(ora.minuti) + L":" + DueCifre(ora.secondi);
}

std::wstring FormattaHMmSs(OraDelGiorno ora) {
    return TestoIntero(ora.ore) + L":" + DueCifre(ora.minuti) + L":" + DueCifre(ora.secondi);
}

std::array<std::int16_t, 6> Cifre(OraDelGiorno ora) {
    return {Decine(ora.ore),   Unita(ora.ore),      Decine(ora.minuti),
            Unita(ora.minuti), Decine(ora.secondi), Unita(ora.secondi)};
}

ProssimoTick ProgrammaTick(unsigned ms, unsigned intervallo) {
    // A 1000 ms timer that drifts off the second's start would now and then show a second late or skip one, so it
    // is put back each time it has. While it lands early in the second it is left alone, as setting it is a round
    // trip to the system.
    ms %= 1000;
    const bool inOrario = ms <= kRitardoTickMs + kScartoTickMs;
    const unsigned nuovo = inOrario ? 1000 : 1000 - ms + kRitardoTickMs;
    return {nuovo, !(inOrario && intervallo == 1000)};
}

}  // namespace quilmora
