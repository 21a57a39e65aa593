#include "settings/autostart.h"

#include <string>

#include "settings/globale.h"
#include "win/handles.h"
#include "win/shared_names.h"

namespace quilmora {
namespace {

// Quoted, so that a folder with blanks cannot make the system start another program.
std::wstring Comando(std::wstring_view cartella) {
    return std::wstring(L"\"").append(cartella).append(L"\\Esmalvio.exe\"");
}

// True only when the Run key or its value is known to be missing. A standard user cannot open the machine's
// Run key for writing even when there is nothing to remove; that is no failure.
bool Assente(HKEY radice) {
    HKEY aperta = nullptr;
    const LSTATUS aperto = ::RegOpenKeyExW(radice, kChiaveRun, 0, KEY_QUERY_VALUE, &aperta);
    if (aperto == ERROR_FILE_NOT_FOUND) return true;
    if (aperto != ERROR_SUCCESS) return false;
    const UniqueKey key(aperta);
    return ::RegQueryValueExW(key.get(), kValoreRun, nullptr, nullptr, nullptr, nullptr) == ERROR_FILE_NOT_FOUND;
}

}  // namespace

bool AvvioAutomatico::Presente() const {
    return !LeggiRegistro(kChiaveRun, kValoreRun, radice_).empty();
}

bool AvvioAutomatico::Scrivi(std::wstring_view cartella) {
    const std::wstring comando = Comando(cartella);
    // Without the rights to change the machine's Run key, only a state already in place is no failure.
    return ScriviRegistro(kChiaveRun, kValoreRun, comando, radice_) ||
           LeggiRegistro(kChiaveRun, kValoreRun, radice_) == comando;
}

bool AvvioAutomatico::Rimuovi() {
    return RimuoviRegistro(kChiaveRun, kValoreRun, radice_) || Assente(radice_);
}

}  // namespace quilmora
