// Settings kept in memory, for tests that must not touch the registry.
#pragma once

#include <map>
#include <set>
#include <string>

#include "settings/settings_store.h"

namespace quilmora::test {

class ImpostazioniMemoria final : public Impostazioni {
public:
    std::wstring LeggiImpostazione(std::wstring_view app, std::wstring_view sezione,
                                   std::wstring_view chiave) const override;
    bool ScriviImpostazione(std::wstring_view app, std::wstring_view sezione, std::wstring_view chiave,
                            std::wstring_view valore) override;
    bool CancellaImpostazione(std::wstring_view app, std::wstring_view sezione, std::wstring_view chiave) override;
    bool CancellaImpostazione(std::wstring_view app, std::wstring_view sezione) override;

    // Every key of section "Timer" of "Quilmora", as "key=value" lines in key order.
    std::wstring Contenuto() const;
    bool SezioneEsiste() const;
    mutable int letture = 0;
    int scritture = 0;
    bool rifiuta = false;     // every write and delete fails, as in a registry that refuses them
    std::set<int> rifiutate;  // the writes and deletes that fail, by their count in `scritture`

private:
    bool Rifiuta() { return rifiutate.contains(++scritture) || rifiuta; }

    using Chiave = std::wstring;  // app \x1 section \x1 key
    std::map<Chiave, std::wstring> valori_;
};

}  // namespace quilmora::test
