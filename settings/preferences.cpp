#include "settings/preferences.h"

namespace quilmora {

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
    // Each is written even when one before failed: as much of the choice as can be kept.
    const bool fuso = store_.Scrivi(kFuso, TestoIntero(offset));
    const bool luogo = store_.Scrivi(kLocalita, localita);
    const bool legaleScritto = store_.Scrivi(kLegale, legale ? L"1" : L"0");
    return fuso && luogo && legaleScritto;
}

void Preferenze::CancellaFuso() {
    store_.Cancella(kFuso);
    store_.Cancella(kLocalita);
    store_.Cancella(kLegale);
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
