#include "settings/preferences.h"

#include <array>
#include <span>
#include <utility>
#include <vector>

namespace quilmora {
namespace {

// What one key is to hold: a text, or no value at all.
struct Cambio {
    std::wstring_view chiave;
    std::optional<std::wstring> valore;
};

bool Applica(Impostazioni& store, std::wstring_view chiave, const std::optional<std::wstring>& valore) {
    return valore ? store.Scrivi(chiave, *valore) : store.Cancella(chiave);
}

// A zone's keys mean something only together: a new offset under the old place would caption the wrong zone. So
// either every change is made, or those made before the one refused are put back; a key that read as empty was
// absent to the program and is deleted again. False when any change was refused, put back or not.
bool TuttiONessuno(Impostazioni& store, std::span<const Cambio> cambi) {
    std::vector<std::optional<std::wstring>> prima;
    for (const Cambio& cambio : cambi) {
        std::wstring testo = store.Leggi(cambio.chiave);
        prima.push_back(testo.empty() ? std::nullopt : std::optional(std::move(testo)));
    }
    for (std::size_t i = 0; i < cambi.size(); ++i) {
        if (Applica(store, cambi[i].chiave, cambi[i].valore)) continue;
        // Every one is tried, even after a put-back is refused: the less torn, the better.
        for (std::size_t j = i; j-- > 0;) Applica(store, cambi[j].chiave, prima[j]);
        return false;
    }
    return true;
}

}  // namespace

std::optional<std::int32_t> Preferenze::Fuso() const {
    return LeggiFuso(store_.Leggi(kFuso));
}

bool Preferenze::Legale() const {
    return LeggiLegale(store_.Leggi(kLegale));
}

std::wstring Preferenze::Localita() const {
    return store_.Leggi(kLocalita);
}

std::optional<Posizione> Preferenze::Pos() const {
    const std::wstring pos = store_.Leggi(kPos);
    if (pos.empty()) return std::nullopt;
    return LeggiPos(pos);
}

std::optional<std::int16_t> Preferenze::Colore() const {
    return LeggiColore(store_.Leggi(kColore));
}

bool Preferenze::MenuNascosto() const {
    return LeggiMenuNascosto(store_.Leggi(kMenu));
}

bool Preferenze::Predefinite() const {
    // The daylight flag and the place mean nothing without a zone.
    for (const std::wstring_view chiave : {kFuso, kMenu, kPos, kColore}) {
        if (!store_.Leggi(chiave).empty()) return false;
    }
    return true;
}

bool Preferenze::SalvaFuso(std::int32_t offset, std::wstring_view localita, bool legale) {
    const std::array<Cambio, 3> cambi{
        {{kFuso, TestoIntero(offset)}, {kLocalita, std::wstring(localita)}, {kLegale, legale ? L"1" : L"0"}}};
    return TuttiONessuno(store_, cambi);
}

bool Preferenze::CancellaFuso() {
    const std::array<Cambio, 3> cambi{{{kFuso, std::nullopt}, {kLocalita, std::nullopt}, {kLegale, std::nullopt}}};
    return TuttiONessuno(store_, cambi);
}

void Preferenze::SalvaPos(Posizione pos) {
    store_.Scrivi(kPos, ScriviPos(pos));
}

void Preferenze::SalvaColore(std::int16_t colore) {
    store_.Scrivi(kColore, TestoIntero(colore));
}

void Preferenze::SalvaMenuNascosto(bool nascosto) {
    store_.Scrivi(kMenu, nascosto ? L"No" : L"Si");
}

void Preferenze::CancellaTutto() {
    store_.CancellaSezione();
}

}  // namespace quilmora
