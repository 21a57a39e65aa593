// Through a desktop day: screens that change, a clock that is set, nobody looking, a tick that does only what
// changed.
#include <array>
#include <cstddef>
#include <cstring>
#include <functional>
#include <map>

#include "support/clock_fixture.h"
#include "zones/fusi_dialog.h"

namespace quilmora::test {
namespace {

// On this thread, while one exists: what the paints of each window put on the screen (sent at once by a redraw,
// or taken from the queue), and the timer messages.
std::map<HWND, UniqueRegion> dipinti;
int tick = 0;
void Dipinto(HWND finestra) {
    UniqueRegion& r = dipinti[finestra];
    if (!r) r.reset(::CreateRectRgn(0, 0, 0, 0));
    const UniqueRegion questo(::CreateRectRgn(0, 0, 0, 0));
    ::GetUpdateRgn(finestra, questo.get(), FALSE);
    ::CombineRgn(r.get(), r.get(), questo.get(), RGN_OR);
}
LRESULT CALLBACK Spedito(int codice, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (codice == HC_ACTION && m->message == WM_PAINT) Dipinto(m->hwnd);
    return ::CallNextHookEx(nullptr, codice, wp, lp);
}
LRESULT CALLBACK Preso(int codice, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<const MSG*>(lp);
    if (codice == HC_ACTION && wp == PM_REMOVE && m->message == WM_PAINT) Dipinto(m->hwnd);
    if (codice == HC_ACTION && wp == PM_REMOVE && m->message == WM_TIMER) ++tick;
    return ::CallNextHookEx(nullptr, codice, wp, lp);
}
struct Conteggio {
    HHOOK spediti = ::SetWindowsHookExW(WH_CALLWNDPROC, Spedito, nullptr, ::GetCurrentThreadId());
    HHOOK presi = ::SetWindowsHookExW(WH_GETMESSAGE, Preso, nullptr, ::GetCurrentThreadId());
    Conteggio() { dipinti.clear(), tick = 0; }
    ~Conteggio() { ::UnhookWindowsHookEx(spediti), ::UnhookWindowsHookEx(presi); }
};

RECT Lavoro(HWND finestra) {
    MONITORINFO mi{sizeof mi, {}, {}, 0};
    ::GetMonitorInfoW(::MonitorFromWindow(finestra, MONITOR_DEFAULTTONEAREST), &mi);
    return mi.rcWork;
}

void Sposta(HWND finestra, int x, int y) {
    ::SetWindowPos(finestra, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Off the screen, each window comes back by the least distance when the screens change, a minimised clock when
// it is restored; a window still in reach stays; no place is stored.
TEST_F(OrologioTest, ChangedScreensBringBothWindowsBackInReachByTheLeastDistanceStoringNothing) {
    Carica();
    const RECT lavoro = Lavoro(hwnd());
    const Lati w = Rettangolo(hwnd());
    const LONG larga = w[2] - w[0], alta = w[3] - w[1];
    const int scritture = store.scritture;
    const std::tuple<POINT, UINT, WPARAM, POINT> casi[] = {
        {{lavoro.right + 500, lavoro.bottom + 400}, WM_DISPLAYCHANGE, 32, {lavoro.right - larga, lavoro.bottom - alta}},
        {{lavoro.left - 400, 300}, WM_SETTINGCHANGE, SPI_SETWORKAREA, {lavoro.left, 300}},
        {{lavoro.right - 60, 200}, WM_DISPLAYCHANGE, 32, {lavoro.right - 60, 200}},  // the title bar still in reach
    };
    for (const auto& [da, msg, wp, a] : casi) {
        Sposta(hwnd(), da.x, da.y);
        ::SendMessageW(hwnd(), msg, wp, 0);
        EXPECT_EQ(std::pair(Rettangolo(hwnd())[0], Rettangolo(hwnd())[1]), std::pair(a.x, a.y)) << msg << " " << wp;
    }
    RECT suggerito{lavoro.right + 50, 100, lavoro.right + 50 + larga, 100 + alta};
    ::SendMessageW(hwnd(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggerito));
    EXPECT_EQ(Rettangolo(hwnd())[2], lavoro.right);

    ::ShowWindow(hwnd(), SW_MINIMIZE);
    WINDOWPLACEMENT posto{};
    posto.length = sizeof posto;
    ::GetWindowPlacement(hwnd(), &posto);
    ::OffsetRect(&posto.rcNormalPosition, 0, lavoro.bottom + 300 - posto.rcNormalPosition.top);
    ::SetWindowPlacement(hwnd(), &posto);
    ::SendMessageW(hwnd(), WM_DISPLAYCHANGE, 32, 0);
    EXPECT_TRUE(::IsIconic(hwnd()));
    ::ShowWindow(hwnd(), SW_RESTORE);
    EXPECT_EQ(Rettangolo(hwnd())[3], lavoro.bottom);
    EXPECT_EQ(store.scritture, scritture);

    Fusi dialogo(ServiziProva(), AvvioProva());
    dialogo.Mostra();
    Sposta(dialogo.hwnd(), lavoro.left - 2000, lavoro.top - 2000);
    ::SendMessageW(dialogo.hwnd(), WM_DISPLAYCHANGE, 32, 0);
    EXPECT_EQ(std::pair(Rettangolo(dialogo.hwnd())[0], Rettangolo(dialogo.hwnd())[1]),
              std::pair(lavoro.left, lavoro.top));
}

// Run by virtual_desktop.sh in a Wine virtual desktop of its own, the one kind of screen whose size can change
// under Wine; skipped elsewhere.
class SchermoTest : public OrologioTest {};

TEST_F(SchermoTest, TheClockNearTheCornerOfAScreenThatShrinksComesBackStoringNothing) {
    wchar_t nome[64] = {};
    ::GetUserObjectInformationW(::GetThreadDesktop(::GetCurrentThreadId()), UOI_NAME, nome, sizeof nome, nullptr);
    if (std::wstring_view(nome) != L"Prova") GTEST_SKIP() << "not in the virtual desktop";
    const RECT prima = Lavoro(::GetDesktopWindow());
    ASSERT_GT(prima.right, 1024);
    ASSERT_GT(prima.bottom, 768);
    // The corner 160 x 100 pixels from the screen's, as "Salva posizione" would have stored it.
    const std::wstring pos =
        std::to_wstring((prima.right - 160) * 15) + L"," + std::to_wstring((prima.bottom - 100) * 15);
    store.Scrivi(kPos, pos);
    Carica();
    ASSERT_EQ(Rettangolo(hwnd())[0], prima.right - 160);
    const int scritture = store.scritture;

    DEVMODEW modo{};
    modo.dmSize = sizeof modo;
    modo.dmPelsWidth = 1024;
    modo.dmPelsHeight = 768;
    modo.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    ASSERT_EQ(::ChangeDisplaySettingsExW(nullptr, &modo, nullptr, 0, nullptr), DISP_CHANGE_SUCCESSFUL);
    EXPECT_TRUE(AttendiFinche(
        [&] {
            const Lati w = Rettangolo(hwnd());
            const RECT lavoro = Lavoro(hwnd());
            return lavoro.right == 1024 && w[2] == 1024 && w[3] == lavoro.bottom;
        },
        10000))
        << Rettangolo(hwnd())[0] << "," << Rettangolo(hwnd())[1];
    EXPECT_EQ(std::pair(store.Leggi(kPos), store.scritture), std::pair(pos, scritture));
}

// While the session is locked or the display is off no tick comes and nothing is drawn; once somebody can see
// again, or the machine wakes, the face (or the minimised caption) is right at once.
TEST_F(OrologioTest, NoTickWhileNobodyCanSeeAndTheFaceIsRightAtOnceAfterwards) {
    orologio.Imposta(10, 0, 0);
    Carica();
    // The display's state as Windows sends it: GUID_SESSION_DISPLAY_STATUS and a DWORD, 0 off, 1 on.
    const auto schermo = [&](DWORD stato) {
        const POWERBROADCAST_SETTING testa{
            {0x2b84c20e, 0xad23, 0x4ddf, {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}}, sizeof stato, {}};
        alignas(POWERBROADCAST_SETTING) std::array<unsigned char, sizeof testa + sizeof stato> dati{};
        std::memcpy(dati.data(), &testa, offsetof(POWERBROADCAST_SETTING, Data));
        std::memcpy(dati.data() + offsetof(POWERBROADCAST_SETTING, Data), &stato, sizeof stato);
        ::SendMessageW(hwnd(), WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(dati.data()));
    };
    int minuti = 0;
    const auto riposo = [&](const std::function<void()>& riposa, const std::function<void()>& riprendi, DWORD ms) {
        riposa();
        orologio.Imposta(10, static_cast<WORD>(++minuti), 0);
        const Faccia prima = FacciaOra();
        {
            const Conteggio conta;
            Pompa(ms);
            EXPECT_EQ(tick, 0);
        }
        EXPECT_EQ(std::pair(FacciaOra().Testo(), FacciaOra().puntiAccesi), std::pair(prima.Testo(), prima.puntiAccesi));
        riprendi();
        EXPECT_EQ(std::pair(LeggiFaccia(hwnd()).Testo(), LeggiFaccia(hwnd()).puntiAccesi),
                  std::pair(L"10:0" + std::to_wstring(minuti) + L":00", !prima.puntiAccesi));
        const Conteggio conta;
        EXPECT_TRUE(AttendiFinche([] { return tick > 0; }, 2000)) << "the ticks did not come back";
    };
    const auto sessione = [&](WPARAM cosa) { ::SendMessageW(hwnd(), WM_WTSSESSION_CHANGE, cosa, 1); };
    riposo([&] { sessione(WTS_SESSION_LOCK); }, [&] { sessione(WTS_SESSION_UNLOCK); }, 3000);
    riposo([&] { schermo(0); }, [&] { schermo(1); }, 1500);

    orologio.Imposta(7, 0, 0);
    ::SendMessageW(hwnd(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_EQ(LeggiFaccia(hwnd()).Testo(), L"07:00:00");

    ::ShowWindow(hwnd(), SW_MINIMIZE);
    sessione(WTS_SESSION_LOCK);
    orologio.Imposta(8, 15, 0);
    sessione(WTS_SESSION_UNLOCK);
    EXPECT_EQ(Titolo(), L"08:15:00 - Ora locale");
}

// The clock set while it runs: once told, the face shows the new time, with no tick in between.
TEST_F(OrologioTest, ASetClockShowsOnTheFaceOnceTold) {
    orologio.Imposta(12, 0, 0);
    Carica();
    for (const auto& [ore, minuti, secondi, atteso] :
         {std::tuple<WORD, WORD, WORD, const wchar_t*>{12, 0, 4, L"12:00:04"}, {11, 59, 57, L"11:59:57"}}) {
        ::KillTimer(hwnd(), Esmalvio::kIdTimer1);  // only the change draws
        orologio.Imposta(ore, minuti, secondi);
        ::SendMessageW(hwnd(), WM_TIMECHANGE, 0, 0);
        EXPECT_EQ(LeggiFaccia(hwnd()).Testo(), atteso);
    }
}

// A tick repaints only the digits that changed, and the colons; after a new colour it repaints the whole face.
// Every face is the stored glyphs'.
TEST_F(OrologioTest, ATickRepaintsOnlyTheCellsItChangesAndEveryFaceIsTheStoredGlyphs) {
    orologio.Imposta(12, 34, 58);
    Carica();
    ::KillTimer(hwnd(), Esmalvio::kIdTimer1);  // only the test's own calls draw from now on
    // What `prima` leads to, then the cells one tick repaints: the paints cover them whole and nothing else.
    const auto dipinte = [&](const std::function<void()>& prima) {
        prima();
        Assesta(hwnd());
        const Conteggio conta;
        finestra->Timer1_Timer();
        Assesta(hwnd());
        int celle = 0;
        const UniqueRegion toccate(::CreateRectRgn(0, 0, 0, 0));
        for (const RECT& c : Celle(hwnd())) {
            if (!dipinti[hwnd()] || !::RectInRegion(dipinti[hwnd()].get(), &c)) continue;
            ++celle;
            const UniqueRegion cella(::CreateRectRgnIndirect(&c));
            ::CombineRgn(toccate.get(), toccate.get(), cella.get(), RGN_OR);
        }
        EXPECT_TRUE(celle == 0 || ::EqualRgn(toccate.get(), dipinti[hwnd()].get()));
        const Faccia f = LeggiFaccia(hwnd());
        EXPECT_TRUE(FacciaDaiGlifi(hwnd(), f)) << f.Testo();
        return std::pair(f.Testo(), celle);
    };
    const auto ora = [&](WORD o, WORD m, WORD s) { return [=, this] { orologio.Imposta(o, m, s); }; };
    EXPECT_EQ(dipinte(ora(12, 34, 59)), std::pair(std::wstring(L"12:34:59"), 3));
    EXPECT_EQ(dipinte(ora(12, 35, 0)), std::pair(std::wstring(L"12:35:00"), 5));
    EXPECT_EQ(dipinte([] {}), std::pair(std::wstring(L"12:35:00"), 2));
    EXPECT_EQ(dipinte([&] { finestra->comandi().mnuOption_Click(2); }), std::pair(std::wstring(L"12:35:00"), 8));
    EXPECT_EQ(dipinte(ora(20, 0, 0)), std::pair(std::wstring(L"20:00:00"), 6));
    // The restore draws the new time itself: the tick after it changes only the colons.
    EXPECT_EQ(dipinte([&] {
                  ::ShowWindow(hwnd(), SW_MINIMIZE);
                  orologio.Imposta(21, 0, 0);
                  ::ShowWindow(hwnd(), SW_RESTORE);
              }),
              std::pair(std::wstring(L"21:00:00"), 2));
}

}  // namespace
}  // namespace quilmora::test
