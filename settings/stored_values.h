// Reading the texts kept in the settings store, and writing the ones that hold numbers.
// The store may have been edited by hand, so every reader accepts any text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quilmora {

// A whole number as the program writes it ("-210", "0", "60"). Blanks around it and a leading
// "+" are tolerated; anything else (decimals, letters, a value outside 32 bits) is not a number.
std::optional<std::int32_t> LeggiIntero(std::wstring_view testo);

// The number a text starts with, up to the first character that cannot continue it
// ("1740," gives 1740, "abc" gives 0). Leading blanks are skipped; never infinite or NaN.
double NumeroIniziale(std::wstring_view testo);

// Decimal text of a whole number: "-210", "0", "60".
std::wstring TestoIntero(long long n);

// Window corner in twips, as "Pos" holds it: "left,top".
struct Posizione {
    double left = 0;
    double top = 0;
};
Posizione LeggiPos(std::wstring_view testo);
std::wstring ScriviPos(Posizione pos);

// "Colore": the colour index 0, 1 or 2; any other text is no colour.
std::optional<std::int16_t> LeggiColore(std::wstring_view testo);

// "Fuso": the zone offset in minutes, or nothing (local time) when empty or not a whole number.
std::optional<std::int32_t> LeggiFuso(std::wstring_view testo);

// "Legale": one more hour only when the text is the number 1.
bool LeggiLegale(std::wstring_view testo);

// "Menu": the bar is hidden only for exactly "No".
inline bool LeggiMenuNascosto(std::wstring_view testo) {
    return testo == L"No";
}

}  // namespace quilmora
