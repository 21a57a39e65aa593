#include "win/system_dll.h"

#include <string>

namespace quilmora {

HMODULE LibreriaDiSistema(const wchar_t* nome) {
    if (const HMODULE modulo = ::LoadLibraryExW(nome, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return modulo;
    // Windows 7 without update KB2533623 knows no search flags: name the file in System32 in full.
    if (::GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    std::wstring percorso(MAX_PATH, L'\0');
    const UINT n = ::GetSystemDirectoryW(percorso.data(), MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    percorso.resize(n);
    percorso.append(L"\\").append(nome);
    return ::LoadLibraryExW(percorso.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace quilmora
