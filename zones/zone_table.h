// The fixed list of time zones offered by the zone dialog, and the dialog's starting choice.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quilmora {

// One item of the list: the text shown, and the minutes to add to UTC for the zone's standard time.
struct Zona {
    std::wstring_view testo;
    std::int32_t offset;
};

// In list order; each offset appears once.
const std::array<Zona, 30>& TabellaFusi();

// The place kept as "Località": from character 14 (after the "(GMT +h.mm)" prefix and its blanks) up to the
// first comma, or to the end. Nothing when the text is too short or a comma comes earlier.
std::optional<std::wstring> LocalitaDaTesto(std::wstring_view testo);

// How the zone dialog opens: the selected item (-1 for none) and whether the daylight box is ticked.
struct SceltaIniziale {
    int indice = -1;
    bool legale = false;
};

// fuso, legale: the stored zone offset (none: local time) and daylight flag.
// bias: the system's standard-time difference, UTC = local standard time + bias (minutes).
// inVigore: the daylight rule for today; it matters only when no zone is stored.
SceltaIniziale SceltaFuso(std::optional<std::int32_t> fuso, bool legale, std::int32_t bias, std::int16_t inVigore);

}  // namespace quilmora
