// The clock at the display scale this process runs at, and moved to another: sizes by the twips edges, the
// face stretched pixel for pixel, the menu bar in one row, positions that stay reachable.
#include <algorithm>
#include <optional>

#include "support/menu_fixture.h"
#include "win/dpi.h"
#include "win/resource.h"

namespace quilmora::test {
namespace {

// The face at each scale the tests run at, in pixels: the client area, the cells' top and bottom, and the nine
// edges of the cells from left to right (Num1, Num2, a colon, Num3, Num4, a colon, Num5, Num6, touching).
struct Misure {
    int dpi;
    LONG larga, alta, cima, fondo;
    std::array<LONG, 9> bordi;
};
constexpr Misure kMisure[] = {
    {96, 129, 35, 4, 31, {5, 23, 41, 46, 64, 82, 87, 105, 123}},
    {120, 161, 44, 5, 39, {6, 29, 51, 58, 80, 103, 109, 131, 154}},
    {144, 194, 53, 6, 47, {8, 35, 62, 69, 96, 123, 131, 158, 185}},  // half pixels round up
    {192, 258, 70, 8, 62, {10, 46, 82, 92, 128, 164, 174, 210, 246}},
};
// The edge each cell starts at, in creation order (Num1 to Num6, then the colons); it ends at the next.
constexpr std::size_t kBordoSinistro[] = {0, 1, 3, 4, 6, 7, 2, 5};

class OrologioScalaTest : public MenuTest {
protected:
    // Client area, cells and face as drawn at `dpi`.
    void SeguonoLaScala(int dpi) {
        SCOPED_TRACE(dpi);
        const auto m = std::ranges::find(kMisure, dpi, &Misure::dpi);
        ASSERT_NE(m, std::end(kMisure));
        EXPECT_EQ(std::pair(DimensioniClient(hwnd()).cx, DimensioniClient(hwnd()).cy), std::pair(m->larga, m->alta));
        const std::vector<RECT> celle = Celle(hwnd());
        ASSERT_EQ(celle.size(), 8U);
        for (std::size_t k = 0; k < celle.size(); ++k) {
            const std::size_t b = kBordoSinistro[k];
            EXPECT_EQ((Lati{celle[k].left, celle[k].top, celle[k].right, celle[k].bottom}),
                      (Lati{m->bordi[b], m->cima, m->bordi[b + 1], m->fondo}))
                << k;
        }
        const Faccia f = FacciaOra();
        EXPECT_EQ(f.Testo(), L"12:34:56");
        EXPECT_TRUE(f.marginiNeri && FacciaDaiGlifi(hwnd(), f));
    }
    // The bar's height in rows of a single-row bar.
    int RigheMenu() const {
        MENUBARINFO mbi{};
        mbi.cbSize = sizeof mbi;
        if (!::GetMenuBarInfo(hwnd(), OBJID_MENU, 0, &mbi)) return 0;
        return (mbi.rcBar.bottom - mbi.rcBar.top + 1) / ::GetSystemMetrics(SM_CYMENU);
    }
};

TEST_F(OrologioScalaTest, FaceCellsAndBarFollowTheScaleAndAMoveToAnotherScaleLeaksNothing) {
    orologio.Imposta(12, 34, 56);
    store.Scrivi(kColore, L"1");
    Carica();
    const int dpi = DpiSistema();
    SeguonoLaScala(dpi);
    EXPECT_EQ(RigheMenu(), 1);

    // To another monitor's scale and back, ten times: the suggested place is taken, nothing is left behind.
    const DWORD oggetti = OggettiGdi();
    for (int volta = 0; volta < 10; ++volta) {
        for (const int nuovo : {dpi == 192 ? 120 : 192, dpi}) {
            RECT suggerito{40 + volta, 50, 300, 200};
            ::SendMessageW(hwnd(), WM_DPICHANGED, MAKEWPARAM(nuovo, nuovo), reinterpret_cast<LPARAM>(&suggerito));
            EXPECT_EQ(std::pair(Rettangolo(hwnd())[0], Rettangolo(hwnd())[1]), std::pair(40L + volta, 50L));
            if (volta == 0 || volta == 9) SeguonoLaScala(nuovo);
        }
    }
    EXPECT_EQ(OggettiGdi(), oggetti);
}

// A change of scale sent as the window is created, before anything is drawn, leaves a right face.
LRESULT CALLBACK ScalaAllaCreazione(int codice, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    wchar_t classe[64] = {};
    if (codice == HC_ACTION && m->message == WM_CREATE && ::GetClassNameW(m->hwnd, classe, 64) &&
        std::wstring_view(classe) == kClasseOrologio) {
        RECT suggerito{40, 50, 300, 200};
        ::SendMessageW(m->hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggerito));
    }
    return ::CallNextHookEx(nullptr, codice, wp, lp);
}

TEST_F(OrologioScalaTest, AScaleChangeDuringCreationLeavesARightFace) {
    orologio.Imposta(12, 34, 56);
    const HHOOK gancio = ::SetWindowsHookExW(WH_CALLWNDPROC, ScalaAllaCreazione, nullptr, ::GetCurrentThreadId());
    Carica();
    ::UnhookWindowsHookEx(gancio);
    SeguonoLaScala(DpiSistema());
}

// Stored positions keep their meaning at any scale; a window whose title bar would be out of reach after every
// move opens where it is created. The screen is 1280 x 1024.
TEST_F(OrologioScalaTest, StoredPositionsStayReachableAndSavedPositionsComeBackToThePixel) {
    const int dpi = DpiSistema();
    if (dpi != 96 && dpi != 144) GTEST_SKIP() << "positions are checked at 96 and 144 dpi";
    // Pos, Menu, and where the window goes at 96 and at 144 dpi: none where it is created.
    const std::tuple<const wchar_t*, const wchar_t*, std::optional<POINT>, std::optional<POINT>> casi[] = {
        {L"3000,15345", L"No", {}, {}},  // below the screen once the hidden bar's height is given up
        {L"3000,15000", L"", POINT{200, 1000}, {}},
        {L"19185,3000", L"", {}, {}},  // one column left
        {L"18465,3000", L"", POINT{1231, 200}, {}},
        {L"-1200,300", L"No", POINT{-80, 20}, POINT{-120, 30}},
        {L"12000,7500", L"", POINT{800, 500}, POINT{1200, 750}},
    };
    Carica();
    const Lati conBarra = Rettangolo(hwnd());
    for (const auto& [pos, menu, a96, a144] : casi) {
        SCOPED_TRACE(std::wstring(pos) + L" " + menu);
        store.CancellaSezione();
        store.Scrivi(kMenu, menu);
        Carica();
        POINT creata{0, 0};
        ::ClientToScreen(hwnd(), &creata);
        const Lati senza = Rettangolo(hwnd());
        const LONG barra = (conBarra[3] - conBarra[1]) - (senza[3] - senza[1]);  // given up by a hidden bar
        store.Scrivi(kPos, pos);
        Carica();
        POINT origine{0, 0};
        ::ClientToScreen(hwnd(), &origine);
        if (const std::optional<POINT> a = dpi == 96 ? a96 : a144) {
            EXPECT_EQ(std::pair(Rettangolo(hwnd())[0], Rettangolo(hwnd())[1]), std::pair(a->x, a->y + barra));
        } else {
            EXPECT_EQ(std::pair(origine.x, origine.y), std::pair(creata.x, creata.y));
        }
    }

    // Saved and read back at this scale: the same pixel.
    store.CancellaSezione();
    Carica();
    ::SetWindowPos(hwnd(), nullptr, 333, 222, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(Scegli(kSalvaPosizione, {IDYES}).size(), 1U);
    Carica();
    EXPECT_EQ(std::pair(Rettangolo(hwnd())[0], Rettangolo(hwnd())[1]), std::pair(333L, 222L));
}

}  // namespace
}  // namespace quilmora::test
