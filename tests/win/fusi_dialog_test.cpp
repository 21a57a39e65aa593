// The zone dialog as a real window: its form, what it shows for the stored settings, what its
// buttons store, and how it takes turns with the clock window in a running application.
#include "zones/fusi_dialog.h"

#include <sddl.h>

#include <atomic>
#include <functional>
#include <vector>

#include "app/application.h"
#include "app/resource.h"
#include "app/texts.h"
#include "settings/globale.h"
#include "support/clock_fixture.h"
#include "zones/zone_table.h"

namespace esmalvio::test {
namespace {

constexpr const wchar_t* kAvvio = L"\"C:\\Program Files\\Esmalvio\\Esmalvio.exe\"";

std::wstring TestoDi(HWND finestra) {
    wchar_t t[256] = {};
    ::GetWindowTextW(finestra, t, 256);
    return t;
}

UniqueKey CreaChiave(HKEY radice, const std::wstring& percorso) {
    HKEY key = nullptr;
    const LSTATUS stato = ::RegCreateKeyExW(radice, percorso.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                            KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return UniqueKey(stato == ERROR_SUCCESS ? key : nullptr);
}

// Answers message boxes one after the other, each once the one before is gone; any box beyond
// those expected is answered OK and recorded too, so a wrong extra box fails the test instead of hanging it.
class Risposte {
public:
    explicit Risposte(std::vector<int> risposte)
        : thread_([this, r = std::move(risposte)] {
              for (int risposta : r) {
                  if (const auto visto = Risponditore(risposta).Visto()) visti_.push_back(*visto);
              }
              while (!basta_) {
                  if (const auto visto = Risponditore(IDOK, 50).Visto()) visti_.push_back(*visto);
              }
          }) {}
    ~Risposte() { Visti(); }
    // Only once the call that shows the boxes has returned.
    const std::vector<MessaggioVisto>& Visti() {
        basta_ = true;
        if (thread_.joinable()) thread_.join();
        return visti_;
    }

private:
    std::atomic<bool> basta_{false};
    std::vector<MessaggioVisto> visti_;
    std::thread thread_;
};

class FusiTest : public ::testing::Test {
protected:
    void TearDown() override {
        dialogo.reset();
        radice.reset();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, percorso.c_str());
    }
    Ambiente AmbienteTest() {
        Ambiente a;
        a.impostazioni = &store;
        a.orologio = &orologio;
        a.navigazione = &navigazione;
        a.radiceMacchina = radice.get();
        a.istanza = ::GetModuleHandleW(nullptr);
        a.cartella = L"C:\\Program Files\\Esmalvio";
        return a;
    }
    void Apri() {
        dialogo = std::make_unique<Fusi>(AmbienteTest());
        dialogo->Mostra();
        ASSERT_TRUE(AttendiFinche([&] { return ::IsWindowVisible(hwnd()) != FALSE; }));
    }
    HWND hwnd() const { return dialogo->hwnd(); }
    HWND Controllo(int id) const { return ::GetDlgItem(hwnd(), id); }
    LRESULT Combo(UINT msg, WPARAM wp = 0) const { return ::SendMessageW(Controllo(Fusi::kCombo1), msg, wp, 0); }
    bool Spuntato(int id) const { return ::SendMessageW(Controllo(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Spunta(int id, bool si) const { ::SendMessageW(Controllo(id), BM_SETCHECK, si ? BST_CHECKED : 0, 0); }
    // Clicks a button of Command1, answers the boxes it shows in turn and tells what they showed.
    std::vector<MessaggioVisto> Premi(int index, std::vector<int> risposte) const {
        Risposte r(std::move(risposte));
        ::SendMessageW(Controllo(Fusi::kCommand1 + index), BM_CLICK, 0, 0);
        return r.Visti();
    }
    // Clicks a button that asks one question and shows nothing else.
    MessaggioVisto Premi(int index, int risposta) const {
        const auto visti = Premi(index, std::vector<int>{risposta});
        EXPECT_EQ(visti.size(), 1u);
        return visti.empty() ? MessaggioVisto{} : visti.front();
    }
    std::wstring Avvio() const { return LeggiRegistro(kChiaveRun, kValoreRun, radice.get()); }
    bool AvvioEsiste() const {
        return ::RegGetValueW(radice.get(), std::wstring(kChiaveRun).c_str(), L"Esmalvio", RRF_RT_ANY, nullptr, nullptr,
                              nullptr) == ERROR_SUCCESS;
    }
    std::wstring Testo(UINT id) const { return esmalvio::Testo(::GetModuleHandleW(nullptr), id); }

    const std::wstring percorso = L"Software\\EsmalvioTestFusi-" + std::to_wstring(::GetCurrentProcessId());
    UniqueKey radice = CreaChiave(HKEY_CURRENT_USER, percorso);
    ImpostazioniMemoria store;
    OrologioFinto orologio;
    NavigazioneRegistrata navigazione;
    std::unique_ptr<Fusi> dialogo;
};

TEST_F(FusiTest, FormHasItsFrameIconControlsTabOrderAndColours) {
    orologio.bias = -60;  // the longest zone text, wider than the combo box
    Apri();
    EXPECT_EQ(TestoDi(hwnd()), L"Selezione fuso orario");
    const auto stile = ::GetWindowLongPtrW(hwnd(), GWL_STYLE);
    EXPECT_EQ(stile & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              WS_CAPTION | WS_SYSMENU);
    EXPECT_TRUE(::GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    EXPECT_EQ(DimensioniClient(hwnd()).cx * 15, 5055);
    EXPECT_EQ(DimensioniClient(hwnd()).cy * 15, 2625);
    RECT w{};
    ::GetWindowRect(hwnd(), &w);
    EXPECT_EQ(w.left, (::GetSystemMetrics(SM_CXSCREEN) - (w.right - w.left)) / 2);
    EXPECT_EQ(w.top, (::GetSystemMetrics(SM_CYSCREEN) - (w.bottom - w.top)) / 2);
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(hwnd(), WM_GETICON, ICON_BIG, 0)),
              ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_FUSI)));

    struct Atteso {
        int id;
        const wchar_t* testo;
        long left, top, width, height;
    };
    // In creation order, which is the tab order.
    const Atteso attesi[] = {
        {Fusi::kCombo1, nullptr, 240, 405, 4575, 315},
        {Fusi::kCheck1, L"Il fuso selezionato ha in vigore l'ora legale", 240, 960, 3855, 255},
        {Fusi::kCommand1 + 0, L"&Salva", 240, 1845, 1215, 375},
        {Fusi::kCommand1 + 1, L"&Ora locale", 1920, 1845, 1215, 375},
        {Fusi::kCommand1 + 2, L"&Chiudi", 3600, 1845, 1215, 375},
        {Fusi::kLabel1, L"Seleziona il fuso orario su cui settare l'esmalvio:", 225, 90, 4545, 255},
        {Fusi::kCheck2, L"Lancia automaticamente all'avvio di Windows", 240, 1350, 3960, 285},
        {Fusi::kLabel2, L"Esmalvio di Quilmora Software - esmalvio@quilmora.example", 210, 2370, 4620, 195},
    };
    HWND figlio = ::GetWindow(hwnd(), GW_CHILD);
    for (const Atteso& a : attesi) {
        ASSERT_EQ(::GetDlgCtrlID(figlio), a.id);
        if (a.testo) {
            EXPECT_EQ(TestoDi(figlio), a.testo);
        }
        RECT r{};
        ::GetWindowRect(figlio, &r);
        ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left * 15, a.left) << a.id;
        EXPECT_EQ(r.top * 15, a.top) << a.id;
        EXPECT_EQ((r.right - r.left) * 15, a.width) << a.id;
        EXPECT_EQ((r.bottom - r.top) * 15, a.height) << a.id;
        figlio = ::GetWindow(figlio, GW_HWNDNEXT);
    }
    EXPECT_EQ(::GetWindowLongPtrW(Controllo(Fusi::kCombo1), GWL_STYLE) & 3, CBS_DROPDOWN);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(::GetWindowLongPtrW(Controllo(Fusi::kCommand1 + i), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    }
    // The focused combo box shows its text from the start, the offset first, and opens wide enough.
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(Controllo(Fusi::kCombo1), &info));
    EXPECT_TRUE(AttendiFinche([&] {
        return ::GetFocus() == info.hwndItem &&
               LOWORD(::SendMessageW(info.hwndItem, EM_CHARFROMPOS, 0, MAKELPARAM(4, 8))) == 0;
    }));
    EXPECT_GT(Combo(CB_GETDROPPEDWIDTH), 4575 / 15);

    HWND tab = Controllo(Fusi::kCombo1);
    const int ordine[] = {Fusi::kCheck1,       Fusi::kCommand1 + 0, Fusi::kCommand1 + 1,
                          Fusi::kCommand1 + 2, Fusi::kCheck2,       Fusi::kCombo1};
    for (int id : ordine) {
        tab = ::GetNextDlgTabItem(hwnd(), tab, FALSE);
        EXPECT_EQ(::GetDlgCtrlID(tab), id);
    }

    // The window and Check1 are grey; Label1 and Check2 keep the system's face colour.
    constexpr COLORREF kGrigio = RGB(192, 192, 192);
    ASSERT_NE(::GetSysColor(COLOR_BTNFACE), kGrigio);
    const WindowDc dc(hwnd());
    EXPECT_TRUE(AttendiFinche([&] { return ::GetPixel(dc.get(), 2, 2) == kGrigio; }));
    EXPECT_EQ(::GetPixel(dc.get(), 16 + 255, 64 + 8), kGrigio);
    EXPECT_EQ(::GetPixel(dc.get(), 15 + 301, 6 + 8), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(::GetPixel(dc.get(), 16 + 262, 90 + 9), ::GetSysColor(COLOR_BTNFACE));
}

TEST_F(FusiTest, ListAndBoxesFollowTheStoredZoneOrTheSystemZoneAndTheRunValue) {
    struct Caso {
        const wchar_t* fuso;
        const wchar_t* legale;
        LONG bias;
        WORD mese, giorno;  // today's local date in 2026; UTC is always 28 March, still winter
        int indice;
        bool legaleSpuntato;
    };
    const Caso casi[] = {
        {L"", L"", -60, 7, 1, 14, true},     {L"", L"", -60, 12, 8, 14, false},   {L"", L"", -60, 3, 29, 14, true},
        {L"", L"1", 210, 12, 8, 9, false},   {L"", L"", -345, 7, 1, -1, true},    {L"-210", L"0", 0, 7, 1, 9, false},
        {L"330", L"0", 0, 12, 8, 21, false}, {L"0", L"0", -60, 12, 8, 13, false}, {L"45", L"1", -60, 12, 8, -1, true},
        {L"60", L"0", -60, 7, 1, 14, false}, {L"60", L"1", 0, 12, 8, 14, true},   {L"abc", L"1", 210, 12, 8, 9, false},
    };
    for (const Caso& c : casi) {
        store.CancellaSezione();
        if (*c.fuso) store.Scrivi(kFuso, c.fuso);
        if (*c.legale) store.Scrivi(kLegale, c.legale);
        orologio.bias = c.bias;
        orologio.utc = {2026, 3, 6, 28, 23, 30, 0, 0};
        orologio.locale = {2026, c.mese, 0, c.giorno, 0, 30, 0, 0};
        const int scritture = store.scritture;
        Apri();
        EXPECT_EQ(store.scritture, scritture);
        EXPECT_EQ(Combo(CB_GETCURSEL), c.indice) << c.fuso << L" " << c.bias;
        const std::wstring_view testo = c.indice < 0 ? L"" : TabellaFusi()[static_cast<std::size_t>(c.indice)].testo;
        EXPECT_EQ(TestoDi(Controllo(Fusi::kCombo1)), testo);
        EXPECT_EQ(Spuntato(Fusi::kCheck1), c.legaleSpuntato) << c.fuso << L" " << c.mese << L"/" << c.giorno;
        EXPECT_FALSE(Spuntato(Fusi::kCheck2));
        ASSERT_EQ(Combo(CB_GETCOUNT), 30);
        for (int i = 0; i < 30; ++i) {
            wchar_t voce[128] = {};
            ::SendMessageW(Controllo(Fusi::kCombo1), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(voce));
            const Zona& zona = TabellaFusi()[static_cast<std::size_t>(i)];
            EXPECT_EQ(std::wstring(voce), zona.testo);
            EXPECT_EQ(static_cast<int>(Combo(CB_GETITEMDATA, static_cast<WPARAM>(i))), zona.offset);
        }
    }

    // Any data in the Run value ticks Check2, even another program's path; empty data does not.
    for (const auto& [dati, spuntato] :
         {std::pair{L"C:\\Vecchio\\Esmalvio.exe", true}, std::pair{L"x", true}, std::pair{L"", false}}) {
        ASSERT_TRUE(ScriviRegistro(kChiaveRun, kValoreRun, dati, radice.get()));
        Apri();
        EXPECT_EQ(Spuntato(Fusi::kCheck2), spuntato) << dati;
    }
}

TEST_F(FusiTest, SaveAsksThenStoresTheZoneAndTheQuotedAutostart) {
    Apri();
    ASSERT_EQ(Combo(CB_GETCURSEL), 13);
    const MessaggioVisto domanda = Premi(0, IDYES);
    EXPECT_EQ(domanda.titolo, L"Esmalvio");
    EXPECT_EQ(domanda.testo, L"Salvo le impostazioni?");
    EXPECT_EQ(domanda.icona, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_EQ(domanda.pulsanti, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(store.Contenuto(), L"Fuso=0\nLegale=0\nLocalit\u00e0=Ora di Greenwich\n");
    EXPECT_FALSE(AvvioEsiste());

    Combo(CB_SETCURSEL, 9);
    Premi(0, IDYES);
    EXPECT_EQ(store.Contenuto(), L"Fuso=-210\nLegale=0\nLocalit\u00e0=Terranova\n");

    Combo(CB_SETCURSEL, 14);
    Spunta(Fusi::kCheck1, true);
    Spunta(Fusi::kCheck2, true);
    Premi(0, IDYES);
    EXPECT_EQ(store.Contenuto(), L"Fuso=60\nLegale=1\nLocalit\u00e0=Roma\n");
    EXPECT_EQ(Avvio(), kAvvio);
    EXPECT_EQ(Combo(CB_GETCURSEL), 14);  // the dialog stays as it was
    EXPECT_TRUE(::IsWindowVisible(hwnd()));

    // No: nothing changes, not even the Run value.
    Combo(CB_SETCURSEL, 21);
    Spunta(Fusi::kCheck2, false);
    const int scritture = store.scritture;
    Premi(0, IDNO);
    EXPECT_EQ(store.scritture, scritture);
    EXPECT_EQ(Avvio(), kAvvio);

    Premi(0, IDYES);
    EXPECT_EQ(store.Contenuto(), L"Fuso=330\nLegale=1\nLocalit\u00e0=Delhi\n");
    EXPECT_FALSE(AvvioEsiste());
    Premi(0, IDYES);  // nothing to remove: no complaint
    EXPECT_FALSE(AvvioEsiste());
}

TEST_F(FusiTest, AutostartThatCannotBeChangedIsReportedAndTheZoneStaysSaved) {
    // A key deleted under an open handle refuses every change.
    const std::wstring sparita = percorso + L"\\Sparita";
    UniqueKey negata = CreaChiave(HKEY_CURRENT_USER, sparita);
    ASSERT_EQ(::RegDeleteKeyW(HKEY_CURRENT_USER, sparita.c_str()), ERROR_SUCCESS);
    radice = std::move(negata);
    for (const bool avvio : {true, false}) {
        store.CancellaSezione();
        Apri();
        Spunta(Fusi::kCheck2, avvio);
        const auto visti = Premi(0, {IDYES, IDOK});
        ASSERT_EQ(visti.size(), 2u) << avvio;
        EXPECT_EQ(visti[1].testo, Testo(IDS_FUSI_AVVIO_NEGATO));
        EXPECT_EQ(visti[1].icona, static_cast<UINT>(MB_ICONEXCLAMATION));
        EXPECT_EQ(visti[1].pulsanti, static_cast<UINT>(MB_OK));
        EXPECT_EQ(store.Contenuto(), L"Fuso=0\nLegale=0\nLocalit\u00e0=Ora di Greenwich\n");
    }

    // A Run key the user may only read, as HKEY_LOCAL_MACHINE is for a standard user: only a change
    // that is needed and refused is reported.
    radice = CreaChiave(HKEY_CURRENT_USER, percorso);
    UniqueKey run = CreaChiave(radice.get(), std::wstring(kChiaveRun));
    ASSERT_TRUE(ScriviRegistro(kChiaveRun, kValoreRun, kAvvio, radice.get()));
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_TRUE(
        ::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KRSD;;;WD)", SDDL_REVISION_1, &sd, nullptr));
    EXPECT_EQ(::RegSetKeySecurity(run.get(), DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
    ::LocalFree(sd);
    Apri();
    ASSERT_TRUE(Spuntato(Fusi::kCheck2));
    Premi(0, IDYES);  // already in place: no complaint
    Spunta(Fusi::kCheck2, false);
    EXPECT_EQ(Premi(0, {IDYES, IDOK}).size(), 2u);
    EXPECT_EQ(Avvio(), kAvvio);
}

TEST_F(FusiTest, SaveWithoutAChosenEntryStoresNothingAndTypedTextNeverBreaksThePlace) {
    orologio.bias = -345;  // a zone the table does not list
    Apri();
    ASSERT_EQ(Combo(CB_GETCURSEL), -1);
    Spunta(Fusi::kCheck2, true);
    auto visti = Premi(0, {IDYES, IDOK});
    ASSERT_EQ(visti.size(), 2u);
    EXPECT_EQ(visti[1].testo, Testo(IDS_FUSI_SCEGLI_FUSO));
    EXPECT_EQ(visti[1].icona, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(visti[1].pulsanti, static_cast<UINT>(MB_OK));
    EXPECT_EQ(store.scritture, 0);
    EXPECT_FALSE(AvvioEsiste());

    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(Controllo(Fusi::kCombo1), &info));
    // Typing over the chosen entry with the list closed leaves no entry chosen.
    Combo(CB_SETCURSEL, 14);
    ::SendMessageW(info.hwndItem, EM_SETSEL, 0, -1);
    for (const wchar_t c : std::wstring(L"Milano")) ::SendMessageW(info.hwndItem, WM_CHAR, c, 1);
    ASSERT_EQ(TestoDi(Controllo(Fusi::kCombo1)), L"Milano");
    ASSERT_EQ(Combo(CB_GETCURSEL), -1);
    EXPECT_EQ(Premi(0, {IDYES, IDOK}).size(), 2u);
    EXPECT_EQ(store.scritture, 0);

    // Typed text that names no place keeps the entry's own; one that does is taken as typed.
    struct Caso {
        const wchar_t* testo;
        int indice;
        const wchar_t* localita;
    };
    for (const Caso& c : {Caso{L"Roma,Milano", 9, L"Terranova"}, Caso{L"(GMT", 21, L"Delhi"}, Caso{L"", 0, L"Eniwetok"},
                          Caso{L"(GMT +1.00)  Milano", 14, L"Milano"}}) {
        ::SetWindowTextW(info.hwndItem, c.testo);
        ::SendMessageW(info.hwndList, LB_SETCURSEL, c.indice, 0);
        ASSERT_EQ(TestoDi(Controllo(Fusi::kCombo1)), c.testo);
        ASSERT_EQ(Combo(CB_GETCURSEL), c.indice);
        Premi(0, IDYES);
        EXPECT_EQ(store.Leggi(kLocalita), c.localita) << c.testo;
        EXPECT_EQ(store.Leggi(kFuso), std::to_wstring(TabellaFusi()[static_cast<std::size_t>(c.indice)].offset));
    }
    EXPECT_EQ(Avvio(), kAvvio);
}

TEST_F(FusiTest, LocalTimeDeletesOnlyTheZoneKeysAndTheNextOpeningFollowsTheSystem) {
    store.Scrivi(kFuso, L"330");
    store.Scrivi(kLocalita, L"Delhi");
    store.Scrivi(kLegale, L"1");
    store.Scrivi(kColore, L"2");
    ASSERT_TRUE(ScriviRegistro(kChiaveRun, kValoreRun, L"x", radice.get()));
    Apri();
    const MessaggioVisto domanda = Premi(1, IDNO);
    EXPECT_EQ(domanda.testo, L"Ripristino le impostazioni dell'ora locale?");
    EXPECT_EQ(domanda.icona, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_EQ(domanda.pulsanti, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(store.Leggi(kFuso), L"330");

    Premi(1, IDYES);
    EXPECT_EQ(store.Contenuto(), L"Colore=2\n");
    EXPECT_EQ(Avvio(), L"x");
    EXPECT_EQ(Combo(CB_GETCURSEL), 21);
    EXPECT_TRUE(Spuntato(Fusi::kCheck1));
    Premi(1, IDYES);  // again, with nothing left to delete
    EXPECT_EQ(store.Contenuto(), L"Colore=2\n");

    orologio.bias = -60;
    orologio.Imposta(12, 0, 0, 2026, 7, 1);
    Apri();
    EXPECT_EQ(Combo(CB_GETCURSEL), 14);
    EXPECT_TRUE(Spuntato(Fusi::kCheck1));
}

TEST_F(FusiTest, ChiudiReopensTheClockTheTitleBarEndsAndAccessKeysReachTheButtons) {
    Apri();
    // The keys the application's dialog manager sees, as if typed in the combo box.
    MSG alt{Controllo(Fusi::kCombo1), WM_SYSCHAR, L'o', 1 << 29, 0, {}};
    {
        Risponditore r(IDNO);
        EXPECT_TRUE(::IsDialogMessageW(hwnd(), &alt));
        EXPECT_EQ(r.Visto().value_or(MessaggioVisto{}).testo, L"Ripristino le impostazioni dell'ora locale?");
    }
    // The focus goes back to a control, not to the window, once the question is gone.
    EXPECT_TRUE(AttendiFinche([&] { return ::IsChild(hwnd(), ::GetFocus()) != FALSE; }));
    alt.wParam = L's';
    {
        Risponditore r(IDNO);
        EXPECT_TRUE(::IsDialogMessageW(hwnd(), &alt));
        EXPECT_EQ(r.Visto().value_or(MessaggioVisto{}).testo, L"Salvo le impostazioni?");
    }
    alt.wParam = L'c';
    EXPECT_TRUE(::IsDialogMessageW(hwnd(), &alt));
    EXPECT_EQ(navigazione.riapriOrologio, 1);
    EXPECT_EQ(navigazione.esci, 0);
    ::SendMessageW(Controllo(Fusi::kCommand1 + 2), BM_CLICK, 0, 0);
    EXPECT_EQ(navigazione.riapriOrologio, 2);

    ::SendMessageW(hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(navigazione.esci, 1);
    EXPECT_EQ(navigazione.riapriOrologio, 2);
    EXPECT_EQ(store.scritture, 0);
}

// Dispatches as the application's message loop does until the condition holds; false on timeout.
bool AttendiApplicazione(Applicazione& app, const std::function<bool()>& condizione, bool* uscita = nullptr) {
    const ULONGLONG fine = ::GetTickCount64() + 5000;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT && uscita) *uscita = true;
            if (msg.message == WM_QUIT || app.Gestisci(msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (condizione()) return true;
        if (::GetTickCount64() >= fine) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

TEST_F(FusiTest, MenuCommandSwapsTheClockForTheDialogAndChiudiShowsTheChosenZone) {
    orologio.Imposta(9, 5, 3);
    orologio.locale.wHour = 20;
    Applicazione app(AmbienteTest());
    ASSERT_TRUE(app.Avvia());
    HWND orologioPrima = app.Orologio()->hwnd();
    wchar_t voce[64] = {};
    ::GetMenuStringW(::GetMenu(orologioPrima), IDM_MNUIMP + 0, voce, 64, MF_BYCOMMAND);
    EXPECT_STREQ(voce, L"&Fuso orario e avvio");
    ::SendMessageW(orologioPrima, WM_COMMAND, MAKEWPARAM(IDM_MNUIMP + 0, 0), 0);
    ASSERT_TRUE(
        AttendiApplicazione(app, [&] { return app.DialogoFusi() && ::IsWindowVisible(app.DialogoFusi()->hwnd()); }));
    EXPECT_EQ(app.Orologio(), nullptr);
    EXPECT_FALSE(::IsWindow(orologioPrima));
    EXPECT_TRUE(FinestreDi(Esmalvio::kClasse, ::GetCurrentProcessId()).empty());

    HWND dlg = app.DialogoFusi()->hwnd();
    ::SendDlgItemMessageW(dlg, Fusi::kCombo1, CB_SETCURSEL, 21, 0);
    {
        Risponditore r(IDYES);
        ::SendDlgItemMessageW(dlg, Fusi::kCommand1 + 0, BM_CLICK, 0, 0);
        ASSERT_TRUE(r.Visto());
    }
    ::SendDlgItemMessageW(dlg, Fusi::kCommand1 + 2, BM_CLICK, 0, 0);
    ASSERT_TRUE(AttendiApplicazione(app, [&] { return app.Orologio() != nullptr; }));
    EXPECT_EQ(app.DialogoFusi(), nullptr);
    EXPECT_FALSE(::IsWindow(dlg));
    HWND orologioDopo = app.Orologio()->hwnd();
    // The fake clock stands still, so every drawing of the face shows the same time.
    EXPECT_TRUE(AttendiFinche([&] { return LeggiFaccia(orologioDopo).Testo() == L"14:35:03"; }));  // UTC + 5.30
    EXPECT_EQ(TestoDi(orologioDopo), L"Delhi");

    // The dialog's title bar ends the program.
    ::SendMessageW(orologioDopo, WM_COMMAND, MAKEWPARAM(IDM_MNUIMP + 0, 0), 0);
    ASSERT_TRUE(AttendiApplicazione(app, [&] { return app.DialogoFusi() != nullptr; }));
    bool uscita = false;
    ::SendMessageW(app.DialogoFusi()->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(AttendiApplicazione(
        app, [&] { return uscita; }, &uscita));
    EXPECT_EQ(app.DialogoFusi(), nullptr);
    EXPECT_EQ(app.Orologio(), nullptr);
}

}  // namespace
}  // namespace esmalvio::test
