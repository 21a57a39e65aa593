// The clock window's menus, chosen through the window's own menu bar.
#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "app/resource.h"
#include "support/dialog_watch.h"
#include "support/menu_fixture.h"

namespace esmalvio::test {
namespace {

constexpr const wchar_t* kAboutApp = L" ESMALVIO DESKTOP";

struct VociAttese {
    std::wstring_view menu;
    std::vector<std::wstring_view> voci;  // "-" for a separator
};

TEST_F(MenuTest, BarHoldsThreeMenusWithTheirItemsAndOnlyRedChecked) {
    Carica();
    const VociAttese attese[] = {
        {kMenuFile, {L"&Informazioni", L"-", L"&Esci"}},
        {kMenuColore, {L"&Rosso", L"&Verde", L"&Blu"}},
        {kMenuOpzioni,
         {L"&Fuso orario e avvio", L"-", L"&Nascondi menu", L"-", L"Salva &colore", L"Salva &posizione", L"-",
          L"&Predefinito"}},
    };
    HMENU barra = ::GetMenu(hwnd());
    ASSERT_NE(barra, nullptr);
    ASSERT_EQ(::GetMenuItemCount(barra), 3);
    for (int m = 0; m < 3; ++m) {
        const VociAttese& atteso = attese[m];
        EXPECT_EQ(VoceMenu(barra, m), atteso.menu);
        HMENU menu = ::GetSubMenu(barra, m);
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(::GetMenuItemCount(menu), static_cast<int>(atteso.voci.size())) << std::wstring(atteso.menu);
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            const std::wstring_view voce = atteso.voci[static_cast<std::size_t>(i)];
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
            ASSERT_TRUE(::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info));
            EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, voce == L"-") << std::wstring(voce);
            if (voce == L"-") continue;
            EXPECT_EQ(VoceMenu(menu, i), voce);  // no shortcut text after a tab either
            EXPECT_EQ(info.hSubMenu, nullptr);
            EXPECT_EQ(info.fState & (MFS_DISABLED | MFS_GRAYED), 0u) << std::wstring(voce);
            EXPECT_EQ((info.fState & MFS_CHECKED) != 0, voce == L"&Rosso") << std::wstring(voce);
        }
    }
}

TEST_F(MenuTest, EveryMessageHasItsTextIconAndButtons) {
    struct Caso {
        std::wstring_view voce;
        bool qualcosaSalvato;
        const wchar_t* testo;
        UINT icona, pulsanti;
        int risposta;
    };
    const Caso casi[] = {
        {L"Salva &colore", false, L"Salvo l'attuale colore?", MB_ICONQUESTION, MB_YESNO, IDNO},
        {L"Salva &posizione", false, L"Salvo l'attuale posizione?", MB_ICONQUESTION, MB_YESNO, IDNO},
        {L"&Predefinito", false, L"Le impostazioni sono gi\u00e0 quelle predefinite", MB_ICONEXCLAMATION, MB_OK, IDOK},
        {L"&Predefinito", true, L"Reimposto le opzioni predefinite?", MB_ICONQUESTION, MB_YESNO, IDNO},
        {L"&Nascondi menu", false, L"Clicca sull'esmalvio per visualizzare il menu", MB_ICONINFORMATION, MB_OK, IDOK},
    };
    Carica();
    for (const Caso& c : casi) {
        if (c.qualcosaSalvato) store.Scrivi(kColore, L"1");
        const MessaggioVisto v = ScegliRispondendo(kMenuOpzioni, c.voce, c.risposta);
        EXPECT_EQ(v.titolo, L"Esmalvio");
        EXPECT_EQ(v.testo, c.testo);
        EXPECT_EQ(v.icona, c.icona) << c.testo;
        EXPECT_EQ(v.pulsanti, c.pulsanti) << c.testo;
    }
}

TEST_F(MenuTest, SaveColourStoresTheCheckedItemOnlyOnYes) {
    Carica();
    Scegli(kMenuColore, L"&Blu");
    ScegliRispondendo(kMenuOpzioni, L"Salva &colore", IDNO);
    EXPECT_EQ(store.scritture, 0);
    ScegliRispondendo(kMenuOpzioni, L"Salva &colore", IDYES);
    EXPECT_EQ(store.Contenuto(), L"Colore=2\n");
    Scegli(kMenuColore, L"&Verde");
    ScegliRispondendo(kMenuOpzioni, L"Salva &colore", IDYES);
    EXPECT_EQ(store.Contenuto(), L"Colore=1\n");
}

TEST_F(MenuTest, SavePositionStoresTheOuterCornerInWholeTwips) {
    Carica();
    ::SetWindowPos(hwnd(), nullptr, 80, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ScegliRispondendo(kMenuOpzioni, L"Salva &posizione", IDNO);
    EXPECT_EQ(store.scritture, 0);
    ScegliRispondendo(kMenuOpzioni, L"Salva &posizione", IDYES);
    EXPECT_EQ(store.Leggi(kPos), L"1200,3000");

    // Partly beyond the left edge of the screen.
    ::SetWindowPos(hwnd(), nullptr, -40, 7, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const RECT r = Rettangolo();
    ASSERT_LT(r.left, 0);
    ScegliRispondendo(kMenuOpzioni, L"Salva &posizione", IDYES);
    EXPECT_EQ(store.Leggi(kPos), std::to_wstring(r.left * 15) + L"," + std::to_wstring(r.top * 15));
    EXPECT_EQ(store.Leggi(kPos).front(), L'-');
}

TEST_F(MenuTest, HidingTheBarKeepsTheFaceAndBottomEdgeThenTellsHowToGetItBack) {
    Carica();
    const RECT prima = Rettangolo();
    const int barra = AltezzaBarra();
    ASSERT_GT(barra, 0);

    // What the screen shows while the message is up: the bar is already gone and the window moved.
    bool barraAllaVista = true;
    RECT allaVista{};
    Osservatore osservatore(L"Esmalvio", IDOK, [&](HWND) {
        barraAllaVista = ::GetMenu(hwnd()) != nullptr;
        ::GetWindowRect(hwnd(), &allaVista);
    });
    Scegli(kMenuOpzioni, L"&Nascondi menu");
    const auto visto = osservatore.Ferma();
    ASSERT_TRUE(visto);
    EXPECT_NE(std::find(visto->testi.begin(), visto->testi.end(), L"Clicca sull'esmalvio per visualizzare il menu"),
              visto->testi.end());

    const RECT dopo = Rettangolo();
    EXPECT_FALSE(barraAllaVista);
    EXPECT_TRUE(::EqualRect(&allaVista, &dopo));
    EXPECT_EQ(::GetMenu(hwnd()), nullptr);
    EXPECT_EQ(dopo.top, prima.top + barra);
    EXPECT_EQ(dopo.bottom, prima.bottom);
    EXPECT_EQ(dopo.left, prima.left);
    EXPECT_EQ(dopo.right, prima.right);
    EXPECT_EQ(DimensioniClient(hwnd()).cx, 129);
    EXPECT_EQ(DimensioniClient(hwnd()).cy, 35);
    EXPECT_EQ(store.Contenuto(), L"Menu=No\n");
    EXPECT_EQ(IdVoce(hwnd(), kMenuOpzioni, L"&Predefinito"), 0u);  // no command can be reached now
}

TEST_F(MenuTest, DefaultsAskOnlyWhenZoneMenuPositionOrColourIsStored) {
    struct Caso {
        std::vector<std::pair<std::wstring_view, const wchar_t*>> chiavi;
        UINT icona;
    };
    const Caso casi[] = {
        {{}, MB_ICONEXCLAMATION},
        {{{kLegale, L"1"}, {kLocalita, L"Roma"}}, MB_ICONEXCLAMATION},
        {{{kFuso, L"60"}}, MB_ICONQUESTION},
        {{{kMenu, L"Si"}}, MB_ICONQUESTION},
        {{{kPos, L"1200,3000"}}, MB_ICONQUESTION},
        {{{kColore, L"0"}}, MB_ICONQUESTION},
    };
    Carica();
    for (const Caso& c : casi) {
        store.CancellaSezione();
        for (const auto& [chiave, valore] : c.chiavi) store.Scrivi(chiave, valore);
        const std::wstring salvato = store.Contenuto();
        const int scritture = store.scritture;
        const MessaggioVisto v =
            ScegliRispondendo(kMenuOpzioni, L"&Predefinito", c.icona == MB_ICONQUESTION ? IDNO : IDOK);
        EXPECT_EQ(v.icona, c.icona) << salvato;
        EXPECT_EQ(store.scritture, scritture) << salvato;
        EXPECT_EQ(store.Contenuto(), salvato);
    }
}

TEST_F(MenuTest, DefaultsKeepEverythingOnNoAndOnYesEmptyTheSectionAndDrawRedLocalTimeAtOnce) {
    store.Scrivi(kFuso, L"60");
    store.Scrivi(kLegale, L"0");
    store.Scrivi(kLocalita, L"Roma");
    store.Scrivi(kPos, L"1500,3000");
    store.Scrivi(kColore, L"2");
    store.Scrivi(kMenu, L"Si");
    orologio.Imposta(8, 0, 0);
    orologio.locale.wHour = 11;
    Carica();
    FermaTimer();
    ASSERT_EQ(FacciaOra().Testo(), L"09:00:00");
    ASSERT_EQ(Titolo(), L"Roma");
    const std::wstring salvato = store.Contenuto();
    const int scritture = store.scritture;

    ScegliRispondendo(kMenuOpzioni, L"&Predefinito", IDNO);
    EXPECT_EQ(store.Contenuto(), salvato);
    EXPECT_EQ(store.scritture, scritture);
    EXPECT_EQ(Spuntati(), std::vector<int>{2});
    EXPECT_EQ(FacciaOra().colore, 2);
    EXPECT_EQ(Titolo(), L"Roma");

    const bool puntiPrima = FacciaOra().puntiAccesi;
    const RECT prima = Rettangolo();
    ScegliRispondendo(kMenuOpzioni, L"&Predefinito", IDYES);
    EXPECT_FALSE(store.SezioneEsiste());
    EXPECT_EQ(Spuntati(), std::vector<int>{0});
    const Faccia f = FacciaOra();  // no tick since: the command drew the face itself
    EXPECT_EQ(f.colore, 0);
    EXPECT_EQ(f.Testo(), L"11:00:00");
    EXPECT_TRUE(f.puntiValidi);
    EXPECT_NE(f.puntiAccesi, puntiPrima);
    EXPECT_EQ(Titolo(), L"Locale");
    EXPECT_NE(::GetMenu(hwnd()), nullptr);
    const RECT dopo = Rettangolo();
    EXPECT_TRUE(::EqualRect(&prima, &dopo));  // not moved back anywhere

    EXPECT_EQ(ScegliRispondendo(kMenuOpzioni, L"&Predefinito", IDOK).icona, MB_ICONEXCLAMATION);
    EXPECT_FALSE(store.SezioneEsiste());
    ScegliRispondendo(kMenuOpzioni, L"Salva &colore", IDYES);
    EXPECT_EQ(store.Contenuto(), L"Colore=0\n");
}

TEST_F(MenuTest, ColourItemsMoveTheOneCheckAndReachTheFaceAtTheNextTick) {
    struct Caso {
        const wchar_t* voce;
        int colore;
    };
    Carica();
    FermaTimer();
    int mostrato = 0;
    for (const Caso& c : {Caso{L"&Verde", 1}, Caso{L"&Blu", 2}, Caso{L"&Blu", 2}, Caso{L"&Rosso", 0}}) {
        Scegli(kMenuColore, c.voce);
        EXPECT_EQ(Spuntati(), std::vector<int>{c.colore}) << c.voce;
        EXPECT_EQ(FacciaOra().colore, mostrato) << c.voce;
        finestra->Timer1_Timer();
        FermaTimer();
        const Faccia f = FacciaOra();
        EXPECT_EQ(f.colore, c.colore) << c.voce;
        EXPECT_TRUE(f.puntiValidi) << c.voce;
        mostrato = c.colore;
    }
    EXPECT_EQ(store.scritture, 0);
}

TEST_F(MenuTest, ExitAndZoneItemsHandOverToTheNavigation) {
    Carica();
    Scegli(kMenuFile, L"&Esci");
    EXPECT_EQ(navigazione.esci, 1);
    EXPECT_EQ(navigazione.apriFusi, 0);
    Scegli(kMenuOpzioni, L"&Fuso orario e avvio");
    EXPECT_EQ(navigazione.apriFusi, 1);
    EXPECT_EQ(navigazione.esci, 1);
    EXPECT_EQ(store.scritture, 0);
}

TEST_F(MenuTest, AboutWithoutSiblingShowsTheSystemBoxWithTheZoneIcon) {
    Carica();
    HWND proprietario = nullptr;
    bool iconaFusi = false;
    Osservatore osservatore(L"ESMALVIO DESKTOP", IDOK, [&](HWND dlg) {
        proprietario = ::GetWindow(dlg, GW_OWNER);
        const HICON fusi = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_FUSI));
        for (HWND c = ::GetWindow(dlg, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            if (reinterpret_cast<HICON>(::SendMessageW(c, STM_GETICON, 0, 0)) == fusi) iconaFusi = true;
        }
    });
    Scegli(kMenuFile, L"&Informazioni");
    const auto visto = osservatore.Ferma();
    ASSERT_TRUE(visto);
    EXPECT_EQ(visto->titolo, std::wstring(L"About ") + kAboutApp);
    EXPECT_EQ(proprietario, hwnd());
    EXPECT_TRUE(iconaFusi);
    EXPECT_NE(std::find(visto->testi.begin(), visto->testi.end(), kAboutApp), visto->testi.end());
    // The other text: a credit line, CR LF, then the year and version 1.0.
    const std::wregex altro(L"[^\r\n]+\r\n[^\r\n]*\\b20[0-9][0-9]\\b[^\r\n]*\\b1\\.0\\b[^\r\n]*");
    EXPECT_TRUE(std::any_of(visto->testi.begin(), visto->testi.end(),
                            [&](const std::wstring& t) { return std::regex_match(t, altro); }));
    EXPECT_EQ(navigazione.apriFusi, 0);
}

// A copy of the stand-in sibling in a folder whose name has a blank; removed with its files.
class CartellaFratello {
public:
    CartellaFratello() {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        percorso_ = std::wstring(temp) + L"esmalvio prova " + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(percorso_.c_str(), nullptr);
        std::wstring sorgente = VESKO_EXE;
        std::replace(sorgente.begin(), sorgente.end(), L'/', L'\\');
        copiato_ = ::CopyFileW(sorgente.c_str(), Fratello().c_str(), FALSE) != 0;
    }
    CartellaFratello(const CartellaFratello&) = delete;
    CartellaFratello& operator=(const CartellaFratello&) = delete;
    ~CartellaFratello() {
        // The sibling may still be ending and holding its own file for a moment.
        AttendiFinche([&] { return ::DeleteFileW(Fratello().c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND; });
        ::DeleteFileW(Argomenti().c_str());
        ::DeleteFileW((percorso_ + L"\\vesko-args.tmp").c_str());
        ::RemoveDirectoryW(percorso_.c_str());
    }
    const std::wstring& percorso() const { return percorso_; }
    bool copiato() const { return copiato_; }
    std::wstring Fratello() const { return percorso_ + L"\\vesko.exe"; }
    std::wstring Argomenti() const { return percorso_ + L"\\vesko-args.txt"; }

private:
    std::wstring percorso_;
    bool copiato_ = false;
};

std::wstring LeggiFile(const std::wstring& percorso) {
    HANDLE h = ::CreateFileW(percorso.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    UniqueHandle file(h);
    std::wstring testo(4096, L'\0');
    DWORD letti = 0;
    ::ReadFile(file.get(), testo.data(), static_cast<DWORD>(testo.size() * sizeof(wchar_t)), &letti, nullptr);
    testo.resize(letti / sizeof(wchar_t));
    return testo;
}

TEST_F(MenuTest, AboutWithSiblingStartsItQuotedWithArgumentOAndShowsNoBox) {
    CartellaFratello fratello;
    ASSERT_TRUE(fratello.copiato());
    cartella = fratello.percorso();
    Carica();
    Osservatore osservatore(L"ESMALVIO DESKTOP", IDOK);
    Scegli(kMenuFile, L"&Informazioni");
    EXPECT_FALSE(osservatore.Ferma());
    ASSERT_TRUE(AttendiFinche(
        [&] { return ::GetFileAttributesW(fratello.Argomenti().c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000));
    EXPECT_EQ(LeggiFile(fratello.Argomenti()),
              L"\"" + fratello.Fratello() + L"\" o\n" + std::to_wstring(SW_SHOWNORMAL));
}

}  // namespace
}  // namespace esmalvio::test
