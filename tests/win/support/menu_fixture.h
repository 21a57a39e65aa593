// The clock window driven as the user drives it: items are found on the window's own menu bar by
// their captions, and chosen by the command the bar sends for them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/clock_fixture.h"

namespace esmalvio::test {

inline constexpr std::wstring_view kMenuFile = L"&File";
inline constexpr std::wstring_view kMenuColore = L"&Colore";
inline constexpr std::wstring_view kMenuOpzioni = L"&Opzioni";

inline std::wstring VoceMenu(HMENU menu, int posizione) {
    wchar_t testo[128] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(posizione), testo, static_cast<int>(std::size(testo)), MF_BYPOSITION);
    return testo;
}

// The menu of the bar with that caption; nullptr when the bar is hidden or has no such menu.
inline HMENU MenuDi(HWND finestra, std::wstring_view menu) {
    HMENU barra = ::GetMenu(finestra);
    for (int i = 0; barra && i < ::GetMenuItemCount(barra); ++i) {
        if (VoceMenu(barra, i) == menu) return ::GetSubMenu(barra, i);
    }
    return nullptr;
}

// Command id of an item; 0 when it cannot be reached.
inline UINT IdVoce(HWND finestra, std::wstring_view menu, std::wstring_view voce) {
    HMENU m = MenuDi(finestra, menu);
    for (int i = 0; m && i < ::GetMenuItemCount(m); ++i) {
        if (VoceMenu(m, i) == voce) return ::GetMenuItemID(m, i);
    }
    return 0;
}

class MenuTest : public OrologioTest {
protected:
    void Scegli(std::wstring_view menu, std::wstring_view voce) {
        const UINT id = IdVoce(hwnd(), menu, voce);
        ASSERT_NE(id, 0u) << std::wstring(voce);
        ::SendMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }
    // Chooses an item that shows a message box, answers it, and tells what it showed.
    MessaggioVisto ScegliRispondendo(std::wstring_view menu, std::wstring_view voce, int risposta) {
        Risponditore r(risposta);
        Scegli(menu, voce);
        const auto visto = r.Visto();
        EXPECT_TRUE(visto) << std::wstring(voce);
        return visto.value_or(MessaggioVisto{});
    }
    void NascondiMenu() { ScegliRispondendo(kMenuOpzioni, L"&Nascondi menu", IDOK); }
    // Positions of the checked colour items.
    std::vector<int> Spuntati() const {
        std::vector<int> spuntati;
        HMENU m = MenuDi(hwnd(), kMenuColore);
        for (int i = 0; m && i < ::GetMenuItemCount(m); ++i) {
            if (::GetMenuState(m, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) spuntati.push_back(i);
        }
        return spuntati;
    }
    // Only the test's own calls draw from now on, so what a command draws can be told from a tick.
    void FermaTimer() const { ::KillTimer(hwnd(), Esmalvio::kIdTimer1); }
    RECT Rettangolo() const {
        RECT r{};
        ::GetWindowRect(hwnd(), &r);
        return r;
    }
    // Height of the menu bar as the system draws it, in pixels.
    int AltezzaBarra() const {
        MENUBARINFO mbi{};
        mbi.cbSize = sizeof mbi;
        if (!::GetMenuBarInfo(hwnd(), OBJID_MENU, 0, &mbi)) return 0;
        return mbi.rcBar.bottom - mbi.rcBar.top;
    }
};

}  // namespace esmalvio::test
