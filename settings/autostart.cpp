#include "settings/autostart.h"

#include <string>
#include <vector>

#include "settings/globale.h"
#include "win/handles.h"
#include "win/shared_names.h"

namespace quilmora {
namespace {

// Observed, not documented: a REG_BINARY value named as the Run value, whose first byte is odd while the entry
// is switched off. Absent means on.
constexpr const wchar_t* kChiaveSegni = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// Quoted, so that a folder with blanks cannot make the system start another program.
std::wstring Comando(std::wstring_view programma) {
    return std::wstring(L"\"").append(programma).append(L"\"");
}

// The registry helpers' true, or the error they left.
LSTATUS Esito(bool riuscito) {
    return riuscito ? ERROR_SUCCESS : static_cast<LSTATUS>(::GetLastError());
}

bool Scritto(HKEY radice) {
    return radice && !LeggiRegistro(kChiaveRun, kValoreRun, radice).empty();
}

// Written only where the value holds no text: another copy's, or the installer's, stays.
LSTATUS Scrivi(HKEY radice, std::wstring_view programma) {
    if (Scritto(radice)) return ERROR_SUCCESS;
    return Esito(ScriviRegistro(kChiaveRun, kValoreRun, Comando(programma), radice));
}

LSTATUS Rimuovi(HKEY radice) {
    return Esito(RimuoviRegistro(kChiaveRun, kValoreRun, radice));
}

bool Spento(HKEY radice) {
    if (!radice) return false;
    std::vector<BYTE> segno(16);  // a flag and a FILETIME, as Windows writes it; any length is read whole
    for (int tentativo = 0; tentativo < 2; ++tentativo) {
        auto byte = static_cast<DWORD>(segno.size());
        DWORD tipo = REG_NONE;
        const LSTATUS letto =
            ::RegGetValueW(radice, kChiaveSegni, kValoreRun, RRF_RT_REG_BINARY, &tipo, segno.data(), &byte);
        if (letto == ERROR_MORE_DATA) {
            segno.resize(byte);
            continue;
        }
        return letto == ERROR_SUCCESS && byte > 0 && (segno[0] & 1) != 0;
    }
    return false;
}

// Deleted, never rewritten: Windows writes the marks, a program only takes its own away.
LSTATUS Accendi(HKEY radice) {
    if (!Spento(radice)) return ERROR_SUCCESS;
    return Esito(RimuoviRegistro(kChiaveSegni, kValoreRun, radice));
}

// Whether this process may change a key: a standard user, or an administrator without elevation, opens the
// machine's keys for reading only. A key not there yet counts as writable: creating it will tell.
bool Scrivibile(HKEY radice, const wchar_t* chiave) {
    HKEY aperta = nullptr;
    const LSTATUS aperto = ::RegOpenKeyExW(radice, chiave, 0, KEY_SET_VALUE, &aperta);
    const UniqueKey key(aperta);
    return aperto != ERROR_ACCESS_DENIED;
}

}  // namespace

bool AvvioAutomatico::Attivo() const {
    // The user's mark switches off either value: the machine's is switched off for this user.
    if (Spento(utente_)) return false;
    return (Scritto(macchina_) && !Spento(macchina_)) || Scritto(utente_);
}

bool AvvioAutomatico::DellaMacchina() const {
    return Scritto(macchina_);
}

bool AvvioAutomatico::CambiaLaMacchina(bool acceso) const {
    const bool scritto = Scritto(macchina_);
    return acceso ? !scritto || Spento(macchina_) : scritto;
}

bool AvvioAutomatico::ServeElevazione(bool acceso) const {
    if (!CambiaLaMacchina(acceso)) return false;
    return !Scrivibile(macchina_, kChiaveRun) || (acceso && Spento(macchina_) && !Scrivibile(macchina_, kChiaveSegni));
}

LSTATUS AvvioAutomatico::CambiaUtente(bool acceso) {
    if (acceso) return Accendi(utente_);
    return Scritto(utente_) ? Rimuovi(utente_) : ERROR_SUCCESS;
}

LSTATUS AvvioAutomatico::ScriviUtente(std::wstring_view programma) {
    return Scrivi(utente_, programma);
}

LSTATUS AvvioAutomatico::CambiaMacchina(bool acceso, std::wstring_view programma) {
    if (!acceso) return Rimuovi(macchina_);
    const LSTATUS scritto = Scrivi(macchina_, programma);
    return scritto == ERROR_SUCCESS ? Accendi(macchina_) : scritto;
}

}  // namespace quilmora
