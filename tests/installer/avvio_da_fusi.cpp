// Drives the installed clock as a user would: it must show its face; then automatic start is ticked and saved
// in the zone dialog, and the dialog is closed, which ends the program.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "support/win_test_util.h"
#include "win/shared_names.h"
#include "zones/fusi_dialog.h"

namespace {

using namespace quilmora::test;

HWND Attendi(const wchar_t* classe) {
    HWND h = nullptr;
    AttendiFinche([&] { return (h = ::FindWindowW(classe, nullptr)) != nullptr && ::IsWindowVisible(h); }, 20000);
    return h;
}

int Fallito(const char* perche) {
    std::fprintf(stderr, "%s\n", perche);
    return 1;
}

}  // namespace

int wmain() {
    HWND orologio = Attendi(quilmora::kClasseOrologio);
    if (!orologio) return Fallito("no clock window");
    // The first tick may still be on its way.
    const bool faccia = AttendiFinche([&] {
        const Faccia f = LeggiFaccia(orologio);
        return std::ranges::none_of(f.cifre, [](int c) { return c < 0; });
    });
    if (!faccia) return Fallito("the clock shows no time");

    ::PostMessageW(orologio, WM_COMMAND, quilmora::kComandoFusoOrario, 0);
    HWND fusi = Attendi(quilmora::kClasseFusi);
    if (!fusi) return Fallito("no zone dialog");
    HWND avvio = ::GetDlgItem(fusi, quilmora::Fusi::kCheck2);
    ::SendMessageW(avvio, BM_CLICK, 0, 0);
    if (::SendMessageW(avvio, BM_GETCHECK, 0, 0) != BST_CHECKED) return Fallito("autostart box not ticked");
    {
        Risponditore si(IDYES);
        ::SendMessageW(::GetDlgItem(fusi, quilmora::Fusi::kCommand1), BM_CLICK, 0, 0);
        if (!si.Visto()) return Fallito("no question on saving");
    }
    ::PostMessageW(fusi, WM_CLOSE, 0, 0);
    return 0;
}
