#include "win/restart.h"

#include "win/system_dll.h"

namespace quilmora {

bool ChiusaPerInstallazione(UINT msg, WPARAM wp, LPARAM lp) {
    if ((lp & ENDSESSION_CLOSEAPP) == 0) return false;
    if (msg == WM_QUERYENDSESSION) {
        // Only now, never at start: since Windows 10 1709 a program registered for restart is also started again
        // at sign-in after a reboot, beside the one the Run value starts.
        if (const auto registra = FunzioneDiSistema<decltype(&::RegisterApplicationRestart)>(
                L"kernel32.dll", "RegisterApplicationRestart")) {
            registra(nullptr, RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT);
        }
        return false;
    }
    if (wp) return true;
    // The installation closes nothing after all: no registration outlives it.
    if (const auto togli = FunzioneDiSistema<decltype(&::UnregisterApplicationRestart)>(
            L"kernel32.dll", "UnregisterApplicationRestart")) {
        togli();
    }
    return false;
}

}  // namespace quilmora
