#include "shared/memory_store.h"

namespace quilmora::test {
namespace {

std::wstring Prefisso(std::wstring_view app, std::wstring_view sezione) {
    return std::wstring(app) + L'\x1' + std::wstring(sezione) + L'\x1';
}

}  // namespace

std::wstring ImpostazioniMemoria::LeggiImpostazione(std::wstring_view app, std::wstring_view sezione,
                                                    std::wstring_view chiave) const {
    ++letture;
    const auto it = valori_.find(Prefisso(app, sezione) + std::wstring(chiave));
    return it == valori_.end() ? std::wstring{} : it->second;
}

bool ImpostazioniMemoria::ScriviImpostazione(std::wstring_view app, std::wstring_view sezione, std::wstring_view chiave,
                                             std::wstring_view valore) {
    if (Rifiuta()) return false;
    valori_[Prefisso(app, sezione) + std::wstring(chiave)] = std::wstring(valore);
    return true;
}

bool ImpostazioniMemoria::CancellaImpostazione(std::wstring_view app, std::wstring_view sezione,
                                               std::wstring_view chiave) {
    if (Rifiuta()) return false;
    valori_.erase(Prefisso(app, sezione) + std::wstring(chiave));
    return true;
}

bool ImpostazioniMemoria::CancellaImpostazione(std::wstring_view app, std::wstring_view sezione) {
    const std::wstring p = Prefisso(app, sezione);
    if (Rifiuta()) return false;
    for (auto it = valori_.lower_bound(p); it != valori_.end() && it->first.starts_with(p);) it = valori_.erase(it);
    return true;
}

std::wstring ImpostazioniMemoria::Contenuto() const {
    const std::wstring p = Prefisso(kApplicazione, kSezione);
    std::wstring testo;
    for (auto it = valori_.lower_bound(p); it != valori_.end() && it->first.starts_with(p); ++it) {
        testo += it->first.substr(p.size()) + L"=" + it->second + L"\n";
    }
    return testo;
}

bool ImpostazioniMemoria::SezioneEsiste() const {
    return !Contenuto().empty();
}

}  // namespace quilmora::test
