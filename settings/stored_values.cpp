#include "settings/stored_values.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace esmalvio {
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
    std::string ascii;
    if (i < testo.size() && (testo[i] == L'-' || testo[i] == L'+')) ascii += static_cast<char>(testo[i++]);
    std::size_t digits = 0;
    while (i < testo.size() && Digit(testo[i])) {
        ascii += static_cast<char>(testo[i++]);
        ++digits;
    }
    if (i < testo.size() && testo[i] == L'.') {
        ascii += '.';
        ++i;
        while (i < testo.size() && Digit(testo[i])) {
            ascii += static_cast<char>(testo[i++]);
            ++digits;
        }
    }
    if (digits == 0) return 0;
    // An exponent counts only when digits follow it.
    if (i + 1 < testo.size() && (testo[i] == L'e' || testo[i] == L'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (testo[j] == L'-' || testo[j] == L'+') exponent += static_cast<char>(testo[j++]);
        if (j < testo.size() && Digit(testo[j])) {
            while (j < testo.size() && Digit(testo[j])) exponent += static_cast<char>(testo[j++]);
            ascii += exponent;
        }
    }
    const double value = std::strtod(ascii.c_str(), nullptr);
    return std::isfinite(value) ? value : 0;
}

Posizione LeggiPos(std::wstring_view testo) {
    const std::size_t comma = testo.find(L',');
    if (comma == std::wstring_view::npos) return {0, NumeroIniziale(testo)};
    return {NumeroIniziale(testo.substr(0, comma + 1)), NumeroIniziale(testo.substr(comma + 1))};
}

std::wstring ScriviPos(Posizione pos) {
    // Window edges are whole twips; anything else was never a window position.
    const auto whole = [](double v) {
        return std::to_wstring(static_cast<long long>(std::llround(std::clamp(v, -1e15, 1e15))));
    };
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

bool LegaleAttivo(std::wstring_view testo) {
    return LeggiIntero(testo) == 1;
}

}  // namespace esmalvio
