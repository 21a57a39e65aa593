// Start-up of the clock window: the second copy, the stored position, colour and menu-bar state, the
// first drawing, topmost placement and the help file.
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "support/clock_fixture.h"

namespace esmalvio::test {
namespace {

constexpr long kLarghezzaClient = 129;
constexpr long kAltezzaClient = 35;

class AvvioTest : public OrologioTest {
protected:
    // Loads the window anew over the settings as they are now.
    Esmalvio& Ricarica() {
        finestra.reset();
        return Carica();
    }

    // Texts of the checked items of the colour menu, joined by ",".
    std::wstring Spuntati() const {
        const HMENU colori = ::GetSubMenu(::GetMenu(hwnd()), 1);
        std::wstring testo;
        for (int i = 0; i < ::GetMenuItemCount(colori); ++i) {
            if (!(::GetMenuState(colori, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED)) continue;
            wchar_t voce[64] = {};
            ::GetMenuStringW(colori, static_cast<UINT>(i), voce, 64, MF_BYPOSITION);
            testo += (testo.empty() ? L"" : L",") + std::wstring(voce);
        }
        return testo;
    }

    POINT OrigineClient() const {
        POINT p{0, 0};
        ::ClientToScreen(hwnd(), &p);
        return p;
    }
};

// A folder of the test's own under the temporary folder, removed with everything in it.
class CartellaTemporanea {
public:
    CartellaTemporanea() {
        wchar_t base[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, base);
        percorso_ = std::filesystem::path(base) / (L"esmalvio-avvio-" + std::to_wstring(::GetCurrentProcessId()));
        std::filesystem::create_directories(percorso_);
    }
    CartellaTemporanea(const CartellaTemporanea&) = delete;
    CartellaTemporanea& operator=(const CartellaTemporanea&) = delete;
    ~CartellaTemporanea() {
        std::error_code ignorato;
        std::filesystem::remove_all(percorso_, ignorato);
    }
    std::wstring Testo() const { return percorso_.wstring(); }
    std::filesystem::path operator/(const wchar_t* nome) const { return percorso_ / nome; }

private:
    std::filesystem::path percorso_;
};

TEST_F(AvvioTest, SecondCopySaysSoAndEndsWithoutTouchingTheSettingsOrShowingAWindow) {
    store.Scrivi(kPos, L"1740,1770");
    store.letture = 0;
    store.scritture = 0;
    Ambiente a = AmbienteTest();
    a.altraIstanza = true;
    Esmalvio seconda(a);
    Risponditore ok(IDOK);
    EXPECT_FALSE(seconda.Carica());
    const auto visto = ok.Visto();
    ASSERT_TRUE(visto);
    EXPECT_EQ(visto->testo, L"Esmalvio Desktop \u00e8 gi\u00e0 in esecuzione!");
    EXPECT_EQ(visto->titolo, L"Esmalvio");
    EXPECT_EQ(visto->pulsanti, static_cast<UINT>(MB_OK));
    EXPECT_EQ(visto->icona, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(store.letture, 0);
    EXPECT_EQ(store.scritture, 0);
    EXPECT_EQ(seconda.hwnd(), nullptr);
    EXPECT_TRUE(FinestreDi(Esmalvio::kClasse, ::GetCurrentProcessId()).empty());
}

TEST_F(AvvioTest, WithoutSettingsTheWindowIsWhereCreatedRedTopmostAndShowsTheTimeAtOnce) {
    orologio.Imposta(23, 59, 58);
    Carica();
    // Drawn by start-up, not by a tick: the first drawing leaves the colons unlit.
    const Faccia f = LeggiFaccia(hwnd());
    EXPECT_EQ(f.Testo(), L"23:59:58");
    EXPECT_TRUE(f.puntiValidi);
    EXPECT_FALSE(f.puntiAccesi);
    EXPECT_EQ(f.colore, 0);
    EXPECT_TRUE(f.marginiNeri);
    EXPECT_TRUE(::IsWindowVisible(hwnd()));
    EXPECT_TRUE(::GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(Titolo(), L"Locale");
    ASSERT_NE(::GetMenu(hwnd()), nullptr);
    EXPECT_EQ(Spuntati(), L"&Rosso");
    EXPECT_EQ(DimensioniClient(hwnd()).cx, kLarghezzaClient);
    EXPECT_EQ(DimensioniClient(hwnd()).cy, kAltezzaClient);

    // Client corner at 60, 6180 twips, unless that would put the window below the primary work area.
    MONITORINFO primario{sizeof primario, {}, {}, 0};
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &primario));
    const RECT lavoro = primario.rcWork;
    RECT w{};
    ::GetWindowRect(hwnd(), &w);
    const POINT o = OrigineClient();
    const long bordoSotto = w.bottom - (o.y + kAltezzaClient);
    EXPECT_EQ(o.x * Esmalvio::kTwipPerPixel, 60);
    if (6180 / Esmalvio::kTwipPerPixel + kAltezzaClient + bordoSotto <= lavoro.bottom) {
        EXPECT_EQ(o.y * Esmalvio::kTwipPerPixel, 6180);
    } else {
        EXPECT_EQ(w.bottom, lavoro.bottom);
    }
}

TEST_F(AvvioTest, StoredPositionMovesTheWindowAndKeepsItsSize) {
    Carica();
    const Twip creata = GeometriaTwip(hwnd());
    struct Caso {
        const wchar_t* pos;
        long left, top;
    };
    const Caso casi[] = {
        {L"1740,1770", 1740, 1770},
        {L"-1200,300", -1200, 300},  // partly on the screen: kept as stored
        {L"2000", 0, 2000},
        {L"abc", 0, 0},
        {L"999999,999999", creata.left, creata.top},  // on no screen: a topmost window must stay reachable
    };
    for (const Caso& c : casi) {
        store.Scrivi(kPos, c.pos);
        Ricarica();
        // Whole pixels: a stored edge lands on the nearest one.
        const Twip t = GeometriaTwip(hwnd());
        EXPECT_NEAR(t.left, c.left, Esmalvio::kTwipPerPixel / 2) << c.pos;
        EXPECT_NEAR(t.top, c.top, Esmalvio::kTwipPerPixel / 2) << c.pos;
        EXPECT_EQ(t.width, creata.width) << c.pos;
        EXPECT_EQ(t.height, creata.height) << c.pos;
    }
}

TEST_F(AvvioTest, HiddenMenuBarGivesUpExactlyItsHeightAndTheFaceStaysPut) {
    store.Scrivi(kPos, L"1740,1770");
    Carica();
    const Twip conBarra = GeometriaTwip(hwnd());
    const POINT faccia = OrigineClient();

    store.Scrivi(kMenu, L"No");
    Ricarica();
    const Twip senzaBarra = GeometriaTwip(hwnd());
    const long barra = conBarra.height - senzaBarra.height;
    EXPECT_GT(barra, 0);
    EXPECT_EQ(senzaBarra.left, 1740);
    EXPECT_EQ(senzaBarra.top, 1770 + barra);
    EXPECT_EQ(senzaBarra.width, conBarra.width);
    EXPECT_EQ(::GetMenu(hwnd()), nullptr);
    EXPECT_EQ(DimensioniClient(hwnd()).cx, kLarghezzaClient);
    EXPECT_EQ(DimensioniClient(hwnd()).cy, kAltezzaClient);
    EXPECT_EQ(OrigineClient().x, faccia.x);
    EXPECT_EQ(OrigineClient().y, faccia.y);
    EXPECT_TRUE(FacciaOra().marginiNeri);

    // Without a stored position the created window moves down the same way.
    store.Cancella(kPos);
    store.Cancella(kMenu);
    Ricarica();
    const Twip creata = GeometriaTwip(hwnd());
    store.Scrivi(kMenu, L"No");
    Ricarica();
    EXPECT_EQ(GeometriaTwip(hwnd()).top, creata.top + barra);
    EXPECT_EQ(GeometriaTwip(hwnd()).height, creata.height - barra);

    // Only exactly "No" hides the bar.
    for (const wchar_t* menu : {L"no", L"NO", L"No "}) {
        store.Scrivi(kMenu, menu);
        Ricarica();
        EXPECT_NE(::GetMenu(hwnd()), nullptr) << menu;
        EXPECT_EQ(GeometriaTwip(hwnd()).top, creata.top) << menu;
        EXPECT_EQ(GeometriaTwip(hwnd()).height, creata.height) << menu;
    }
}

TEST_F(AvvioTest, StoredColourIsOnTheFirstFaceAndIsTheOnlyCheckedItem) {
    store.Scrivi(kColore, L"2");
    Carica();
    Faccia f = LeggiFaccia(hwnd());
    EXPECT_EQ(f.colore, 2);
    EXPECT_TRUE(f.puntiValidi);
    EXPECT_EQ(Spuntati(), L"&Blu");
    finestra->Timer1_Timer();
    f = FacciaOra();
    EXPECT_EQ(f.colore, 2);
    EXPECT_TRUE(f.puntiAccesi);

    store.Cancella(kColore);
    Risponditore si(IDYES);
    finestra->mnuImp_Click(4);
    ASSERT_TRUE(si.Visto());
    EXPECT_EQ(store.Leggi(kColore), L"2");
}

TEST_F(AvvioTest, HandEditedColourKeepsRedAndItsCheckMark) {
    for (const wchar_t* colore : {L"7", L"-1", L"abc", L"", L"99999999999"}) {
        store.Scrivi(kColore, colore);
        Ricarica();
        EXPECT_EQ(FacciaOra().colore, 0) << colore;
        EXPECT_EQ(Spuntati(), L"&Rosso") << colore;
    }
}

TEST_F(AvvioTest, ReloadRestoresOnlyWhatIsStored) {
    store.Scrivi(kPos, L"1740,1770");
    Carica();
    ::SetWindowPos(hwnd(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    finestra->mnuOption_Click(1);
    finestra->Timer1_Timer();
    Ricarica();
    EXPECT_EQ(GeometriaTwip(hwnd()).left, 1740);
    EXPECT_EQ(GeometriaTwip(hwnd()).top, 1770);
    EXPECT_EQ(FacciaOra().colore, 0);
    EXPECT_EQ(Spuntati(), L"&Rosso");
}

TEST_F(AvvioTest, HelpFileIsRegisteredOnlyWhenItCanBeOpened) {
    const CartellaTemporanea cartellaProva;
    cartella = cartellaProva.Testo();
    const std::wstring guida = cartella + L"\\quilmora.hlp";

    Carica();
    EXPECT_EQ(finestra->FileGuida(), L"");

    std::ofstream(cartellaProva / L"quilmora.hlp") << "?";
    Ricarica();
    EXPECT_EQ(finestra->FileGuida(), guida);

    {
        // Held open by someone who lets nobody else read it.
        const HANDLE aperto = ::CreateFileW(guida.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(aperto, INVALID_HANDLE_VALUE);
        const UniqueHandle bloccato(aperto);
        Ricarica();
        EXPECT_EQ(finestra->FileGuida(), L"");
    }

    finestra.reset();
    std::filesystem::remove(cartellaProva / L"quilmora.hlp");
    std::filesystem::create_directory(cartellaProva / L"quilmora.hlp");
    Carica();
    EXPECT_EQ(finestra->FileGuida(), L"");
}

// For its lifetime, files ending in ".hlp" open with a command that copies the file to "<file>.aperto".
class AperturaGuidaRegistrata {
public:
    AperturaGuidaRegistrata() {
        wchar_t valore[256] = {};
        DWORD byte = sizeof valore;
        if (::RegGetValueW(HKEY_LOCAL_MACHINE, kEstensione, nullptr, RRF_RT_REG_SZ, nullptr, valore, &byte) ==
            ERROR_SUCCESS) {
            precedente_ = valore;
        }
        const std::wstring comando = L"\"C:\\windows\\system32\\cmd.exe\" /c copy \"%1\" \"%1.aperto\"";
        registrata_ =
            Scrivi(kEstensione, kTipo) &&
            Scrivi((std::wstring(L"Software\\Classes\\") + kTipo + L"\\shell\\open\\command").c_str(), comando);
    }
    AperturaGuidaRegistrata(const AperturaGuidaRegistrata&) = delete;
    AperturaGuidaRegistrata& operator=(const AperturaGuidaRegistrata&) = delete;
    ~AperturaGuidaRegistrata() {
        if (precedente_) {
            Scrivi(kEstensione, *precedente_);
        } else {
            ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kEstensione);
        }
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(L"Software\\Classes\\") + kTipo).c_str());
    }
    bool Registrata() const noexcept { return registrata_; }

private:
    static constexpr const wchar_t* kEstensione = L"Software\\Classes\\.hlp";
    static constexpr const wchar_t* kTipo = L"EsmalvioProvaGuida";
    static bool Scrivi(const wchar_t* chiave, const std::wstring& testo) {
        return ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, chiave, nullptr, REG_SZ, testo.c_str(),
                                 static_cast<DWORD>((testo.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    std::optional<std::wstring> precedente_;
    bool registrata_ = false;
};

TEST_F(AvvioTest, F1OpensTheRegisteredHelpFileWithTheShell) {
    const AperturaGuidaRegistrata apertura;
    if (!apertura.Registrata()) GTEST_SKIP() << "no right to change the .hlp file type";
    const CartellaTemporanea cartellaProva;
    cartella = cartellaProva.Testo();
    std::ofstream(cartellaProva / L"quilmora.hlp") << "?";
    Carica();
    ASSERT_TRUE(::SetForegroundWindow(hwnd()));
    INPUT tasto[2] = {};
    tasto[0].type = tasto[1].type = INPUT_KEYBOARD;
    tasto[0].ki.wVk = tasto[1].ki.wVk = VK_F1;
    tasto[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(::SendInput(2, tasto, sizeof(INPUT)), 2u);
    EXPECT_TRUE(AttendiFinche([&] { return std::filesystem::exists(cartellaProva / L"quilmora.hlp.aperto"); }, 10000));
}

}  // namespace
}  // namespace esmalvio::test
