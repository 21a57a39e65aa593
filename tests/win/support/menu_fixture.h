// The clock window driven through its own menu bar.
#pragma once

#include <array>
#include <vector>

#include "support/clock_fixture.h"

namespace quilmora::test {

// An item by the place of its menu on the bar (File, Colore, Opzioni) and its own place in that menu.
struct Voce {
    int menu, posizione;
};
inline constexpr Voce kInformazioni{0, 0}, kEsci{0, 2}, kRosso{1, 0}, kVerde{1, 1}, kBlu{1, 2}, kFusoOrario{2, 0},
    kNascondiMenu{2, 2}, kSalvaColore{2, 4}, kSalvaPosizione{2, 5}, kPredefinito{2, 7};

class MenuTest : public OrologioTest {
protected:
    // Chooses an item as the menu bar does, answers the boxes it shows in turn and tells what they showed.
    Visti Scegli(Voce voce, const std::vector<int>& risposte = {}) {
        const UINT id = ::GetMenuItemID(::GetSubMenu(::GetMenu(hwnd()), voce.menu), voce.posizione);
        EXPECT_NE(id, static_cast<UINT>(-1)) << voce.menu << "," << voce.posizione;
        return Rispondendo([&] { ::SendMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }, risposte);
    }
    void NascondiMenu() { Scegli(kNascondiMenu, {IDOK}); }
};

}  // namespace quilmora::test
