// Esmalvio.exe as processes: one copy at a time, the time it shows, its ticking and its end.
#include <gtest/gtest.h>

#include <oleacc.h>
#include <psapi.h>

#include <wtsapi32.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>

#include "support/avvii_insieme.h"
#include "support/dialog_watch.h"
#include "win/resource.h"
#include "zones/fusi_dialog.h"

namespace quilmora::test {
namespace {

constexpr int kGiorno = 24 * 3600;

int Secondi(const Faccia& f) {
    return ((f.cifre[0] * 10 + f.cifre[1]) * 60 + f.cifre[2] * 10 + f.cifre[3]) * 60 + f.cifre[4] * 10 + f.cifre[5];
}

// A face drawn by a tick, and the test's clock (seconds of the day) read around the reading.
struct Lettura {
    Faccia faccia;
    int prima = 0, dopo = 0;
};

// Waits for the face to change and settle (read the same twice): another process may be halfway through drawing.
Lettura AlTick(HWND h, bool utc = false) {
    const auto adesso = [utc] {
        SYSTEMTIME t{};
        utc ? ::GetSystemTime(&t) : ::GetLocalTime(&t);
        return (t.wHour * 60 + t.wMinute) * 60 + t.wSecond;
    };
    auto stato = [](const Faccia& f) { return f.Testo() + (!f.puntiValidi ? L"?" : f.puntiAccesi ? L"*" : L"."); };
    const std::wstring iniziale = stato(LeggiFaccia(h));
    std::wstring precedente = iniziale;
    int primaDellaPrecedente = adesso();
    Lettura l;
    EXPECT_TRUE(AttendiFinche([&] {
        const int prima = adesso();
        l.faccia = LeggiFaccia(h);
        l.dopo = adesso();
        l.prima = std::exchange(primaDellaPrecedente, prima);
        const std::wstring s = stato(l.faccia);
        return std::exchange(precedente, s) == s && s != iniziale && s.find(L'?') == std::wstring::npos;
    })) << "the face did not tick";
    return l;
}

// The face is within a second of the clock around its reading, moved on by `minuti`.
bool OraAttesa(const Lettura& l, int minuti) {
    const auto modulo = [](int s) { return (s % kGiorno + kGiorno) % kGiorno; };
    return modulo(Secondi(l.faccia) - (l.prima + minuti * 60 - 1)) <= modulo(l.dopo - l.prima + 2);
}

// The first copy shows local time, then the stored zone's, ticks on through a second start and ends with 0 on close.
TEST(ProgrammaTest, SecondStartEndsWhileTheFirstShowsLocalOrZoneTimeTicksAndClosesWithCodeZero) {
    CancellaImpostazioniProgramma();
    const Processo primo;
    const HWND h = primo.AttendiFinestra();
    ASSERT_NE(h, nullptr);

    AvviiInsieme secondo(1);
    EXPECT_TRUE(secondo.Attendi(0, 20000, true));
    ASSERT_EQ(secondo.risposte.size(), 1u);
    const MessaggioVisto& visto = secondo.risposte.begin()->second;
    EXPECT_EQ(visto.testo, L"Esmalvio Desktop \u00e8 gi\u00e0 in esecuzione!");
    EXPECT_EQ(visto.pulsanti, static_cast<UINT>(MB_OK));
    EXPECT_EQ(visto.icona, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(secondo.massimoOrologi, 1);  // the first clock only
    EXPECT_EQ(secondo.Codici().begin()->second, 0u);

    const Lettura a = AlTick(h), b = AlTick(h);
    EXPECT_TRUE(OraAttesa(a, 0)) << a.faccia.Testo();
    EXPECT_NE(a.faccia.puntiAccesi, b.faccia.puntiAccesi);
    const int passo = (Secondi(b.faccia) - Secondi(a.faccia) + kGiorno) % kGiorno;
    EXPECT_TRUE(passo == 1 || passo == 2) << passo;  // two when a tick came late under load

    // +5.30 and the daylight hour: never the test machine's own local time, summer or winter.
    ScriviImpostazioneProgramma(L"Fuso", L"330");
    ScriviImpostazioneProgramma(L"Legale", L"1");
    AlTick(h);  // a tick may have read the settings halfway through their writing
    const Lettura fuso = AlTick(h, true);
    EXPECT_TRUE(OraAttesa(fuso, 390)) << "zone +330 with the daylight hour: " << fuso.faccia.Testo();

    ::PostMessageW(h, WM_CLOSE, 0, 0);
    EXPECT_TRUE(primo.AttendiFine(10000));
    EXPECT_EQ(primo.CodiceUscita(), 0u);
    CancellaImpostazioniProgramma();
}

TEST(ProgrammaTest, SecondStartIsRefusedAlsoWhenTheRunningCopyIsOutOfReach) {
    // A copy started with higher rights holds the single-copy mutex where a plain start may not open it.
    SECURITY_DESCRIPTOR sd{};
    ACL nessunAccesso{};
    ASSERT_TRUE(::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) &&
                ::InitializeAcl(&nessunAccesso, sizeof nessunAccesso, ACL_REVISION) &&
                ::SetSecurityDescriptorDacl(&sd, TRUE, &nessunAccesso, FALSE));
    SECURITY_ATTRIBUTES sa{sizeof sa, &sd, FALSE};
    const UniqueHandle altraCopia(::CreateMutexW(&sa, FALSE, kIstanzaUnica));
    ASSERT_NE(altraCopia.get(), nullptr);

    AvviiInsieme secondo(1);
    EXPECT_TRUE(secondo.Attendi(0, 20000));
    EXPECT_EQ(secondo.massimoOrologi, 0) << "a second clock runs";
    EXPECT_EQ(secondo.risposte.size(), 1u);
    EXPECT_EQ(secondo.Codici().begin()->second, 0u);
}

// A close request that comes while a modal loop runs is carried out once the box has gone, after the box's answer;
// until then the window that owns the box stays.
TEST(ProgrammaTest, CloseRequestDuringABoxEndsTheProgramAfterTheAnswer) {
    const std::tuple<int, const wchar_t*, int, const wchar_t*> casi[] = {
        {IDM_MNUIMP + MNUIMP_SALVA_COLORE, L"Esmalvio", IDNO, L""},
        {IDM_MNUFILE + MNUFILE_INFORMAZIONI, L"About  ESMALVIO DESKTOP", IDOK, L""},
        {Fusi::kCommand1 + 0, L"Esmalvio", IDYES, L"60"},  // Salva in the zone dialog; Rome is chosen by itself
    };
    // A folder without the sibling program, so that the About command shows the system's box.
    const auto cartella =
        std::filesystem::temp_directory_path() / (L"esmalvio-" + std::to_wstring(::GetCurrentProcessId()));
    std::filesystem::create_directories(cartella);
    std::filesystem::copy_file(ESMALVIO_EXE, cartella / L"Esmalvio.exe",
                               std::filesystem::copy_options::overwrite_existing);
    for (const auto& [comando, titolo, risposta, fuso] : casi) {
        SCOPED_TRACE(titolo + std::to_wstring(comando));
        CancellaImpostazioniProgramma();
        const Processo p(L"", (cartella / L"Esmalvio.exe").wstring());
        HWND finestra = p.AttendiFinestra();
        ASSERT_NE(finestra, nullptr);
        if (comando == Fusi::kCommand1) {
            ::PostMessageW(finestra, WM_COMMAND, IDM_MNUIMP + MNUIMP_FUSO_ORARIO, 0);
            ASSERT_NE(finestra = p.AttendiFinestra(Fusi::kClasse), nullptr);
        }
        ::PostMessageW(finestra, WM_COMMAND, MAKEWPARAM(comando, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(finestra, comando)));
        HWND box = nullptr;
        ASSERT_TRUE(AttendiFinche([&] {
            for (HWND h : FinestreDi(L"#32770", p.Id())) box = ::IsWindowVisible(h) ? h : box;
            return box && TestoDi(box) == titolo;
        }));
        DWORD_PTR esito = 0;
        EXPECT_TRUE(::SendMessageTimeoutW(finestra, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &esito));
        Pompa(300);
        EXPECT_TRUE(::IsWindow(finestra) && ::IsWindow(box) && p.CodiceUscita() == STILL_ACTIVE);
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(risposta, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(box, risposta)));
        ASSERT_TRUE(AttendiFinche([&] { return !::IsWindow(box); }, 10000));
        EXPECT_TRUE(p.AttendiFine(5000));
        EXPECT_EQ(LeggiImpostazioneProgramma(L"Fuso"), fuso);
    }
    std::error_code errore;
    std::filesystem::remove_all(cartella, errore);
}

// The client area's accessible object, as a screen reader gets it; COM is this thread's already.
IAccessible* Accessibile(HWND finestra) {
    IAccessible* oggetto = nullptr;
    return ::AccessibleObjectFromWindow(finestra, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&oggetto)) == S_OK
               ? oggetto
               : nullptr;
}

// Whether a process has loaded a DLL of that name.
bool Caricata(DWORD processo, const wchar_t* dll) {
    const UniqueHandle p(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processo));
    HMODULE moduli[256];
    DWORD byte = 0;
    if (!p || !::K32EnumProcessModules(p.get(), moduli, sizeof moduli, &byte)) return false;
    for (DWORD i = 0; i < byte / sizeof(HMODULE); ++i) {
        wchar_t nome[MAX_PATH] = {};
        ::K32GetModuleBaseNameW(p.get(), moduli[i], nome, MAX_PATH);
        if (::lstrcmpiW(nome, dll) == 0) return true;
    }
    return false;
}

// As a screen reader in another process reads it: one clock, named by the time its face shows and whose time it
// is, however it is reached; an object held after the window is gone answers errors, and this process goes on.
TEST(ProgrammaTest, TheFaceIsReadAsOneClockNamedByItsTimeAndAHeldObjectAnswersErrorsOnceTheWindowIsGone) {
    CancellaImpostazioniProgramma();
    const Processo p;
    const HWND h = p.AttendiFinestra();
    ASSERT_NE(h, nullptr);
    EXPECT_FALSE(Caricata(p.Id(), L"oleacc.dll")) << "loaded before anybody asked";
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    IAccessible* const faccia = Accessibile(h);
    ASSERT_NE(faccia, nullptr);
    EXPECT_TRUE(Caricata(p.Id(), L"oleacc.dll"));
    VARIANT se{};
    se.vt = VT_I4;
    se.lVal = CHILDID_SELF;
    const auto nome = [&] {
        BSTR b = nullptr;
        const HRESULT esito = faccia->get_accName(se, &b);
        const std::wstring n = SUCCEEDED(esito) && b ? b : L"";
        ::SysFreeString(b);
        return n;
    };
    // Read with the face in between: a tick may come between the two.
    const auto letto = [&](const std::wstring& diChi) {
        std::wstring n, f;
        const bool uguali = AttendiFinche([&] {
            n = nome();
            f = LeggiFaccia(h).Testo();
            return n == nome() && n == f + diChi;
        });
        std::printf("accessible name: %ls\n", n.c_str());
        return uguali;
    };
    EXPECT_TRUE(letto(L" - Ora locale"));
    ScriviImpostazioneProgramma(L"Fuso", L"60");
    ScriviImpostazioneProgramma(L"Legale", L"0");
    ScriviImpostazioneProgramma(L"Localit\u00e0", L"Roma");
    EXPECT_TRUE(letto(L" - Ora di Roma"));
    // By every path the same clock: the window at a digit, the object's point there, and a late-bound call.
    RECT cifra = Celle(h)[0];
    ::MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&cifra), 2);
    const POINT centro{(cifra.left + cifra.right) / 2, (cifra.top + cifra.bottom) / 2};
    EXPECT_EQ(::WindowFromPoint(centro), h);
    VARIANT colpito{};
    EXPECT_EQ(faccia->accHitTest(centro.x, centro.y, &colpito), S_OK);
    EXPECT_EQ(std::pair(colpito.vt, colpito.lVal), std::pair(VARTYPE{VT_I4}, LONG{CHILDID_SELF}));
    const auto invocato = [&] {
        DISPPARAMS argomenti{&se, nullptr, 1, 0};
        VARIANT v{};
        faccia->Invoke(DISPID_ACC_NAME, IID_NULL, 0, DISPATCH_PROPERTYGET, &argomenti, &v, nullptr, nullptr);
        const std::wstring n = v.vt == VT_BSTR && v.bstrVal ? v.bstrVal : L"";
        ::VariantClear(&v);
        return n;
    };
    EXPECT_TRUE(AttendiFinche([&] { return invocato() == nome(); })) << invocato();

    VARIANT ruolo{}, stato{};
    LONG figli = -1, x = 0, y = 0, larga = 0, alta = 0;
    EXPECT_TRUE(faccia->get_accRole(se, &ruolo) == S_OK && ruolo.vt == VT_I4 && ruolo.lVal == ROLE_SYSTEM_CLOCK);
    EXPECT_TRUE(faccia->get_accState(se, &stato) == S_OK && (stato.lVal & STATE_SYSTEM_READONLY));
    EXPECT_TRUE(faccia->get_accChildCount(&figli) == S_OK && figli == 0);
    RECT client{};
    ::GetClientRect(h, &client);
    ::MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_EQ(faccia->accLocation(&x, &y, &larga, &alta, se), S_OK);
    EXPECT_EQ(std::tuple(x, y, x + larga, y + alta), std::tuple(client.left, client.top, client.right, client.bottom));
    IDispatch* genitore = nullptr;
    EXPECT_EQ(faccia->get_accParent(&genitore), S_OK);
    if (genitore) genitore->Release();

    // The clock window gives way to the zone dialog in the same process, then the process ends.
    ::PostMessageW(h, WM_COMMAND, kComandoFusoOrario, 0);
    const HWND fusi = p.AttendiFinestra(kClasseFusi);
    ASSERT_NE(fusi, nullptr);
    BSTR b = nullptr;
    EXPECT_TRUE(FAILED(faccia->get_accName(se, &b)));
    EXPECT_EQ(p.CodiceUscita(), STILL_ACTIVE) << "the clock's process died of it";
    ::PostMessageW(fusi, WM_CLOSE, 0, 0);
    EXPECT_TRUE(p.AttendiFine(10000));
    EXPECT_TRUE(FAILED(faccia->get_accRole(se, &ruolo)));
    faccia->Release();
    ::CoUninitialize();
    CancellaImpostazioniProgramma();
}

// DLLs of the names the clock loads at run time, planted beside a copy of it: a program that loads them by bare
// name runs them, the clock never does, through the zone dialog and back, a screen reader's question, a lock.
TEST(ProgrammaTest, DllsPlantedBesideTheProgramAreNeverLoaded) {
    const auto cartella =
        std::filesystem::temp_directory_path() / (L"esmalvio-dll-" + std::to_wstring(::GetCurrentProcessId()));
    std::filesystem::remove_all(cartella);
    std::filesystem::create_directories(cartella);
    // Not ole32, which the clock loads too: Wine's own input-method code loads it by bare name for every window of
    // every program, whatever the program asked for (on Windows it is a known DLL, never searched for).
    const wchar_t* const nomi[] = {L"comctl32", L"oleacc", L"oleaut32", L"shell32", L"wtsapi32"};
    std::wstring elenco, argomenti;
    for (const wchar_t* nome : nomi) {
        std::filesystem::copy_file(PIANTA_DLL, cartella / (std::wstring(nome) + L".dll"));
        elenco += (elenco.empty() ? L"" : L",") + std::wstring(nome);
        argomenti += std::wstring(nome) + L".dll ";
    }
    const auto tracce = [&] {  // the planted DLLs that ran, in the order of `nomi`
        std::wstring viste;
        for (const wchar_t* nome : nomi) {
            if (std::filesystem::exists(cartella / (std::wstring(nome) + L".dll.caricata")))
                viste += std::wstring(nome) + L".dll ";
        }
        return viste;
    };
    for (const wchar_t* exe : {CARICA_EXE, ESMALVIO_EXE}) {
        std::filesystem::copy_file(exe, cartella / std::filesystem::path(exe).filename());
    }
    const std::wstring preferite = L"WINEDLLOVERRIDES=mscoree,mshtml=;" + elenco + L"=n,b";
    ASSERT_TRUE(AvviaCon(preferite, (cartella / L"carica.exe").wstring(), argomenti));
    EXPECT_TRUE(AttendiFinche([&] { return tracce() == argomenti; }, 20000))
        << tracce() << ": this Wine would not load a planted DLL, so the test could not fail";
    for (const auto& f : std::filesystem::directory_iterator(cartella)) {
        if (f.path().extension() == L".caricata") std::filesystem::remove(f.path());
    }

    CancellaImpostazioniProgramma();
    ASSERT_TRUE(AvviaCon(preferite, (cartella / L"Esmalvio.exe").wstring()));
    HWND h = Visibile(kClasseOrologio);
    ASSERT_NE(h, nullptr);
    ::PostMessageW(h, WM_COMMAND, kComandoFusoOrario, 0);
    const HWND fusi = Visibile(kClasseFusi);
    ASSERT_NE(fusi, nullptr);
    ::PostMessageW(fusi, WM_COMMAND, MAKEWPARAM(Fusi::kCommand1 + 2, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(fusi, Fusi::kCommand1 + 2)));
    ASSERT_TRUE(AttendiFinche([&] { return !::IsWindow(h) && (h = Visibile(kClasseOrologio)) != nullptr; }, 20000));
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    IAccessible* const faccia = Accessibile(h);
    ASSERT_NE(faccia, nullptr);
    VARIANT ruolo{}, se{};
    se.vt = VT_I4;
    EXPECT_TRUE(faccia->get_accRole(se, &ruolo) == S_OK && ruolo.lVal == ROLE_SYSTEM_CLOCK);
    faccia->Release();
    ::CoUninitialize();
    ::PostMessageW(h, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 1);
    ::PostMessageW(h, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 1);
    AlTick(h);
    EXPECT_EQ(tracce(), L"");
    ::PostMessageW(h, WM_CLOSE, 0, 0);
    EXPECT_TRUE(AttendiFinche([&] { return !::IsWindow(h); }, 10000));
    std::error_code errore;
    std::filesystem::remove_all(cartella, errore);
}

// The clock's own process alone runs on a clock moved by libfaketime (the server and this test keep the real one):
// once told of the change, the face shows the new time at once and the next seconds as soon as they begin.
TEST(ProgrammaTest, ASetClockShowsAtOnceAndTheNextSecondsBeginOnTime) {
    const std::wstring libreria = L"/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";
    ASSERT_TRUE(std::filesystem::exists(L"Z:" + libreria)) << "libfaketime is not installed";
    const std::wstring file = L"/tmp/esmalvio-ora-" + std::to_wstring(::GetCurrentProcessId());
    const auto sposta = [&](long long ms) {  // written beside it, then moved over it: never read half written
        std::ofstream(std::filesystem::path(L"Z:" + file + L".nuovo"))
            << (ms < 0 ? "-" : "+") << std::abs(ms) / 1000 << "." << std::abs(ms) % 1000 / 100 << "\n";
        return ::MoveFileExW((L"Z:" + file + L".nuovo").c_str(), (L"Z:" + file).c_str(), MOVEFILE_REPLACE_EXISTING);
    };
    ASSERT_TRUE(sposta(0));
    CancellaImpostazioniProgramma();
    // The variables reach the clock's process and no other.
    ASSERT_TRUE(AvviaCon(L"LD_PRELOAD=" + libreria + L" FAKETIME_TIMESTAMP_FILE=" + file +
                             L" FAKETIME_NO_CACHE=1 FAKETIME_DONT_FAKE_MONOTONIC=1",
                         ESMALVIO_EXE));
    const HWND h = Visibile(kClasseOrologio);
    ASSERT_NE(h, nullptr);
    AlTick(h);

    for (const long long spostamento : {3500LL, -7000LL}) {
        SCOPED_TRACE(spostamento);
        ASSERT_TRUE(sposta(spostamento));
        const long long prima = LocaleMs(0);
        ::SendMessageW(h, WM_TIMECHANGE, 0, 0);
        // At once: the face within a second behind the moved clock, which is seconds away from the real one.
        EXPECT_TRUE(AttendiFinche(
            [&] {
                const int atteso = static_cast<int>(LocaleMs(spostamento) / 1000);
                const int visto = Secondi(LeggiFaccia(h));
                return visto == atteso || visto == (atteso + kGiorno - 1) % kGiorno;
            },
            100))
            << "not within 100 ms";
        EXPECT_LT(LocaleMs(0) - prima, 200);
        // The next three seconds: the last reading that still showed the old one lies at most 30 ms into the
        // new second, so the change came no later than that.
        for (int n = 0; n < 3; ++n) {
            const int mostrato = Secondi(LeggiFaccia(h));
            long long ultimaVecchia = LocaleMs(spostamento);
            ASSERT_TRUE(AttendiFinche(
                [&] {
                    const long long adesso = LocaleMs(spostamento);
                    if (Secondi(LeggiFaccia(h)) != mostrato) return true;
                    ultimaVecchia = adesso;
                    return false;
                },
                2000));
            const long long inizio = (mostrato + 1LL) % kGiorno * 1000;
            const long long ritardo = (ultimaVecchia - inizio + kGiorno * 1000LL) % (kGiorno * 1000LL);
            EXPECT_TRUE(ritardo <= 30 || ritardo > kGiorno * 1000LL - 1000) << ritardo << " ms into the second";
        }
    }
    ::PostMessageW(h, WM_CLOSE, 0, 0);
    EXPECT_TRUE(AttendiFinche([&] { return !::IsWindow(h); }, 10000));
    std::filesystem::remove(L"Z:" + file);
}

}  // namespace
}  // namespace quilmora::test
