// The names by which other programs find this one: the installer's actions, tools/probe and the tests.
// Each is typed here only, so a rename reaches all of them. No <windows.h>: the portable core reads it too.
#pragma once

#include <string>
#include <string_view>

#include "win/resource.h"

namespace quilmora {

// Window classes of the two top-level windows.
inline constexpr const wchar_t* kClasseOrologio = L"Esmalvio";
inline constexpr const wchar_t* kClasseFusi = L"Fusi";

// Held by the copy that runs; a second copy finds it taken and ends.
inline constexpr const wchar_t* kIstanzaUnica = L"Local\\Quilmora.Esmalvio";

// The per-user settings: HKEY_CURRENT_USER\<root>\<application>\<section>.
inline constexpr std::wstring_view kRadiceImpostazioni = L"Software";
inline constexpr std::wstring_view kApplicazione = L"Quilmora";
inline constexpr std::wstring_view kSezione = L"Timer";
inline std::wstring ChiaveImpostazioni() {
    return std::wstring(kRadiceImpostazioni).append(L"\\").append(kApplicazione).append(L"\\").append(kSezione);
}

// Automatic start with Windows: a value of this key under HKEY_LOCAL_MACHINE, or HKEY_CURRENT_USER for a copy
// that is not installed.
inline constexpr const wchar_t* kChiaveRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const wchar_t* kValoreRun = L"Esmalvio";

// The one argument of the copy that the zone dialog starts elevated to switch automatic start on or off: it
// changes the machine's keys and ends, with ERROR_SUCCESS or the registry's error as its exit code.
inline constexpr std::wstring_view kAccendiAvvio = L"/avvio-automatico:acceso";
inline constexpr std::wstring_view kSpegniAvvio = L"/avvio-automatico:spento";
// Its exit code where it is not the installed copy, whatever it was asked: ERROR_UNKNOWN_PRODUCT, "only valid for
// products that are currently installed".
inline constexpr unsigned long kEsitoNonInstallata = 1605;

// Menu commands that tools send to the clock window as WM_COMMAND.
inline constexpr int kComandoFusoOrario = IDM_MNUIMP + MNUIMP_FUSO_ORARIO;

}  // namespace quilmora
