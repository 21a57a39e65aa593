// The clock at the display scale this process runs at, and moved to another: sizes by the twips edges, the
// face stretched pixel for pixel, the menu bar in one row, positions that stay reachable.
#include "settings/stored_values.h"
#include "support/menu_fixture.h"
#include "win/dpi.h"
#include "win/resource.h"
#include "win/twips.h"

namespace quilmora::test {
namespace {

class OrologioScalaTest : public MenuTest {
protected:
    // Client area and face as drawn in twips at `dpi`: every pixel of the cells is their glyphs', all else black.
    void SeguonoLaScala(int dpi) {
        SCOPED_TRACE(dpi);
        EXPECT_EQ(std::pair(DimensioniClient(hwnd()).cx, DimensioniClient(hwnd()).cy),
                  std::pair(static_cast<LONG>(Pixel(1935, dpi)), static_cast<LONG>(Pixel(525, dpi))));
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
            RECT w{};
            ::GetWindowRect(hwnd(), &w);
            EXPECT_EQ(std::pair(w.left, w.top), std::pair(40L + volta, 50L));
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
    const std::tuple<const wchar_t*, const wchar_t*, bool, bool> casi[] = {
        // Pos, Menu, kept at 96, kept at 144
        {L"3000,15345", L"No", false, false},  // below the screen once the hidden bar's height is given up
        {L"3000,15000", L"", true, false},    {L"19185,3000", L"", false, false},  // one column left
        {L"18465,3000", L"", true, false},    {L"-1200,300", L"No", true, true},  {L"12000,7500", L"", true, true},
    };
    Carica();
    const long conBarra = GeometriaTwip(hwnd()).height / 15;
    for (const auto& [pos, menu, a96, a144] : casi) {
        SCOPED_TRACE(std::wstring(pos) + L" " + menu);
        store.CancellaSezione();
        store.Scrivi(kMenu, menu);
        Carica();
        POINT creata{0, 0};
        ::ClientToScreen(hwnd(), &creata);
        const long barra = conBarra - GeometriaTwip(hwnd()).height / 15;  // given up by a hidden bar
        store.Scrivi(kPos, pos);
        Carica();
        const Posizione p = LeggiPos(pos);
        POINT origine{0, 0};
        ::ClientToScreen(hwnd(), &origine);
        RECT w{};
        ::GetWindowRect(hwnd(), &w);
        if (dpi == 96 ? a96 : a144) {
            EXPECT_EQ(std::pair(w.left, w.top), std::pair(static_cast<LONG>(PixelPosizione(p.left, dpi)),
                                                          static_cast<LONG>(PixelPosizione(p.top, dpi)) + barra));
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
    RECT w{};
    ::GetWindowRect(hwnd(), &w);
    EXPECT_EQ(std::pair(w.left, w.top), std::pair(333L, 222L));
}

}  // namespace
}  // namespace quilmora::test
