// Drives the installed clock as a user would: it must show its face; then automatic start is ticked and saved
// in the zone dialog, and the dialog is closed, which ends the program.
#include <windows.h>

#include <cstdio>

#include "support/win_test_util.h"
#include "win/shared_names.h"
#include "zones/fusi_dialog.h"

namespace {

using namespace quilmora::test;

int Fallito(const char* perche) {
    std::fprintf(stderr, "%s\n", perche);
    return 1;
}

}  // namespace

int wmain() {
    HWND orologio = Visibile(quilmora::kClasseOrologio);
    if (!orologio) return Fallito("no clock window");
    if (!FacciaIntera(orologio).Intera()) return Fallito("the clock shows no time");

    ::PostMessageW(orologio, WM_COMMAND, quilmora::kComandoFusoOrario, 0);
    HWND fusi = Visibile(quilmora::kClasseFusi);
    if (!fusi) return Fallito("no zone dialog");
    HWND avvio = ::GetDlgItem(fusi, quilmora::Fusi::kCheck2);
    ::SendMessageW(avvio, BM_CLICK, 0, 0);
    if (::SendMessageW(avvio, BM_GETCHECK, 0, 0) != BST_CHECKED) return Fallito("autostart box not ticked");
    Osservatore si([](HWND dlg) { return TestoDi(dlg) == L"Esmalvio"; }, [](HWND dlg) { Premi(dlg, IDYES); });
    ::SendMessageW(::GetDlgItem(fusi, quilmora::Fusi::kCommand1), BM_CLICK, 0, 0);
    if (!si.Ferma()) return Fallito("no question on saving");
    ::PostMessageW(fusi, WM_CLOSE, 0, 0);
    return 0;
}
