// The program's texts come from the string table of Esmalvio.rc.
#pragma once

#include <windows.h>

#include <string>

namespace quilmora {

std::wstring Testo(HINSTANCE istanza, UINT id);

// Styles of the program's message boxes, all titled "Esmalvio".
inline constexpr UINT kAvviso = MB_OK | MB_ICONEXCLAMATION;        // 48
inline constexpr UINT kInformazione = MB_OK | MB_ICONINFORMATION;  // 64
inline constexpr UINT kDomanda = MB_YESNO | MB_ICONQUESTION;       // 36, acted on only when answered IDYES
inline constexpr UINT kErrore = MB_OK | MB_ICONERROR;              // 16

// A modal message box owned by a window of ours, with a text from the window's module.
int Messaggio(HWND proprietario, UINT idTesto, UINT stile);
// A message box for when no window of ours could be made: a text from `istanza`'s module, then, where Windows has
// words for it, what `errore` means.
int MessaggioSenzaFinestra(HINSTANCE istanza, UINT idTesto, UINT stile, DWORD errore = ERROR_SUCCESS);

}  // namespace quilmora
