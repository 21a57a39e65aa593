// Mouse clicks on the clock face: a digit or colon cell brings a hidden menu bar back.
#include "support/menu_fixture.h"

namespace quilmora::test {
namespace {

// Presses and releases the left button at a point of a window's client area, and lets the window handle both.
void Clicca(HWND finestra, POINT p = {3, 3}) {
    ::PostMessageW(finestra, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    ::PostMessageW(finestra, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    AttendiFinche([] { return HIWORD(::GetQueueStatus(QS_POSTMESSAGE)) == 0; }, 2000);
}

TEST_F(MenuTest, EachCellBringsTheHiddenBarBackOnceAndOtherClicksDoNothing) {
    Carica();
    const auto mostrato = Rettangolo();
    const POINT sfondo[] = {{1, 15}, {60, 1}, {60, 33}, {126, 15}};  // left, top, bottom and right margins
    int celle = 0;                                                   // the six digits and the two colons
    for (HWND cella = ::GetWindow(hwnd(), GW_CHILD); cella; cella = ::GetWindow(cella, GW_HWNDNEXT), ++celle) {
        NascondiMenu();
        const auto nascosto = Rettangolo();
        for (const POINT& p : sfondo) Clicca(hwnd(), p);
        EXPECT_EQ(std::pair(::GetMenu(hwnd()), Rettangolo()), std::pair(HMENU{}, nascosto));
        Clicca(cella);
        EXPECT_EQ(std::tuple(::GetMenu(hwnd()) != nullptr, Rettangolo(), store.Contenuto()),
                  std::tuple(true, mostrato, std::wstring(L"Menu=Si\n")));
        // With the bar shown, neither the cell nor the background changes anything.
        const int scritture = store.scritture;
        Clicca(cella);
        for (const POINT& p : sfondo) Clicca(hwnd(), p);
        EXPECT_EQ(std::pair(store.scritture, Rettangolo()), std::pair(scritture, mostrato));
    }
    EXPECT_EQ(celle, 8);
}

TEST_F(MenuTest, BarHiddenAtStartUpComesBackOnTheFirstClickAndThenClicksWriteNothing) {
    store.Scrivi(kMenu, L"No");
    Carica();
    const auto nascosto = Rettangolo();
    Clicca(::GetWindow(hwnd(), GW_CHILD));
    ASSERT_NE(::GetMenu(hwnd()), nullptr);
    const auto dopo = Rettangolo();
    EXPECT_EQ((std::array{dopo[0], dopo[2], dopo[3]}), (std::array{nascosto[0], nascosto[2], nascosto[3]}));
    EXPECT_EQ(std::pair(DimensioniClient(hwnd()).cx, DimensioniClient(hwnd()).cy), std::pair(129L, 35L));
    EXPECT_EQ(store.Contenuto(), L"Menu=Si\n");
    // "Si" is a stored setting like any other: back to defaults asks first, and leaves nothing for clicks to add to.
    EXPECT_EQ(std::get<1>(Scegli(kPredefinito, {IDYES}).at(0)), static_cast<UINT>(MB_ICONQUESTION));
    for (HWND cella = ::GetWindow(hwnd(), GW_CHILD); cella; cella = ::GetWindow(cella, GW_HWNDNEXT)) Clicca(cella);
    EXPECT_FALSE(store.SezioneEsiste());
}

}  // namespace
}  // namespace quilmora::test
