// A DLL planted beside the program under the name of a system DLL: loaded, it leaves "<its path>.caricata".
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE modulo, DWORD perche, LPVOID) {
    if (perche != DLL_PROCESS_ATTACH) return TRUE;
    std::wstring percorso(MAX_PATH, L'\0');
    percorso.resize(::GetModuleFileNameW(modulo, percorso.data(), MAX_PATH));
    const HANDLE traccia = ::CreateFileW((percorso + L".caricata").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (traccia != INVALID_HANDLE_VALUE) ::CloseHandle(traccia);
    return TRUE;
}
