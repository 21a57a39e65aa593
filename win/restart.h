// Restart Manager ends a program whose files an installation replaces by sending its windows WM_QUERYENDSESSION
// and WM_ENDSESSION with ENDSESSION_CLOSEAPP, and starts again, once the installation is over, those that
// registered for it.
#pragma once

#include <windows.h>

namespace quilmora {

// Takes in WM_QUERYENDSESSION or WM_ENDSESSION. True when the window is to close as on a close request: the
// session goes on, only the program is asked to end for an installation. A logoff or a shutdown gives false.
bool ChiusaPerInstallazione(UINT msg, WPARAM wp, LPARAM lp);

}  // namespace quilmora
