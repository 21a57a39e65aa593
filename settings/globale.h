// Helpers the windows share: the autostart value of the machine registry, cutting texts at a NUL,
// and whether a file can be opened.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quilmora {

// `radice` is the root the key path is under: HKEY_LOCAL_MACHINE in the program; tests pass a key of their own.
// The text of a REG_SZ value up to its first NUL; "" when the key or the value is missing, the value has
// another type, or a call fails.
std::wstring LeggiRegistro(std::wstring_view chiave, std::wstring_view nome, HKEY radice = HKEY_LOCAL_MACHINE);
// Creates the key (and its parents) when missing and stores the text as REG_SZ with its NUL. True when written;
// otherwise GetLastError tells why.
bool ScriviRegistro(std::wstring_view chiave, std::wstring_view nome, std::wstring_view dati,
                    HKEY radice = HKEY_LOCAL_MACHINE);
// True when the value is gone afterwards: deleted, or absent already (also when the key is); otherwise
// GetLastError tells why.
bool RimuoviRegistro(std::wstring_view chiave, std::wstring_view nome, HKEY radice = HKEY_LOCAL_MACHINE);

// The text up to, not including, its first NUL; the whole text when it holds none.
std::wstring TagliaNulli(std::wstring testo);

// True only for a file (not a folder or a device) that can be opened for reading now. Never throws.
bool EsisteFile(std::wstring_view percorso);

}  // namespace quilmora
