// Mouse clicks on the clock face: a digit or colon cell brings a hidden menu bar back.
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

#include "support/menu_fixture.h"

namespace quilmora::test {
namespace {

// Presses and releases the left button at a point of a window's client area, and lets the window handle both.
void Clicca(HWND finestra, POINT p) {
    ::PostMessageW(finestra, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    ::PostMessageW(finestra, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    Assesta(finestra);
}

TEST_F(MenuTest, EachCellBringsTheHiddenBarBackOnceAndOtherClicksDoNothing) {
    Carica();
    const auto mostrato = Rettangolo(hwnd());
    const POINT sfondo[] = {{1, 15}, {60, 1}, {60, 33}, {126, 15}};  // left, top, bottom and right margins
    for (const RECT& cella : Celle(hwnd())) {                        // the six digits and the two colons
        NascondiMenu();
        const auto nascosto = Rettangolo(hwnd());
        for (const POINT& p : sfondo) Clicca(hwnd(), p);
        EXPECT_EQ(std::pair(::GetMenu(hwnd()), Rettangolo(hwnd())), std::pair(HMENU{}, nascosto));
        Clicca(hwnd(), {cella.left + 3, cella.top + 3});
        EXPECT_EQ(std::tuple(::GetMenu(hwnd()) != nullptr, Rettangolo(hwnd()), store.Contenuto()),
                  std::tuple(true, mostrato, std::wstring(L"Menu=Si\n")));
        // With the bar shown, neither the cell nor the background changes anything.
        const int scritture = store.scritture;
        Clicca(hwnd(), {cella.left + 3, cella.top + 3});
        for (const POINT& p : sfondo) Clicca(hwnd(), p);
        EXPECT_EQ(std::pair(store.scritture, Rettangolo(hwnd())), std::pair(scritture, mostrato));
    }
}

TEST_F(MenuTest, BarHiddenAtStartUpComesBackOnTheFirstClickAndThenClicksWriteNothing) {
    store.Scrivi(kMenu, L"No");
    Carica();
    const auto nascosto = Rettangolo(hwnd());
    Clicca(hwnd(), {Celle(hwnd())[0].left + 3, Celle(hwnd())[0].top + 3});
    ASSERT_NE(::GetMenu(hwnd()), nullptr);
    const auto dopo = Rettangolo(hwnd());
    EXPECT_EQ((std::array{dopo[0], dopo[2], dopo[3]}), (std::array{nascosto[0], nascosto[2], nascosto[3]}));
    EXPECT_EQ(store.Contenuto(), L"Menu=Si\n");
    // "Si" is a stored setting like any other: back to defaults asks first, and leaves nothing for clicks to add to.
    EXPECT_EQ(std::get<1>(Scegli(kPredefinito, {IDYES}).at(0)), static_cast<UINT>(MB_ICONQUESTION));
    for (const RECT& cella : Celle(hwnd())) Clicca(hwnd(), {cella.left + 3, cella.top + 3});
    EXPECT_FALSE(store.SezioneEsiste());
}

// Run by own_prefix.sh where the caption buttons of Windows 10 fill the clock's whole title bar; skipped elsewhere.
class TrascinaTest : public MenuTest {
protected:
    // The pointer moved and pressed for real on the display, as xdotool's words say, starting at point `p` of the
    // face; the window handles it all while the test waits for `fatto`.
    bool Mouse(POINT p, const std::wstring& poi, const std::function<bool()>& fatto) {
        ::ClientToScreen(hwnd(), &p);
        const std::wstring da = std::to_wstring(p.x) + L" " + std::to_wstring(p.y);
        return AvviaLinux(L"/usr/bin/xdotool mousemove " + da + L" " + poi) && AttendiFinche(fatto, 10000);
    }
};

TEST_F(TrascinaTest, AFaceDraggedMovesTheWindowStoringNothingAndAClickStillBringsTheBarBack) {
    if (::GetSystemMetrics(SM_CXSIZE) != 46) GTEST_SKIP() << "not with the caption buttons of Windows 10";
    store.Scrivi(kMenu, L"No");
    Carica();
    const auto prima = Rettangolo(hwnd());
    const int scritture = store.scritture;
    // From Num2's middle, in steps as a hand moves, paced so that each reaches the window before the next. The
    // move follows the pointer from where the drag was told from a click: by the last step at least.
    const auto spostato = [&] {
        const long dx = Rettangolo(hwnd())[0] - prima[0], dy = Rettangolo(hwnd())[1] - prima[1];
        return dx >= 40 && dx <= 60 && dy >= 30 && dy <= 40;
    };
    // Held still, the face goes on ticking.
    const bool acceso = FacciaOra().puntiAccesi;
    EXPECT_TRUE(Mouse({32, 17}, L"mousedown 1", [&] { return LeggiFaccia(hwnd()).puntiAccesi != acceso; }));
    EXPECT_TRUE(AvviaLinux(L"/usr/bin/xdotool mousemove_relative 20 10 sleep 0.3 mousemove_relative 40 30 sleep 0.3 "
                           L"mouseup 1") &&
                AttendiFinche(spostato, 10000))
        << Rettangolo(hwnd())[0] - prima[0] << "," << Rettangolo(hwnd())[1] - prima[1];
    EXPECT_EQ(std::tuple(::GetMenu(hwnd()), store.scritture, Rettangolo(hwnd())[2] - Rettangolo(hwnd())[0]),
              std::tuple(HMENU{}, scritture, prima[2] - prima[0]));
    EXPECT_TRUE(Mouse({32, 17}, L"click 1", [&] { return ::GetMenu(hwnd()) != nullptr; }));
    EXPECT_EQ(store.Contenuto(), L"Menu=Si\n");
}

enum class Menu { nessuno, barra, finestra };  // nothing open, menu mode on the bar, the system menu's popup

// On this thread, while keys are pressed: the last key's release taken from the queue, and what menu is up once
// a menu's loop has handled every key and waits (it then tells the owner it is idle).
WORD ultimoTasto = 0;
bool ultimoPreso = false;
std::optional<Menu> aperto;
LRESULT CALLBACK Preso(int codice, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<const MSG*>(lp);
    if (codice == HC_ACTION && (m->message == WM_KEYUP || m->message == WM_SYSKEYUP) && m->wParam == ultimoTasto)
        ultimoPreso = true;
    return ::CallNextHookEx(nullptr, codice, wp, lp);
}
LRESULT CALLBACK Spedito(int codice, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (codice == HC_ACTION && m->message == WM_ENTERIDLE && m->wParam == MSGF_MENU && ultimoPreso && !aperto) {
        const auto popup = FinestreDi(L"#32768", ::GetCurrentProcessId());
        aperto = std::ranges::any_of(popup, ::IsWindowVisible) ? Menu::finestra : Menu::barra;
        ::SendMessageW(m->hwnd, WM_CANCELMODE, 0, 0);
    }
    return ::CallNextHookEx(nullptr, codice, wp, lp);
}

// Presses `tasti` for real and tells which menu came up, closing it again.
Menu Premendo(HWND finestra, std::initializer_list<std::pair<WORD, bool>> tasti) {
    ::SetForegroundWindow(finestra);
    ::SetFocus(finestra);
    EXPECT_TRUE(AttendiFinche([&] { return ::GetFocus() == finestra; }));
    std::vector<INPUT> eventi;
    for (const auto& [tasto, giu] : tasti) {
        INPUT e{};
        e.type = INPUT_KEYBOARD;
        e.ki.wVk = tasto;
        e.ki.dwFlags = giu ? 0 : KEYEVENTF_KEYUP;
        eventi.push_back(e);
    }
    ultimoTasto = eventi.back().ki.wVk;
    ultimoPreso = false;
    aperto.reset();
    const HHOOK presi = ::SetWindowsHookExW(WH_GETMESSAGE, Preso, nullptr, ::GetCurrentThreadId());
    const HHOOK spediti = ::SetWindowsHookExW(WH_CALLWNDPROC, Spedito, nullptr, ::GetCurrentThreadId());
    ::SendInput(static_cast<UINT>(eventi.size()), eventi.data(), sizeof(INPUT));
    // A menu's loop runs inside the handling of a key: once the last key has been handled here, it is over.
    EXPECT_TRUE(AttendiFinche([] { return aperto || ultimoPreso; }));
    Assesta(finestra);
    ::UnhookWindowsHookEx(presi);
    ::UnhookWindowsHookEx(spediti);
    return aperto.value_or(Menu::nessuno);
}

// With the bar hidden, F10 or Alt alone brings it back as a click does and opens nothing; with the bar shown they
// open it as ever. Alt+Space opens the system menu either way.
TEST_F(MenuTest, TheMenuKeyBringsAHiddenBarBackAsAClickDoesAndAltSpaceOpensTheSystemMenu) {
    Carica();
    const auto mostrato = Rettangolo(hwnd());
    const std::initializer_list<std::pair<WORD, bool>> f10{{VK_F10, true}, {VK_F10, false}};
    const std::initializer_list<std::pair<WORD, bool>> alt{{VK_MENU, true}, {VK_MENU, false}};
    const std::initializer_list<std::pair<WORD, bool>> altSpazio{
        {VK_MENU, true}, {VK_SPACE, true}, {VK_SPACE, false}, {VK_MENU, false}};
    for (const auto& tasti : {f10, alt}) {
        NascondiMenu();
        EXPECT_EQ(Premendo(hwnd(), tasti), Menu::nessuno);
        EXPECT_EQ(std::tuple(::GetMenu(hwnd()) != nullptr, Rettangolo(hwnd()), store.Contenuto()),
                  std::tuple(true, mostrato, std::wstring(L"Menu=Si\n")));
        EXPECT_EQ(Premendo(hwnd(), tasti), Menu::barra);
    }
    EXPECT_EQ(Premendo(hwnd(), altSpazio), Menu::finestra);
    NascondiMenu();
    EXPECT_EQ(Premendo(hwnd(), altSpazio), Menu::finestra);
    EXPECT_EQ(::GetMenu(hwnd()), nullptr);
}

}  // namespace
}  // namespace quilmora::test
