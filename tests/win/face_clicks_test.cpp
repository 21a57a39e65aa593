// Mouse clicks on the clock face: a digit or colon cell brings a hidden menu bar back.
#include <atomic>
#include <initializer_list>
#include <thread>

#include "support/menu_fixture.h"

namespace quilmora::test {
namespace {

// Presses and releases the left button at a point of a window's client area, and lets the window handle both.
void Clicca(HWND finestra, POINT p) {
    ::PostMessageW(finestra, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    ::PostMessageW(finestra, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    AttendiFinche([] { return HIWORD(::GetQueueStatus(QS_POSTMESSAGE)) == 0; }, 2000);
}

TEST_F(MenuTest, EachCellBringsTheHiddenBarBackOnceAndOtherClicksDoNothing) {
    Carica();
    const auto mostrato = Rettangolo();
    const POINT sfondo[] = {{1, 15}, {60, 1}, {60, 33}, {126, 15}};  // left, top, bottom and right margins
    for (const RECT& cella : Celle(hwnd())) {                        // the six digits and the two colons
        NascondiMenu();
        const auto nascosto = Rettangolo();
        for (const POINT& p : sfondo) Clicca(hwnd(), p);
        EXPECT_EQ(std::pair(::GetMenu(hwnd()), Rettangolo()), std::pair(HMENU{}, nascosto));
        Clicca(hwnd(), {cella.left + 3, cella.top + 3});
        EXPECT_EQ(std::tuple(::GetMenu(hwnd()) != nullptr, Rettangolo(), store.Contenuto()),
                  std::tuple(true, mostrato, std::wstring(L"Menu=Si\n")));
        // With the bar shown, neither the cell nor the background changes anything.
        const int scritture = store.scritture;
        Clicca(hwnd(), {cella.left + 3, cella.top + 3});
        for (const POINT& p : sfondo) Clicca(hwnd(), p);
        EXPECT_EQ(std::pair(store.scritture, Rettangolo()), std::pair(scritture, mostrato));
    }
}

TEST_F(MenuTest, BarHiddenAtStartUpComesBackOnTheFirstClickAndThenClicksWriteNothing) {
    store.Scrivi(kMenu, L"No");
    Carica();
    const auto nascosto = Rettangolo();
    Clicca(hwnd(), {Celle(hwnd())[0].left + 3, Celle(hwnd())[0].top + 3});
    ASSERT_NE(::GetMenu(hwnd()), nullptr);
    const auto dopo = Rettangolo();
    EXPECT_EQ((std::array{dopo[0], dopo[2], dopo[3]}), (std::array{nascosto[0], nascosto[2], nascosto[3]}));
    EXPECT_EQ(std::pair(DimensioniClient(hwnd()).cx, DimensioniClient(hwnd()).cy), std::pair(129L, 35L));
    EXPECT_EQ(store.Contenuto(), L"Menu=Si\n");
    // "Si" is a stored setting like any other: back to defaults asks first, and leaves nothing for clicks to add to.
    EXPECT_EQ(std::get<1>(Scegli(kPredefinito, {IDYES}).at(0)), static_cast<UINT>(MB_ICONQUESTION));
    for (const RECT& cella : Celle(hwnd())) Clicca(hwnd(), {cella.left + 3, cella.top + 3});
    EXPECT_FALSE(store.SezioneEsiste());
}

enum class Menu { nessuno, barra, finestra };  // nothing open, menu mode on the bar, the system menu's popup

// Presses `tasti` for real and tells which menu came up: another thread sees it and closes it again.
Menu Premendo(HWND finestra, std::initializer_list<std::pair<WORD, bool>> tasti) {
    ::SetForegroundWindow(finestra);
    ::SetFocus(finestra);
    Pompa(50);
    const DWORD thread = ::GetCurrentThreadId();
    std::atomic<Menu> visto = Menu::nessuno;
    std::jthread guarda([&] {
        const ULONGLONG fine = ::GetTickCount64() + 1500;
        for (; ::GetTickCount64() < fine && visto == Menu::nessuno; ::Sleep(10)) {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            const bool menu = ::GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMENUMODE);
            const bool popup = !FinestreDi(L"#32768", ::GetCurrentProcessId()).empty() &&
                               ::IsWindowVisible(FinestreDi(L"#32768", ::GetCurrentProcessId())[0]);
            if (menu || popup) {
                ::Sleep(100);  // the popup follows menu mode
                const auto popups = FinestreDi(L"#32768", ::GetCurrentProcessId());
                visto = !popups.empty() && ::IsWindowVisible(popups[0]) ? Menu::finestra : Menu::barra;
                ::SendMessageW(finestra, WM_CANCELMODE, 0, 0);
            }
        }
    });
    std::vector<INPUT> eventi;
    for (const auto& [tasto, giu] : tasti) {
        INPUT e{};
        e.type = INPUT_KEYBOARD;
        e.ki.wVk = tasto;
        e.ki.dwFlags = giu ? 0 : KEYEVENTF_KEYUP;
        eventi.push_back(e);
    }
    ::SendInput(static_cast<UINT>(eventi.size()), eventi.data(), sizeof(INPUT));
    AttendiFinche([&] { return visto != Menu::nessuno; }, 1600);
    guarda.join();
    Pompa(50);
    return visto;
}

// With the bar hidden, F10 or Alt alone brings it back as a click does and opens nothing; with the bar shown they
// open it as ever. Alt+Space opens the system menu either way.
TEST_F(MenuTest, TheMenuKeyBringsAHiddenBarBackAsAClickDoesAndAltSpaceOpensTheSystemMenu) {
    Carica();
    const auto mostrato = Rettangolo();
    const std::initializer_list<std::pair<WORD, bool>> f10{{VK_F10, true}, {VK_F10, false}};
    const std::initializer_list<std::pair<WORD, bool>> alt{{VK_MENU, true}, {VK_MENU, false}};
    const std::initializer_list<std::pair<WORD, bool>> altSpazio{
        {VK_MENU, true}, {VK_SPACE, true}, {VK_SPACE, false}, {VK_MENU, false}};
    for (const auto& tasti : {f10, alt}) {
        NascondiMenu();
        EXPECT_EQ(Premendo(hwnd(), tasti), Menu::nessuno);
        EXPECT_EQ(std::tuple(::GetMenu(hwnd()) != nullptr, Rettangolo(), store.Contenuto()),
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
