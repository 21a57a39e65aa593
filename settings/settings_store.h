// The per-user settings store: text values addressed by application, section and key.
#pragma once

#include <string>
#include <string_view>

#include "win/shared_names.h"

namespace quilmora {

// Keys of section "Timer".
inline constexpr std::wstring_view kFuso = L"Fuso";
inline constexpr std::wstring_view kLegale = L"Legale";
inline constexpr std::wstring_view kLocalita = L"Localit\u00e0";
inline constexpr std::wstring_view kPos = L"Pos";
inline constexpr std::wstring_view kColore = L"Colore";
inline constexpr std::wstring_view kMenu = L"Menu";

class Impostazioni {
public:
    virtual ~Impostazioni() = default;
    // The stored text, or "" when the key or the section does not exist.
    virtual std::wstring LeggiImpostazione(std::wstring_view app, std::wstring_view sezione,
                                           std::wstring_view chiave) const = 0;
    // Writes and deletes say whether the store holds what was asked afterwards.
    virtual bool ScriviImpostazione(std::wstring_view app, std::wstring_view sezione, std::wstring_view chiave,
                                    std::wstring_view valore) = 0;
    virtual bool CancellaImpostazione(std::wstring_view app, std::wstring_view sezione, std::wstring_view chiave) = 0;
    // The whole section with every key in it.
    virtual bool CancellaImpostazione(std::wstring_view app, std::wstring_view sezione) = 0;

    // Shorthands for the one section the program uses.
    std::wstring Leggi(std::wstring_view chiave) const { return LeggiImpostazione(kApplicazione, kSezione, chiave); }
    bool Scrivi(std::wstring_view chiave, std::wstring_view valore) {
        return ScriviImpostazione(kApplicazione, kSezione, chiave, valore);
    }
    bool Cancella(std::wstring_view chiave) { return CancellaImpostazione(kApplicazione, kSezione, chiave); }
    bool CancellaSezione() { return CancellaImpostazione(kApplicazione, kSezione); }
};

}  // namespace quilmora
