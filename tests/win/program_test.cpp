// Esmalvio.exe as processes: one copy at a time, the time it shows, its ticking and its end.
#include <gtest/gtest.h>

#include <oleacc.h>
#include <psapi.h>

#include <wtsapi32.h>

#include <cstdio>
#include <filesystem>

#include "support/win_test_util.h"
#include "win/resource.h"
#include "zones/fusi_dialog.h"

namespace quilmora::test {
namespace {

constexpr int kGiorno = 24 * 3600;

// The face is within a second of the clock around its reading, moved on by `minuti`.
bool OraAttesa(const Lettura& l, int minuti) {
    const auto modulo = [](int s) { return (s % kGiorno + kGiorno) % kGiorno; };
    return modulo(l.faccia.Secondi() - (l.prima + minuti * 60 - 1)) <= modulo(l.dopo - l.prima + 2);
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

    Lettura a = ProssimoTick(h);
    EXPECT_TRUE(OraAttesa(a, 0)) << a.faccia.Testo();
    // A second skipped or shown twice counts only between faces read less than a second apart: a tick late
    // under load is no fault.
    bool giudicato = false;
    for (int volta = 0; volta < 10 && !giudicato; ++volta) {
        const Lettura b = ProssimoTick(h);
        if ((giudicato = b.quando - a.quando < 1000)) {
            EXPECT_EQ((b.faccia.Secondi() - a.faccia.Secondi() + kGiorno) % kGiorno, 1) << b.faccia.Testo();
            EXPECT_NE(a.faccia.puntiAccesi, b.faccia.puntiAccesi);
        }
        a = b;
    }
    EXPECT_TRUE(giudicato) << "no two ticks less than a second apart";

    // +5.30 and the daylight hour: never the test machine's own local time, summer or winter.
    ScriviImpostazioneProgramma(L"Fuso", L"330");
    ScriviImpostazioneProgramma(L"Legale", L"1");
    ProssimoTick(h);  // a tick may have read the settings halfway through their writing
    const Lettura fuso = ProssimoTick(h, true);
    EXPECT_TRUE(OraAttesa(fuso, 390)) << "zone +330 with the daylight hour: " << fuso.faccia.Testo();

    ::PostMessageW(h, WM_CLOSE, 0, 0);
    EXPECT_TRUE(primo.AttendiFine());
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
    const CartellaTemporanea cartella(L"esmalvio");
    std::filesystem::copy_file(ESMALVIO_EXE, cartella / L"Esmalvio.exe");
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
        Premi(finestra, comando);
        HWND box = nullptr;
        ASSERT_TRUE(AttendiFinche(
            [&] {
                for (HWND h : FinestreDi(L"#32770", p.Id())) box = ::IsWindowVisible(h) ? h : box;
                return box && TestoDi(box) == titolo;
            },
            kAttesaMs));
        DWORD_PTR esito = 0;
        EXPECT_TRUE(::SendMessageTimeoutW(finestra, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, kAttesaMs, &esito));
        Pompa(300);
        EXPECT_TRUE(::IsWindow(finestra) && ::IsWindow(box) && p.CodiceUscita() == STILL_ACTIVE);
        Premi(box, risposta);
        ASSERT_TRUE(AttendiFinche([&] { return !::IsWindow(box); }, kAttesaMs));
        EXPECT_TRUE(p.AttendiFine());
        EXPECT_EQ(LeggiImpostazioneProgramma(L"Fuso"), fuso);
    }
}

// Restart Manager, for an installation, ends the clock or the zone dialog with ENDSESSION_CLOSEAPP: as a close
// request, nothing stored. A logoff's messages, or a cancelled end, change nothing (by hand, Wine ends no process).
TEST(ProgrammaTest, AnInstallationsSessionEndClosesClockOrZoneDialogALogoffsLeavesThem) {
    for (const bool fusi : {false, true}) {
        SCOPED_TRACE(fusi ? "zone dialog" : "clock");
        CancellaImpostazioniProgramma();
        const Processo p;
        HWND h = p.AttendiFinestra();
        ASSERT_NE(h, nullptr);
        if (fusi) {
            ::PostMessageW(h, WM_COMMAND, IDM_MNUIMP + MNUIMP_FUSO_ORARIO, 0);
            ASSERT_NE(h = p.AttendiFinestra(Fusi::kClasse), nullptr);
        }
        const std::pair<WPARAM, LPARAM> fini[] = {
            {TRUE, 0}, {TRUE, ENDSESSION_LOGOFF}, {FALSE, ENDSESSION_CLOSEAPP}, {TRUE, ENDSESSION_CLOSEAPP}};
        for (const auto& [fine, motivo] : fini) {
            DWORD_PTR si = 0;
            EXPECT_TRUE(::SendMessageTimeoutW(h, WM_QUERYENDSESSION, 0, motivo, SMTO_ABORTIFHUNG, kAttesaMs, &si) &&
                        si);
            ::SendMessageTimeoutW(h, WM_ENDSESSION, fine, motivo, SMTO_ABORTIFHUNG, kAttesaMs, &si);
            if (fine && motivo == ENDSESSION_CLOSEAPP) break;
            Pompa(500);
            EXPECT_TRUE(::IsWindow(h) && p.CodiceUscita() == STILL_ACTIVE) << fine << " " << motivo;
        }
        EXPECT_TRUE(p.AttendiFine() && p.CodiceUscita() == 0);
        EXPECT_EQ(LeggiImpostazioneProgramma(L"Pos") + LeggiImpostazioneProgramma(L"Fuso"), L"");
    }
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
        const bool uguali = AttendiFinche(
            [&] {
                n = nome();
                f = LeggiFaccia(h).Testo();
                return n == nome() && n == f + diChi;
            },
            kAttesaMs);
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
    EXPECT_TRUE(AttendiFinche([&] { return invocato() == nome(); }, kAttesaMs)) << invocato();

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
    EXPECT_TRUE(p.AttendiFine());
    EXPECT_TRUE(FAILED(faccia->get_accRole(se, &ruolo)));
    faccia->Release();
    ::CoUninitialize();
    CancellaImpostazioniProgramma();
}

// DLLs of the names the clock loads at run time, planted beside a copy of it: a program that loads them by bare
// name runs them, the clock never does, through the zone dialog and back, a screen reader's question, a lock.
TEST(ProgrammaTest, DllsPlantedBesideTheProgramAreNeverLoaded) {
    const CartellaTemporanea cartella(L"esmalvio-dll");
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
    const Processo carica = AvviaCon(preferite, (cartella / L"carica.exe").wstring(), argomenti);
    EXPECT_TRUE(AttendiFinche([&] { return tracce() == argomenti; }, 20000))
        << tracce() << ": this Wine would not load a planted DLL, so the test could not fail";
    for (const auto& f : std::filesystem::directory_iterator(cartella.percorso())) {
        if (f.path().extension() == L".caricata") std::filesystem::remove(f.path());
    }

    CancellaImpostazioniProgramma();
    const Processo orologio = AvviaCon(preferite, (cartella / L"Esmalvio.exe").wstring());
    HWND h = orologio.AttendiFinestra();
    ASSERT_NE(h, nullptr);
    ::PostMessageW(h, WM_COMMAND, kComandoFusoOrario, 0);
    const HWND fusi = Visibile(kClasseFusi);
    ASSERT_NE(fusi, nullptr);
    Premi(fusi, Fusi::kCommand1 + 2);
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
    ProssimoTick(h);
    EXPECT_EQ(tracce(), L"");
    ::PostMessageW(h, WM_CLOSE, 0, 0);
    EXPECT_TRUE(orologio.AttendiFine());
}

}  // namespace
}  // namespace quilmora::test
