// Esmalvio Desktop: an always-on-top desktop clock.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "app/application.h"
#include "environment/system_clock.h"
#include "environment/this_copy.h"
#include "settings/autostart.h"
#include "settings/registry_store.h"
#include "win/accessible.h"
#include "win/handles.h"
#include "win/segni.h"
#include "win/shared_names.h"

namespace {

// The change of automatic start that the zone dialog asked an elevated copy for, when the command line's first
// argument names one; anything after it is ignored, a path above all: the copy writes its own file only.
std::optional<bool> CambioAvvio(std::wstring_view riga) {
    const auto inizio = riga.find_first_not_of(L" \t");
    if (inizio == std::wstring_view::npos) return std::nullopt;
    riga.remove_prefix(inizio);
    const std::wstring_view primo = riga.substr(0, riga.find_first_of(L" \t"));
    if (primo == quilmora::kAccendiAvvio) return true;
    if (primo == quilmora::kSpegniAvvio) return false;
    return std::nullopt;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE istanza, HINSTANCE, PWSTR riga, int) {
    quilmora::Segno("wWinMain");
    // Before anything is loaded: DLLs come from System32 only, never from the program's folder, where a copy run
    // from Downloads may find any file beside it. Looked up, as Windows 7 has it only with update KB2533623.
    using Cartelle = BOOL(WINAPI*)(DWORD);
    if (const auto cartelle = reinterpret_cast<Cartelle>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")))) {
        cartelle(LOAD_LIBRARY_SEARCH_SYSTEM32);
    } else {
        ::SetDllDirectoryW(L"");  // at least not the current folder
    }

    // Not a clock: no window, no single-instance rule, no registration of any kind; the machine's keys only,
    // as it may run as another account than the user whose dialog asked. Only for the installed copy: any other
    // file may have been replaced by anybody since an administrator consented.
    if (const auto acceso = CambioAvvio(riga ? riga : L"")) {
        const quilmora::Avvio copia = quilmora::QuestaCopia(istanza);
        if (!quilmora::Installata(copia.programma)) return static_cast<int>(quilmora::kEsitoNonInstallata);
        return static_cast<int>(quilmora::AvvioAutomatico().CambiaMacchina(*acceso, copia.programma));
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
    quilmora::Applicazione app(impostazioni, orologio, avvioAutomatico, quilmora::QuestaCopia(istanza), altraIstanza);
    if (const auto uscita = app.Avvia()) return *uscita;
    return app.Esegui();
}
