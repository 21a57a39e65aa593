#include "win/elevation.h"

#include <objbase.h>
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

// COM on the calling thread for the shell's call, as ShellExecuteEx asks: apartment-threaded, without OLE1. Ended
// only where this call started it or counted one more use.
class ComPerShell {
public:
    ComPerShell() noexcept {
        const auto inizia = FunzioneDiSistema<decltype(&::CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
        finisci_ = FunzioneDiSistema<decltype(&::CoUninitialize)>(L"ole32.dll", "CoUninitialize");
        const HRESULT esito =
            inizia && finisci_ ? inizia(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE) : E_FAIL;
        if (esito != S_OK && esito != S_FALSE) finisci_ = nullptr;
    }
    ~ComPerShell() {
        if (finisci_) finisci_();
    }
    ComPerShell(const ComPerShell&) = delete;
    ComPerShell& operator=(const ComPerShell&) = delete;

private:
    decltype(&::CoUninitialize) finisci_ = nullptr;
};

// The owner disabled from before the prompt until the end, then enabled with the focus where it was: Windows
// leaves no focus in a window whose focused control was disabled, and Tab and Enter would do nothing.
class Disabilitata {
public:
    explicit Disabilitata(HWND finestra) noexcept : finestra_(finestra) {
        if (!finestra_) return;
        const HWND fuoco = ::GetFocus();
        if (fuoco && (fuoco == finestra_ || ::IsChild(finestra_, fuoco))) fuoco_ = fuoco;
        abilitata_ = !::EnableWindow(finestra_, FALSE);
    }
    ~Disabilitata() {
        if (!abilitata_) return;
        ::EnableWindow(finestra_, TRUE);
        if (fuoco_ && ::IsWindow(fuoco_)) ::SetFocus(fuoco_);
    }
    Disabilitata(const Disabilitata&) = delete;
    Disabilitata& operator=(const Disabilitata&) = delete;

private:
    HWND finestra_;
    HWND fuoco_ = nullptr;
    bool abilitata_ = false;
};

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
    const Disabilitata disabilitata(proprietario);
    const ComPerShell com;
    if (!esegui(&info)) return ::GetLastError();
    if (!info.hProcess) return ERROR_INVALID_HANDLE;
    const UniqueHandle processo(info.hProcess);
    AttendiPompando(processo.get());

    DWORD codice = ERROR_INVALID_FUNCTION;
    return ::GetExitCodeProcess(processo.get(), &codice) ? codice : ::GetLastError();
}

}  // namespace quilmora
