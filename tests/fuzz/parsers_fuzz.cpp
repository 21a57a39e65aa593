// Hand-edited settings reach these readers unchecked: whatever the bytes, they must neither crash nor
// answer outside their range.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "clock/displayed_time.h"
#include "settings/stored_values.h"
#include "zones/daylight_rule.h"
#include "zones/zone_table.h"

namespace {

void Verifica(bool condizione) {
    if (!condizione) std::abort();
}

template <typename T>
T Prendi(const std::uint8_t*& data, std::size_t& size) {
    T v{};
    const std::size_t n = size < sizeof v ? size : sizeof v;
    std::memcpy(&v, data, n);
    data += n;
    size -= n;
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quilmora;
    const auto numeri = Prendi<std::uint64_t>(data, size);
    const auto bias = Prendi<std::int32_t>(data, size);
    const auto anno = Prendi<std::int32_t>(data, size);

    // The rest: two texts of UTF-16 units, split where the first byte says.
    std::wstring testo;
    for (std::size_t i = 0; i + 1 < size; i += 2) testo += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    const std::size_t taglio = testo.empty() ? 0 : (numeri & 0xFFFF) % (testo.size() + 1);
    const std::wstring a = testo.substr(0, taglio);
    const std::wstring b = testo.substr(taglio);

    if (const auto n = LeggiIntero(a)) Verifica(LeggiIntero(std::to_wstring(*n)) == n);
    Verifica(std::isfinite(NumeroIniziale(a)));

    const Posizione p = LeggiPos(a);
    Verifica(std::isfinite(p.left) && std::isfinite(p.top));
    if (std::fabs(p.left) < 1e9 && std::fabs(p.top) < 1e9) {
        const Posizione q = LeggiPos(ScriviPos(p));
        Verifica(q.left == std::round(p.left) && q.top == std::round(p.top));
    }

    if (const auto c = LeggiColore(a)) Verifica(*c >= 0 && *c <= 2);
    Verifica(LeggiMenuNascosto(a) == (a == L"No"));

    if (const auto luogo = LocalitaDaTesto(a)) {
        Verifica(a.size() >= 13 && a.compare(13, luogo->size(), *luogo) == 0);
        Verifica(luogo->find(L',') == std::wstring::npos);
    }

    const SceltaIniziale scelta =
        SceltaFuso(LeggiFuso(a), LeggiLegale(b), bias, static_cast<std::int16_t>(numeri >> 63));
    Verifica(scelta.indice >= -1 && scelta.indice < 30);

    const OraDelGiorno utc{static_cast<int>(numeri % 24), static_cast<int>((numeri >> 8) % 60),
                           static_cast<int>((numeri >> 16) % 60)};
    const OraDelGiorno locale{static_cast<int>((numeri >> 24) % 24), static_cast<int>((numeri >> 32) % 60),
                              static_cast<int>((numeri >> 40) % 60)};
    const OraDelGiorno ora = CalcolaOra(utc, locale, LeggiFuso(a), LeggiLegale(b));
    Verifica(ora.ore >= 0 && ora.ore < 24 && ora.minuti >= 0 && ora.minuti < 60);
    Verifica(ora.secondi == (LeggiFuso(a) ? utc.secondi : locale.secondi));
    Verifica(FormattaHhMmSs(ora).size() == 8);
    for (const std::int16_t cifra : Cifre(ora)) Verifica(cifra >= 0 && cifra <= 9);

    const std::int16_t legale =
        InPeriodoLegale(anno, static_cast<int>(numeri % 12) + 1, static_cast<int>(numeri % 31) + 1);
    Verifica(legale == 0 || legale == 1);
    return 0;
}
