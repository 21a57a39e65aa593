// The stored settings as the program means them: every call reads the store afresh, nothing is kept.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/settings_store.h"
#include "settings/stored_values.h"

namespace quilmora {

class Preferenze {
public:
    explicit Preferenze(Impostazioni& store) noexcept : store_(store) {}

    // Minutes to add to UTC for the chosen zone's standard time; none means local time.
    std::optional<std::int32_t> Fuso() const;
    bool Legale() const;  // one more hour on top of the zone's
    std::wstring Localita() const;
    std::optional<Posizione> Pos() const;        // the window's corner, in twips
    std::optional<std::int16_t> Colore() const;  // 0, 1 or 2
    bool MenuNascosto() const;
    // Nothing is stored that a reset to the defaults would take away.
    bool Predefinite() const;

    // The zone's three keys change together or not at all: true when all three are stored (or deleted); false
    // when one was refused, and then what was changed before it is put back where the store lets it.
    bool SalvaFuso(std::int32_t offset, std::wstring_view localita, bool legale);
    bool CancellaFuso();
    void SalvaPos(Posizione pos);
    void SalvaColore(std::int16_t colore);
    void SalvaMenuNascosto(bool nascosto);
    void CancellaTutto();

private:
    Impostazioni& store_;
};

}  // namespace quilmora
