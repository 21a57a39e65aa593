#include "settings/registry_store.h"

#include <windows.h>

#include <optional>
#include <utility>

#include "settings/globale.h"

namespace quilmora {
namespace {

// Application and section are one key name each: an empty or compound name would address a parent key,
// and deleting the section would then delete far more than the section.
bool NomeSemplice(std::wstring_view nome) {
    return !nome.empty() && nome.find_first_of(std::wstring_view(L"\\\0", 2)) == std::wstring_view::npos;
}

std::optional<std::wstring> PercorsoSezione(const std::wstring& radice, std::wstring_view app,
                                            std::wstring_view sezione) {
    if (!NomeSemplice(app) || !NomeSemplice(sezione)) return std::nullopt;
    std::wstring percorso = radice;
    if (!percorso.empty()) percorso += L'\\';
    percorso.append(app).append(L"\\").append(sezione);
    return percorso;
}

}  // namespace

ImpostazioniRegistro::ImpostazioniRegistro(std::wstring radice) : radice_(std::move(radice)) {}

std::wstring ImpostazioniRegistro::LeggiImpostazione(std::wstring_view app, std::wstring_view sezione,
                                                     std::wstring_view chiave) const {
    const auto percorso = PercorsoSezione(radice_, app, sezione);
    return percorso ? LeggiRegistro(*percorso, chiave, HKEY_CURRENT_USER) : std::wstring();
}

bool ImpostazioniRegistro::ScriviImpostazione(std::wstring_view app, std::wstring_view sezione,
                                              std::wstring_view chiave, std::wstring_view valore) {
    const auto percorso = PercorsoSezione(radice_, app, sezione);
    return percorso && ScriviRegistro(*percorso, chiave, valore, HKEY_CURRENT_USER);
}

bool ImpostazioniRegistro::CancellaImpostazione(std::wstring_view app, std::wstring_view sezione,
                                                std::wstring_view chiave) {
    const auto percorso = PercorsoSezione(radice_, app, sezione);
    return percorso && RimuoviRegistro(*percorso, chiave, HKEY_CURRENT_USER);
}

bool ImpostazioniRegistro::CancellaImpostazione(std::wstring_view app, std::wstring_view sezione) {
    const auto percorso = PercorsoSezione(radice_, app, sezione);
    if (!percorso) return false;
    // An absent section is already what the caller wants.
    const LSTATUS stato = ::RegDeleteTreeW(HKEY_CURRENT_USER, percorso->c_str());
    return stato == ERROR_SUCCESS || stato == ERROR_FILE_NOT_FOUND;
}

}  // namespace quilmora
