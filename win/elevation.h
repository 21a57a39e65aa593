// Running a program of ours as an administrator, the Windows way: the consent prompt, then its exit code.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quilmora {

// Starts `programma` with `argomenti` through the "runas" verb, the prompt owned by `proprietario`, which is
// disabled meanwhile while its messages keep flowing, and waits for the program to end. Its exit code;
// ERROR_CANCELLED when the user declined; another error when it could not be started.
DWORD EseguiComeAmministratore(HWND proprietario, const std::wstring& programma, std::wstring_view argomenti);

}  // namespace quilmora
