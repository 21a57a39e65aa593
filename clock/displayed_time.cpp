#include "clock/displayed_time.h"

#include "settings/stored_values.h"

namespace esmalvio {
namespace {

constexpr std::int64_t kMinutiGiorno = 24 * 60;

std::wstring DueCifre(int n) {
    return {static_cast<wchar_t>(L'0' + n / 10 % 10), static_cast<wchar_t>(L'0' + n % 10)};
}

}  // namespace

bool FusoInVigore(std::wstring_view fuso) {
    return LeggiFuso(fuso).has_value();
}

OraDelGiorno CalcolaOra(OraDelGiorno utc, OraDelGiorno locale, std::wstring_view fuso, std::wstring_view legale) {
    const auto offset = LeggiFuso(fuso);
    if (!offset) return locale;
    const std::int64_t spostamento = std::int64_t{*offset} + (LegaleAttivo(legale) ? 60 : 0);
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

std::array<std::int16_t, 6> Cifre(std::wstring_view hhmmss) {
    std::array<std::int16_t, 6> cifre{};
    constexpr std::array<std::size_t, 6> posizioni{0, 1, 3, 4, 6, 7};
    for (std::size_t k = 0; k < cifre.size(); ++k) {
        const wchar_t c = posizioni[k] < hhmmss.size() ? hhmmss[posizioni[k]] : L'0';
        cifre[k] = static_cast<std::int16_t>(c >= L'0' && c <= L'9' ? c - L'0' : 0);
    }
    return cifre;
}

}  // namespace esmalvio
