#include "win/elevation.h"

#include <shellapi.h>

#include "win/handles.h"
#include "win/system_dll.h"

namespace quilmora {
namespace {

// Until the process ends: the window underneath is repainted and the rest of the program keeps running.
void AttendiPompando(HANDLE processo) {
    bool esci = false;
    int codice = 0;
    while (::MsgWaitForMultipleObjects(1, &processo, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG msg{};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                esci = true;
                codice = static_cast<int>(msg.wParam);
                continue;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    // The message loop, not this wait, ends the program.
    if (esci) ::PostQuitMessage(codice);
}

}  // namespace

DWORD EseguiComeAmministratore(HWND proprietario, const std::wstring& programma, std::wstring_view argomenti) {
    // Looked up: shell32 is loaded only by those who need it.
    const auto esegui = FunzioneDiSistema<decltype(&::ShellExecuteExW)>(L"shell32.dll", "ShellExecuteExW");
    if (!esegui) return ERROR_PROC_NOT_FOUND;
    const std::wstring parametri(argomenti);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = proprietario;
    info.lpVerb = L"runas";
    info.lpFile = programma.c_str();
    info.lpParameters = parametri.c_str();
    info.nShow = SW_HIDE;
    if (!esegui(&info)) return ::GetLastError();
    if (!info.hProcess) return ERROR_INVALID_HANDLE;
    const UniqueHandle processo(info.hProcess);

    const bool abilitata = proprietario && !::EnableWindow(proprietario, FALSE);
    AttendiPompando(processo.get());
    if (abilitata) ::EnableWindow(proprietario, TRUE);

    DWORD codice = ERROR_INVALID_FUNCTION;
    return ::GetExitCodeProcess(processo.get(), &codice) ? codice : ::GetLastError();
}

}  // namespace quilmora
