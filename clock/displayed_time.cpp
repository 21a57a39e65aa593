#include "clock/displayed_time.h"

#include "settings/stored_values.h"

namespace quilmora {
namespace {

constexpr std::int64_t kMinutiGiorno = 24 * 60;

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

}  // namespace quilmora
