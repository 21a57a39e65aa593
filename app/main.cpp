// Esmalvio Desktop: an always-on-top desktop clock.
#include <windows.h>

#include <string>

#include "app/application.h"
#include "environment/system_clock.h"
#include "settings/autostart.h"
#include "settings/registry_store.h"
#include "win/accessible.h"
#include "win/handles.h"
#include "win/shared_names.h"

namespace {

std::wstring CartellaProgramma() {
    std::wstring percorso(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, percorso.data(), static_cast<DWORD>(percorso.size()));
        if (n < percorso.size()) {
            percorso.resize(n);
            break;
        }
        percorso.resize(percorso.size() * 2);
    }
    const auto barra = percorso.find_last_of(L"\\/");
    return barra == std::wstring::npos ? std::wstring{} : percorso.substr(0, barra);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE istanza, HINSTANCE, PWSTR, int) {
    // Before anything is loaded: DLLs come from System32 only, never from the program's folder, where a copy run
    // from Downloads may find any file beside it. Looked up, as Windows 7 has it only with update KB2533623.
    using Cartelle = BOOL(WINAPI*)(DWORD);
    if (const auto cartelle = reinterpret_cast<Cartelle>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")))) {
        cartelle(LOAD_LIBRARY_SEARCH_SYSTEM32);
    } else {
        ::SetDllDirectoryW(L"");  // at least not the current folder
    }

    // Taken once, at the start: a later reload of the clock window never ends the program.
    quilmora::UniqueHandle unico(::CreateMutexW(nullptr, FALSE, quilmora::kIstanzaUnica));
    const DWORD esito = ::GetLastError();
    // A copy started with other rights (as administrator, say) owns a mutex this one may not open.
    const bool altraIstanza = esito == ERROR_ALREADY_EXISTS || esito == ERROR_ACCESS_DENIED;

    // The services the windows use, owned here for the whole run.
    quilmora::ImpostazioniRegistro impostazioni;
    quilmora::OrologioDiSistema orologio;
    quilmora::AvvioAutomatico avvioAutomatico;

    const quilmora::FineCom com;  // after the windows are gone
    quilmora::Applicazione app(impostazioni, orologio, avvioAutomatico, {istanza, CartellaProgramma()}, altraIstanza);
    if (!app.Avvia()) return 0;
    return app.Esegui();
}
