// The clock window's menus, chosen through the window's own menu bar.
#include <filesystem>
#include <fstream>

#include "support/menu_fixture.h"

namespace quilmora::test {
namespace {

const wchar_t* const kSpuntato[] = {L" *&Rosso &Verde &Blu", L" &Rosso *&Verde &Blu", L" &Rosso &Verde *&Blu"};

TEST_F(MenuTest, BarHoldsThreeMenusWithTheirItemsAndOnlyRedChecked) {
    Carica();
    std::wstring viste;
    wchar_t t[128] = {};
    for (UINT m = 0; ::GetMenuStringW(::GetMenu(hwnd()), m, t, 128, MF_BYPOSITION) > 0; ++m) {
        viste += L"\n" + std::wstring(t) + L":" + VociMenu(hwnd(), static_cast<int>(m));
    }
    EXPECT_EQ(viste,
              L"\n&File: &Informazioni - &Esci\n&Colore: *&Rosso &Verde &Blu\n&Opzioni: &Fuso orario e avvio - "
              L"&Nascondi menu - Salva &colore Salva &posizione - &Predefinito");
}

TEST_F(MenuTest, ColourItemsMoveTheCheckAndReachTheFaceAtTheNextTickSaveItemsStoreOnYesOthersNavigate) {
    Carica();
    ::KillTimer(hwnd(), Esmalvio::kIdTimer1);  // only the test's own calls draw from now on
    for (const auto& [voce, colore, prima] : {std::tuple{kVerde, 1, 0}, {kBlu, 2, 1}, {kBlu, 2, 2}}) {
        EXPECT_EQ(Scegli(voce), Visti{});
        EXPECT_EQ(VociMenu(hwnd(), 1), kSpuntato[colore]);
        EXPECT_EQ(FacciaOra().colore, prima);
        finestra->Timer1_Timer();
        ::KillTimer(hwnd(), Esmalvio::kIdTimer1);
        EXPECT_EQ(FacciaOra().colore, colore);
    }

    const Visti colore{{L"Salvo l'attuale colore?", MB_ICONQUESTION, MB_YESNO}};
    const Visti posizione{{L"Salvo l'attuale posizione?", MB_ICONQUESTION, MB_YESNO}};
    ::SetWindowPos(hwnd(), nullptr, -40, 7, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // partly beyond the left edge
    EXPECT_EQ(Scegli(kSalvaColore, {IDNO}), colore);
    EXPECT_EQ(Scegli(kSalvaPosizione, {IDNO}), posizione);
    EXPECT_EQ(store.scritture, 0);
    EXPECT_EQ(Scegli(kSalvaColore, {IDYES}), colore);
    EXPECT_EQ(Scegli(kSalvaPosizione, {IDYES}), posizione);
    EXPECT_EQ(store.Contenuto(), L"Colore=2\nPos=-600,105\n");

    Scegli(kEsci);
    EXPECT_EQ(std::pair(navigazione.esci, navigazione.apriFusi), std::pair(1, 0));
    Scegli(kFusoOrario);
    EXPECT_EQ(std::pair(navigazione.esci, navigazione.apriFusi), std::pair(1, 1));
}

TEST_F(MenuTest, HidingTheBarKeepsTheFaceAndBottomEdgeThenTellsHowToGetItBack) {
    Carica();
    const auto prima = Rettangolo(hwnd());
    const SIZE client = DimensioniClient(hwnd());
    // What the screen shows while the message is up: the bar already gone and the window moved.
    MessaggioVisto visto;
    Lati allaVista{};
    Osservatore osservatore(L"Esmalvio", IDOK, [&](HWND dlg) {
        visto = LeggiMessaggio(dlg);
        if (!::GetMenu(hwnd())) allaVista = Rettangolo(hwnd());
    });
    ::SendMessageW(hwnd(), WM_COMMAND, ::GetMenuItemID(::GetSubMenu(::GetMenu(hwnd()), 2), 2), 0);
    ASSERT_TRUE(osservatore.Ferma());
    EXPECT_EQ(Visto(visto.testo, visto.icona, visto.pulsanti),
              Visto(L"Clicca sull'esmalvio per visualizzare il menu", MB_ICONINFORMATION, MB_OK));
    EXPECT_EQ((std::array{allaVista[0], allaVista[2], allaVista[3]}), (std::array{prima[0], prima[2], prima[3]}));
    EXPECT_EQ(std::pair(DimensioniClient(hwnd()).cx, DimensioniClient(hwnd()).cy), std::pair(client.cx, client.cy));
    EXPECT_EQ(store.Contenuto(), L"Menu=No\n");
}

TEST_F(MenuTest, DefaultsAskOnlyWhenZoneMenuPositionOrColourIsStoredAndOnYesDrawRedLocalTimeAtOnce) {
    const std::pair<std::wstring_view, const wchar_t*> salvate[] = {
        {kFuso, L"60"}, {kLegale, L"0"}, {kLocalita, L"Roma"}, {kPos, L"1500,3000"}, {kColore, L"2"}, {kMenu, L"Si"}};
    for (const auto& [chiave, valore] : salvate) store.Scrivi(chiave, valore);
    orologio.locale.wHour = 11;  // UTC is 09:05:03
    Carica();
    ::KillTimer(hwnd(), Esmalvio::kIdTimer1);  // only the test's own calls draw from now on
    ASSERT_EQ(FacciaOra().Testo(), L"10:05:03");
    const bool puntiPrima = FacciaOra().puntiAccesi;
    const Visti reimposto{{L"Reimposto le opzioni predefinite?", MB_ICONQUESTION, MB_YESNO}};
    EXPECT_EQ(Scegli(kPredefinito, {IDYES}), reimposto);
    EXPECT_FALSE(store.SezioneEsiste());
    EXPECT_EQ(VociMenu(hwnd(), 1), kSpuntato[0]);
    const Faccia f = FacciaOra();  // no tick since: the command drew the face itself, colons one phase on
    EXPECT_EQ(std::tuple(f.colore, f.Testo(), f.puntiValidi, f.puntiAccesi, Titolo()),
              std::tuple(0, std::wstring(L"11:05:03"), true, !puntiPrima, std::wstring(L"Locale")));

    // Nothing to reset, or only the daylight flag and the place: no question. No keeps everything.
    const Visti gia{{L"Le impostazioni sono gi\u00e0 quelle predefinite", MB_ICONEXCLAMATION, MB_OK}};
    for (const auto& chiavi :
         std::vector<std::vector<std::wstring_view>>{{}, {kLegale, kLocalita}, {kFuso}, {kMenu}, {kPos}, {kColore}}) {
        store.CancellaSezione();
        for (const auto chiave : chiavi) store.Scrivi(chiave, L"1");
        const std::wstring salvato = store.Contenuto();
        const bool chiede = chiavi.size() == 1;
        EXPECT_EQ(Scegli(kPredefinito, {chiede ? IDNO : IDOK}), chiede ? reimposto : gia) << salvato;
        EXPECT_EQ(store.Contenuto(), salvato);
    }
}

// A folder whose name has a blank, for a copy of the stand-in sibling.
class FratelloTest : public MenuTest {
protected:
    void SetUp() override { cartella = cartellaFratello.percorso().wstring(); }
    const CartellaTemporanea cartellaFratello{L"esmalvio prova"};
};

TEST_F(FratelloTest, AboutShowsTheSystemBoxOrStartsTheSiblingQuotedWithArgumentO) {
    Carica();
    // Without the sibling: the system's About box, owned by the clock.
    HWND proprietario = nullptr;
    std::wstring titolo;
    Osservatore box(L"ESMALVIO DESKTOP", IDOK, [&](HWND dlg) {
        proprietario = ::GetWindow(dlg, GW_OWNER);
        titolo = TestoDi(dlg);
    });
    EXPECT_EQ(Scegli(kInformazioni), Visti{});
    box.Ferma();
    EXPECT_EQ(titolo, L"About  ESMALVIO DESKTOP");
    EXPECT_EQ(proprietario, hwnd());

    // With it: the sibling, and no box.
    std::filesystem::copy_file(VESKO_EXE, cartellaFratello / L"vesko.exe");
    Osservatore nessuno(L"ESMALVIO DESKTOP", IDOK);
    EXPECT_EQ(Scegli(kInformazioni), Visti{});
    EXPECT_FALSE(nessuno.Ferma());
    const auto argomenti = cartellaFratello / L"vesko-args.txt";
    ASSERT_TRUE(AttendiFinche([&] { return std::filesystem::exists(argomenti); }, 20000));
    std::ifstream file(argomenti, std::ios::binary);
    const std::string byte{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(byte.data()), byte.size() / sizeof(wchar_t)),
              L"\"" + cartella + L"\\vesko.exe\" o\n" + std::to_wstring(SW_SHOWNORMAL));
}

}  // namespace
}  // namespace quilmora::test
