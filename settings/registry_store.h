// The settings store in the per-user registry.
#pragma once

#include <string>
#include <string_view>

#include "settings/settings_store.h"

namespace quilmora {

// The store in the per-user registry: HKEY_CURRENT_USER\<radice>\<app>\<sezione>, one REG_SZ value a key.
// Tests pass another root so they never touch the user's own settings.
class ImpostazioniRegistro final : public Impostazioni {
public:
    explicit ImpostazioniRegistro(std::wstring radice = std::wstring(kRadiceImpostazioni));
    std::wstring LeggiImpostazione(std::wstring_view app, std::wstring_view sezione,
                                   std::wstring_view chiave) const override;
    bool ScriviImpostazione(std::wstring_view app, std::wstring_view sezione, std::wstring_view chiave,
                            std::wstring_view valore) override;
    bool CancellaImpostazione(std::wstring_view app, std::wstring_view sezione, std::wstring_view chiave) override;
    bool CancellaImpostazione(std::wstring_view app, std::wstring_view sezione) override;

private:
    std::wstring radice_;
};

}  // namespace quilmora
