// DLLs of Windows that the program needs only now and then, loaded when first needed and from System32 only:
// a DLL of the same name beside the program, or in the current folder, is never run.
#pragma once

#include <windows.h>

namespace quilmora {

// The module, or null. Never freed: window classes, shell threads and accessible objects handed to other
// programs may outlive any one use, and the process ends soon enough.
HMODULE LibreriaDiSistema(const wchar_t* nome);

// A function of a system DLL, or null when the DLL or the function is missing.
template <typename Funzione>
Funzione FunzioneDiSistema(const wchar_t* dll, const char* nome) {
    const HMODULE modulo = LibreriaDiSistema(dll);
    return modulo ? reinterpret_cast<Funzione>(reinterpret_cast<void*>(::GetProcAddress(modulo, nome))) : nullptr;
}

}  // namespace quilmora
