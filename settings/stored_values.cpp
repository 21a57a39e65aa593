#include "settings/stored_values.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quilmora {
namespace {

bool Blank(wchar_t c) {
    return c == L' ' || c == L'\t';
}
bool Digit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

std::wstring_view Trim(std::wstring_view t) {
    while (!t.empty() && Blank(t.front())) t.remove_prefix(1);
    while (!t.empty() && Blank(t.back())) t.remove_suffix(1);
    return t;
}

}  // namespace

std::optional<std::int32_t> LeggiIntero(std::wstring_view testo) {
    std::wstring_view t = Trim(testo);
    bool negative = false;
    if (!t.empty() && (t.front() == L'-' || t.front() == L'+')) {
        negative = t.front() == L'-';
        t.remove_prefix(1);
    }
    if (t.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (wchar_t c : t) {
        if (!Digit(c)) return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

double NumeroIniziale(std::wstring_view testo) {
    std::size_t i = 0;
    while (i < testo.size() && Blank(testo[i])) ++i;
    const bool negative = i < testo.size() && testo[i] == L'-';
    if (i < testo.size() && (testo[i] == L'-' || testo[i] == L'+')) ++i;
    double mantissa = 0;
    long scala = 0;  // the power of ten the mantissa still has to be multiplied by
    std::size_t digits = 0;
    for (; i < testo.size() && Digit(testo[i]); ++i, ++digits) mantissa = mantissa * 10 + (testo[i] - L'0');
    if (i < testo.size() && testo[i] == L'.') {
        for (++i; i < testo.size() && Digit(testo[i]); ++i, ++digits, --scala) {
            mantissa = mantissa * 10 + (testo[i] - L'0');
        }
    }
    if (digits == 0) return 0;
    // An exponent counts only when digits follow it.
    if (i + 1 < testo.size() && (testo[i] == L'e' || testo[i] == L'E')) {
        std::size_t j = i + 1;
        const bool meno = testo[j] == L'-';
        if (testo[j] == L'-' || testo[j] == L'+') ++j;
        long esponente = 0;
        for (; j < testo.size() && Digit(testo[j]); ++j)
            esponente = std::min(esponente * 10 + (testo[j] - L'0'), 100000L);
        scala += meno ? -esponente : esponente;
    }
    // Beyond these powers every double is infinite or zero anyway.
    scala = std::clamp(scala, -800L, 800L);
    for (; scala > 0; --scala) mantissa *= 10;
    for (; scala < 0; ++scala) mantissa /= 10;
    if (!std::isfinite(mantissa)) return 0;
    return negative ? -mantissa : mantissa;
}

std::wstring TestoIntero(long long n) {
    // Built by hand: the library's number formatting would bring a whole printf into a small program.
    const bool negative = n < 0;
    unsigned long long u = negative ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    std::wstring testo;
    do {
        testo.insert(testo.begin(), static_cast<wchar_t>(L'0' + u % 10));
        u /= 10;
    } while (u != 0);
    if (negative) testo.insert(testo.begin(), L'-');
    return testo;
}

Posizione LeggiPos(std::wstring_view testo) {
    const std::size_t comma = testo.find(L',');
    if (comma == std::wstring_view::npos) return {0, NumeroIniziale(testo)};
    return {NumeroIniziale(testo.substr(0, comma + 1)), NumeroIniziale(testo.substr(comma + 1))};
}

std::wstring ScriviPos(Posizione pos) {
    // Window edges are whole twips; anything else was never a window position.
    const auto whole = [](double v) { return TestoIntero(std::llround(std::clamp(v, -1e15, 1e15))); };
    return whole(pos.left) + L"," + whole(pos.top);
}

std::optional<std::int16_t> LeggiColore(std::wstring_view testo) {
    const auto value = LeggiIntero(testo);
    if (!value || *value < 0 || *value > 2) return std::nullopt;
    return static_cast<std::int16_t>(*value);
}

std::optional<std::int32_t> LeggiFuso(std::wstring_view testo) {
    return LeggiIntero(testo);
}

bool LeggiLegale(std::wstring_view testo) {
    return LeggiIntero(testo) == 1;
}

}  // namespace quilmora
