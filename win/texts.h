// The program's texts come from the string table of Esmalvio.rc.
#pragma once

#include <windows.h>

#include <string>

namespace quilmora {

std::wstring Testo(HINSTANCE istanza, UINT id);

// Styles of the program's message boxes, all titled "Esmalvio".
inline constexpr UINT kAvviso = MB_OK | MB_ICONEXCLAMATION;        // 48
inline constexpr UINT kInformazione = MB_OK | MB_ICONINFORMATION;  // 64
inline constexpr UINT kDomanda = MB_YESNO | MB_ICONQUESTION;       // 36

// A modal message box owned by a window of ours, with a text from the window's module.
int Messaggio(HWND proprietario, UINT idTesto, UINT stile);

}  // namespace quilmora
