// Stand-in for the sibling program: records how it was started in "vesko-args.txt" beside itself
// (first line the whole command line, second line the show state, -1 when none was given).
#include <windows.h>

#include <string>

#include "win/handles.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring cartella(MAX_PATH, L'\0');
    const DWORD n = ::GetModuleFileNameW(nullptr, cartella.data(), static_cast<DWORD>(cartella.size()));
    cartella.resize(n);
    cartella.resize(cartella.find_last_of(L'\\') + 1);

    STARTUPINFOW si{};
    si.cb = sizeof si;
    ::GetStartupInfoW(&si);
    const int stato = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1;
    const std::wstring testo = std::wstring(::GetCommandLineW()) + L"\n" + std::to_wstring(stato);

    // Written aside and renamed, so a reader never sees half of it.
    const std::wstring provvisorio = cartella + L"vesko-args.tmp";
    {
        HANDLE h = ::CreateFileW(provvisorio.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
        if (h == INVALID_HANDLE_VALUE) return 1;
        quilmora::UniqueHandle file(h);
        DWORD scritti = 0;
        ::WriteFile(file.get(), testo.data(), static_cast<DWORD>(testo.size() * sizeof(wchar_t)), &scritti, nullptr);
    }
    return ::MoveFileExW(provvisorio.c_str(), (cartella + L"vesko-args.txt").c_str(), MOVEFILE_REPLACE_EXISTING) ? 0
                                                                                                                 : 1;
}
