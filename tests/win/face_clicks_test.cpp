// Mouse clicks on the clock face: a digit or colon cell brings a hidden menu bar back.
#include <algorithm>
#include <vector>

#include "support/menu_fixture.h"

namespace esmalvio::test {
namespace {

// The eight cells of the face, left to right.
std::vector<HWND> Celle(HWND finestra) {
    std::vector<HWND> celle;
    ::EnumChildWindows(
        finestra,
        [](HWND h, LPARAM lp) -> BOOL {
            wchar_t classe[64] = {};
            ::GetClassNameW(h, classe, static_cast<int>(std::size(classe)));
            if (std::wstring_view(classe) == L"EsmalvioCella") reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&celle));
    std::sort(celle.begin(), celle.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        ::GetWindowRect(a, &ra);
        ::GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return celle;
}

// Presses and releases the left button at a point of a window's client area, as the mouse does,
// and lets the window handle both.
void Clicca(HWND finestra, POINT p = {3, 3}) {
    const LPARAM lp = MAKELPARAM(p.x, p.y);
    ::PostMessageW(finestra, WM_LBUTTONDOWN, MK_LBUTTON, lp);
    ::PostMessageW(finestra, WM_LBUTTONUP, 0, lp);
    AttendiFinche([] { return HIWORD(::GetQueueStatus(QS_POSTMESSAGE)) == 0; }, 2000);
}

TEST_F(MenuTest, EachCellBringsTheHiddenBarBackOnceAndTheWindowReturnsWhereItWas) {
    Carica();
    const std::vector<HWND> celle = Celle(hwnd());
    ASSERT_EQ(celle.size(), 8u);
    const RECT mostrato = Rettangolo();
    const int barra = AltezzaBarra();
    ASSERT_GT(barra, 0);
    for (std::size_t k = 0; k < celle.size(); ++k) {
        NascondiMenu();
        ASSERT_EQ(::GetMenu(hwnd()), nullptr);
        const RECT nascosto = Rettangolo();
        EXPECT_EQ(nascosto.bottom, mostrato.bottom) << k;

        Clicca(celle[k]);
        EXPECT_NE(::GetMenu(hwnd()), nullptr) << k;
        const RECT dopo = Rettangolo();
        EXPECT_EQ(dopo.top, nascosto.top - barra) << k;
        EXPECT_EQ(dopo.bottom - dopo.top, nascosto.bottom - nascosto.top + barra) << k;
        EXPECT_TRUE(::EqualRect(&dopo, &mostrato)) << k;
        EXPECT_EQ(DimensioniClient(hwnd()).cx, 129) << k;
        EXPECT_EQ(DimensioniClient(hwnd()).cy, 35) << k;
        EXPECT_EQ(store.Contenuto(), L"Menu=Si\n") << k;

        const int scritture = store.scritture;
        Clicca(celle[k]);
        EXPECT_EQ(store.scritture, scritture) << k;
        const RECT ancora = Rettangolo();
        EXPECT_TRUE(::EqualRect(&ancora, &mostrato)) << k;
    }
}

TEST_F(MenuTest, ClicksOnTheBackgroundDoNothing) {
    Carica();
    // Left margin, top margin, bottom margin, right margin.
    const POINT sfondo[] = {{1, 15}, {60, 1}, {60, 33}, {126, 15}};
    for (const bool nascosto : {true, false}) {
        if (nascosto) NascondiMenu();
        const RECT prima = Rettangolo();
        const HMENU barra = ::GetMenu(hwnd());
        const int scritture = store.scritture;
        for (const POINT& p : sfondo) Clicca(hwnd(), p);
        const RECT dopo = Rettangolo();
        EXPECT_TRUE(::EqualRect(&prima, &dopo)) << nascosto;
        EXPECT_EQ(::GetMenu(hwnd()), barra) << nascosto;
        EXPECT_EQ(store.scritture, scritture) << nascosto;
        if (nascosto) Clicca(Celle(hwnd()).front());
    }
}

TEST_F(MenuTest, ClicksWithTheBarShownWriteNothingEvenAfterDefaults) {
    store.Scrivi(kFuso, L"60");
    Carica();
    ScegliRispondendo(kMenuOpzioni, L"&Predefinito", IDYES);
    ASSERT_FALSE(store.SezioneEsiste());
    const int scritture = store.scritture;
    const RECT prima = Rettangolo();
    for (HWND cella : Celle(hwnd())) Clicca(cella);
    EXPECT_FALSE(store.SezioneEsiste());
    EXPECT_EQ(store.scritture, scritture);
    const RECT dopo = Rettangolo();
    EXPECT_TRUE(::EqualRect(&prima, &dopo));
}

TEST_F(MenuTest, BarHiddenAtStartUpComesBackOnTheFirstClickAndStoresSi) {
    store.Scrivi(kMenu, L"No");
    Carica();
    ASSERT_EQ(::GetMenu(hwnd()), nullptr);
    EXPECT_EQ(DimensioniClient(hwnd()).cy, 35);
    const RECT nascosto = Rettangolo();

    Clicca(Celle(hwnd()).at(2));  // the first colon
    ASSERT_NE(::GetMenu(hwnd()), nullptr);
    const RECT dopo = Rettangolo();
    EXPECT_EQ(dopo.top, nascosto.top - AltezzaBarra());
    EXPECT_EQ(dopo.bottom, nascosto.bottom);
    EXPECT_EQ(DimensioniClient(hwnd()).cx, 129);
    EXPECT_EQ(DimensioniClient(hwnd()).cy, 35);
    EXPECT_EQ(store.Contenuto(), L"Menu=Si\n");

    // "Si" is a stored setting like any other: back to defaults asks first, then finds nothing left.
    EXPECT_EQ(ScegliRispondendo(kMenuOpzioni, L"&Predefinito", IDYES).icona, MB_ICONQUESTION);
    EXPECT_FALSE(store.SezioneEsiste());
    EXPECT_EQ(ScegliRispondendo(kMenuOpzioni, L"&Predefinito", IDOK).icona, MB_ICONEXCLAMATION);
}

}  // namespace
}  // namespace esmalvio::test
