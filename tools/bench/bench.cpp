// Figures of the running clock, printed one per line.
//   bench [accuracy-seconds [accuracy|start|steps|set-clock|load [other Esmalvio.exe | debug output]]]   (with a
//   word: that figure only; start then alternates with the other build, steps reads the programs' debug output)
// Start-up is measured against bare window programs built the same way, and accuracy by
// sampling the face of a separate Esmalvio.exe every 10 ms against the system clock.
#include <windows.h>

#include <psapi.h>
#include <wtsapi32.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "clock/clock_window.h"
#include "environment/environment.h"
#include "environment/system_clock.h"
#include "shared/memory_store.h"
#include "support/win_test_util.h"
#include "win/dpi.h"

namespace {

using namespace quilmora;
using quilmora::test::AttendiFinche;
using quilmora::test::LeggiFaccia;
using quilmora::test::OggettiGdi;

class NessunaNavigazione final : public Navigazione {
public:
    void ApriFusi() override {}
    void RiapriOrologio() override {}
    void Esci() override {}
};

double Adesso() {
    static const double frequenza = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequenza;
}

double CpuThread() {
    FILETIME c, e, k, u;
    ::GetThreadTimes(::GetCurrentThread(), &c, &e, &k, &u);
    const auto v = [](FILETIME f) { return (ULONGLONG{f.dwHighDateTime} << 32) | f.dwLowDateTime; };
    return static_cast<double>(v(k) + v(u)) / 1e7;
}

double Mediana(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Risorse {
    DWORD gdi, user, handle;
    SIZE_T workingSet;
};

// Wine answers 0 to the resource counters; there the tables are scanned instead. Kernel handles are
// multiples of 4.
DWORD HandleKernel() {
    DWORD n = 0;
    for (ULONG_PTR i = 4; i < 0x10000; i += 4) {
        DWORD flags = 0;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(i), &flags)) ++n;
    }
    return n;
}

DWORD FinestreDelThread() {
    DWORD n = 0;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND h, LPARAM lp) -> BOOL {
            auto& conta = *reinterpret_cast<DWORD*>(lp);
            ++conta;
            ::EnumChildWindows(
                h,
                [](HWND, LPARAM lp2) -> BOOL {
                    ++*reinterpret_cast<DWORD*>(lp2);
                    return TRUE;
                },
                lp);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&n));
    return n;
}

Risorse Misura() {
    Risorse r{};
    HANDLE p = ::GetCurrentProcess();
    r.gdi = ::GetGuiResources(p, GR_GDIOBJECTS);
    if (r.gdi == 0) r.gdi = OggettiGdi();
    r.user = ::GetGuiResources(p, GR_USEROBJECTS);
    if (r.user == 0) r.user = FinestreDelThread();
    ::GetProcessHandleCount(p, &r.handle);
    if (r.handle == 0) r.handle = HandleKernel();
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    ::K32GetProcessMemoryInfo(p, &pmc, sizeof pmc);
    r.workingSet = pmc.WorkingSetSize;
    return r;
}

void Stampa(const char* quando, const Risorse& r) {
    std::printf(
        "resources %s: GDI objects %lu, USER objects (windows where uncounted) %lu, handles %lu, "
        "working set %zu KiB\n",
        quando, r.gdi, r.user, r.handle, r.workingSet / 1024);
}

// A clock window in this process, over settings in memory and the system clock.
struct OrologioQui {
    test::ImpostazioniMemoria store;
    OrologioDiSistema orologio;
    NessunaNavigazione nav;
    AvvioAutomatico nessunAvvio{nullptr};
    const Servizi servizi{store, orologio, nav, nessunAvvio};
    const Avvio avvio{::GetModuleHandleW(nullptr), {}, {}, false};
    Esmalvio finestra{servizi, avvio};
    OrologioQui() { finestra.Carica(); }
};

void InProcesso() {
    const auto qui = std::make_unique<OrologioQui>();
    Esmalvio* const finestra = &qui->finestra;
    test::Pompa(100);

    constexpr int kChiamate = 10000;
    std::vector<double> tempi;
    tempi.reserve(kChiamate);
    // At the session's scale, then moved to 200 %, where every glyph comes from a stretched copy.
    for (const int dpi : {0, 192}) {
        if (dpi) {
            RECT suggerito{100, 100, 400, 300};
            ::SendMessageW(finestra->hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggerito));
            test::Pompa(50);
        }
        tempi.clear();
        const double cpu0 = CpuThread();
        for (int i = 0; i < kChiamate; ++i) {
            const double t0 = Adesso();
            finestra->Timer1_Timer();
            tempi.push_back(Adesso() - t0);
        }
        const double cpu = CpuThread() - cpu0;
        std::printf("normal tick (MostraOra) at %d dpi, median of %d: %.1f us wall, %.1f us CPU on average\n",
                    dpi ? dpi : DpiSistema(), kChiamate, Mediana(tempi) * 1e6, cpu / kChiamate * 1e6);
    }
    RECT indietro{100, 100, 400, 300};
    ::SendMessageW(finestra->hwnd(), WM_DPICHANGED, MAKEWPARAM(DpiSistema(), DpiSistema()),
                   reinterpret_cast<LPARAM>(&indietro));

    ::ShowWindow(finestra->hwnd(), SW_MINIMIZE);
    test::Pompa(50);
    tempi.clear();
    for (int i = 0; i < kChiamate; ++i) {
        const double t0 = Adesso();
        finestra->Timer1_Timer();
        tempi.push_back(Adesso() - t0);
    }
    std::printf("minimised tick, median of %d: %.1f us wall\n", kChiamate, Mediana(tempi) * 1e6);
    ::ShowWindow(finestra->hwnd(), SW_RESTORE);
    test::Pompa(50);

    Stampa("before", Misura());
    for (int i = 0; i < 100000; ++i) finestra->Timer1_Timer();
    test::Pompa(50);
    Stampa("after 100000 ticks", Misura());
    for (int i = 0; i < 1000; ++i) {
        ::ShowWindow(finestra->hwnd(), SW_MINIMIZE);
        finestra->Timer1_Timer();
        ::ShowWindow(finestra->hwnd(), SW_RESTORE);
        finestra->Timer1_Timer();
    }
    test::Pompa(50);
    Stampa("after 1000 minimise/restore", Misura());
}

// The clock's own work before its first face, without the process and DLL start-up every window program pays: a
// clock window created, started up and shown here (its first face painted), then closed, 21 times, the first, which
// loads what the others find loaded, apart; against a bare window of the same styles created, shown and painted.
void CaricaMisurato() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = L"EsmalvioBareQui";
    ::RegisterClassExW(&wc);
    std::vector<double> orologio, bare;
    for (int i = 0; i < 21; ++i) {
        double t0 = Adesso();
        auto qui = std::make_unique<OrologioQui>();
        orologio.push_back(Adesso() - t0);
        qui.reset();
        test::Pompa(20);
        t0 = Adesso();
        const UniqueWindow b(::CreateWindowExW(0, wc.lpszClassName, L"Bare", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 4,
                                               400, 135, 60, nullptr, nullptr, wc.hInstance, nullptr));
        ::ShowWindow(b.get(), SW_SHOWNORMAL);
        ::UpdateWindow(b.get());
        bare.push_back(Adesso() - t0);
        test::Pompa(20);
    }
    const double prima = orologio.front();
    orologio.erase(orologio.begin());
    bare.erase(bare.begin());
    std::printf(
        "own start-up to the first face, in process: first %.1f ms, then median of 20 %.1f ms (a bare window "
        "%.1f ms)\n",
        prima * 1e3, Mediana(orologio) * 1e3, Mediana(bare) * 1e3);
}

std::wstring Accanto(const wchar_t* nome) {
    std::wstring p(MAX_PATH, L'\0');
    p.resize(::GetModuleFileNameW(nullptr, p.data(), MAX_PATH));
    return p.substr(0, p.find_last_of(L'\\') + 1) + nome;
}

// Whether a window's client area on the screen is black all over: a bare window's first content.
bool ClientNero(HWND finestra) {
    RECT r{};
    ::GetClientRect(finestra, &r);
    ::MapWindowPoints(finestra, nullptr, reinterpret_cast<POINT*>(&r), 2);
    const std::vector<std::uint32_t> pixel = test::PixelSchermo(r);
    return !pixel.empty() && std::all_of(pixel.begin(), pixel.end(), [](std::uint32_t c) { return c == 0; });
}

bool FacciaLeggibile(HWND finestra) {
    return LeggiFaccia(finestra).Intera();
}

// A program of the start-up figures: how it is known on the screen, and its times of one round in seconds from
// CreateProcessW, until its window is visible and until the window's first content is on the screen.
struct Avviato {
    const char* nome;
    std::wstring exe;
    const wchar_t* classe;
    bool (*contenuto)(HWND);
    std::vector<double> visibile, mostrato;
};

// One start of a program, in seconds of Adesso(): when CreateProcessW was called, when its window was first seen
// visible and when its content was first seen on the screen (-1: never). Looked at every 2 ms, finer than the
// steps it tells apart.
struct Momenti {
    DWORD id;
    double t0, visibile = -1, mostrato = -1;
};

Momenti Osserva(const std::wstring& exe, const wchar_t* classe, bool (*contenuto)(HWND)) {
    const double t0 = Adesso();
    const test::Processo processo(L"", exe);
    Momenti m{processo.Id(), t0};
    HWND trovata = nullptr;
    while (!trovata && processo.Avviato() && Adesso() - t0 < test::kAttesaMs / 1e3) {
        for (HWND h : test::FinestreDi(classe, processo.Id())) {
            if (!::IsWindowVisible(h)) continue;
            if (m.visibile < 0) m.visibile = Adesso();
            if (contenuto(h)) {
                trovata = h;
                m.mostrato = Adesso();
            }
        }
        ::Sleep(2);
    }
    if (trovata) ::PostMessageW(trovata, WM_CLOSE, 0, 0);
    processo.AttendiFine();  // else ended by its owner
    ::Sleep(300);            // and the windows' ends have reached the X server
    return m;
}

void Avvia(Avviato& a) {
    const Momenti m = Osserva(a.exe, a.classe, a.contenuto);
    a.visibile.push_back(m.visibile < 0 ? -1 : m.visibile - m.t0);
    a.mostrato.push_back(m.mostrato < 0 ? -1 : m.mostrato - m.t0);
}

// The clock against two bare windows, one with the clock's menu bar, and against another build of the clock when
// one is given: 21 rounds, the programs alternated in each. Besides the medians, the ratio of the clock's time to
// a bare window's in the same round, whose median a machine busy with other work moves less.
void AvvioMisurato(const std::wstring& altro) {
    std::vector<Avviato> programmi{
        {"bare window", Accanto(L"esmalvio_bare.exe"), L"EsmalvioBare", ClientNero, {}, {}},
        {"bare window with the menu bar", Accanto(L"esmalvio_bare_menu.exe"), L"EsmalvioBare", ClientNero, {}, {}},
        {"Esmalvio", Accanto(L"Esmalvio.exe"), kClasseOrologio, FacciaLeggibile, {}, {}}};
    if (!altro.empty()) programmi.push_back({"other build", altro, kClasseOrologio, FacciaLeggibile, {}, {}});
    constexpr int kGiri = 21;
    // Each program starts first in some rounds: the one after another's end would meet Wine still tidying up.
    for (std::size_t giro = 0; giro < kGiri; ++giro) {
        for (std::size_t k = 0; k < programmi.size(); ++k) Avvia(programmi[(giro + k) % programmi.size()]);
    }
    std::printf("start, from CreateProcessW, median of %d rounds alternated:\n", kGiri);
    for (const Avviato& a : programmi) {
        std::printf("  %-30s visible %4.0f ms, content on the screen %4.0f ms\n", a.nome, Mediana(a.visibile) * 1e3,
                    Mediana(a.mostrato) * 1e3);
    }
    for (std::size_t orologio = 2; orologio < programmi.size(); ++orologio) {
        for (std::size_t bare = 0; bare < 2; ++bare) {
            std::vector<double> rapporti;
            for (int giro = 0; giro < kGiri; ++giro) {
                rapporti.push_back(programmi[orologio].mostrato[giro] / programmi[bare].mostrato[giro]);
            }
            std::printf("  %s to content against the %s: ratio of medians %.2f, median of the rounds' ratios %.2f\n",
                        programmi[orologio].nome, programmi[bare].nome,
                        Mediana(programmi[orologio].mostrato) / Mediana(programmi[bare].mostrato), Mediana(rapporti));
        }
    }
}

// Where the start-up's time goes: the clock built with the marks of its steps (esmalvio_segnato.exe) and the bare
// window, alternated, with WINEDEBUG=+timestamp,+pid,+loaddll,warn+debugstr given by tools/bench-wine.sh to every
// program the bench starts; their lines, in `registro`, are read afterwards. Wine's timestamps and performance
// counter count from the same moment, in ms.
struct Riga {
    double ms;
    std::string testo;
};

std::map<DWORD, std::vector<Riga>> RighePerProcesso(const std::wstring& registro) {
    std::map<DWORD, std::vector<Riga>> righe;
    std::ifstream file{std::filesystem::path(registro)};
    for (std::string riga; std::getline(file, riga);) {
        unsigned secondi = 0, millesimi = 0, processo = 0, thread = 0;
        int fine = 0;
        if (std::sscanf(riga.c_str(), "%u.%u:%x:%x:%n", &secondi, &millesimi, &processo, &thread, &fine) < 4) continue;
        righe[processo].push_back({secondi * 1e3 + millesimi, riga.substr(static_cast<std::size_t>(fine))});
    }
    return righe;
}

void PassiMisurati(const std::wstring& registro) {
    constexpr int kGiri = 11;
    const std::vector<const char*> segni{"crt", "wWinMain", "finestra", "creata", "caricata", "mostrata", "dipinta"};
    const char* const nomiPassi[] = {
        "process created (to its first debug line)",
        "DLLs loaded at start",
        "DLLs attached, C/C++ run-time start",
        "our start-up before the window",
        "window created (WM_CREATE)",
        "Form_Load",
        "until ShowWindow has returned",
        "first paint done",
        "until the face is on the screen",
    };
    std::vector<std::vector<double>> passi(std::size(nomiPassi)), bare(3);
    std::vector<double> visibileMostrato;  // the clock's, seen by the bench
    struct Giro {
        DWORD id;
        double t0, visibile, mostrato;
        bool orologio;
    };
    std::vector<Giro> giri;
    for (int giro = 0; giro < 2 * kGiri; ++giro) {
        const bool orologio = giro % 2 != 0;
        const Momenti m =
            Osserva(Accanto(orologio ? L"esmalvio_segnato.exe" : L"esmalvio_bare.exe"),
                    orologio ? kClasseOrologio : L"EsmalvioBare", orologio ? FacciaLeggibile : ClientNero);
        const Giro g{m.id, m.t0 * 1e3, m.visibile * 1e3, m.mostrato * 1e3, orologio};
        giri.push_back(g);
    }
    ::Sleep(500);  // the last lines reach the file
    const auto righe = RighePerProcesso(registro);
    std::string dllOrologio;
    for (const Giro& g : giri) {
        const auto trovate = righe.find(g.id);
        if (trovate == righe.end() || g.mostrato < 0) continue;
        std::map<std::string, double> tempi;
        double primaDll = -1, ultimaDll = -1;
        std::string dopo;  // the DLLs loaded after the program's own code began
        for (const Riga& r : trovate->second) {
            if (r.testo.find(":loaddll:") != std::string::npos) {
                const auto nome = r.testo.rfind('\\');
                const std::string dll = r.testo.substr(nome + 1, r.testo.find('"', nome) - nome - 1);
                if (primaDll < 0) primaDll = r.ms;
                if (tempi.empty()) {
                    ultimaDll = r.ms;
                } else {
                    dopo += dll + " ";
                }
            }
            char segno[32] = {};
            double t = 0;
            const auto dove = r.testo.find("segno ");
            if (dove != std::string::npos && std::sscanf(r.testo.c_str() + dove, "segno %31s %lf", segno, &t) == 2) {
                tempi.emplace(segno, t);
            }
        }
        if (!g.orologio) {
            bare[0].push_back(primaDll - g.t0);
            bare[1].push_back(g.visibile - primaDll);
            bare[2].push_back(g.mostrato - g.visibile);
            continue;
        }
        if (tempi.size() < segni.size()) continue;
        dllOrologio = dopo;
        visibileMostrato.push_back(g.mostrato - g.visibile);
        std::vector<double> momenti{g.t0, primaDll, ultimaDll};
        for (std::size_t k = 1; k < segni.size(); ++k) momenti.push_back(tempi[segni[k]]);
        momenti.push_back(g.mostrato);
        for (std::size_t k = 0; k + 1 < momenti.size(); ++k) passi[k].push_back(momenti[k + 1] - momenti[k]);
    }
    std::printf("where the start-up's time goes, medians of %d alternated runs, ms:\n", kGiri);
    for (std::size_t k = 0; k < passi.size(); ++k) std::printf("  %-45s %6.1f\n", nomiPassi[k], Mediana(passi[k]));
    std::printf("  DLLs the clock loads after wWinMain: %s\n", dllOrologio.c_str());
    std::printf("  the clock from visible to its face on the screen: %.1f\n", Mediana(visibileMostrato));
    std::printf("  bare window: process created %.1f, then until visible %.1f, until black on the screen %.1f\n",
                Mediana(bare[0]), Mediana(bare[1]), Mediana(bare[2]));
}

int Secondo(const std::wstring& t) {
    return ((t[0] - L'0') * 10 + (t[1] - L'0')) * 3600 + ((t[3] - L'0') * 10 + (t[4] - L'0')) * 60 +
           (t[6] - L'0') * 10 + (t[7] - L'0');
}

void Accuratezza(int secondi) {
    test::CancellaImpostazioniProgramma();
    test::Processo clock;
    HWND h = clock.AttendiFinestra();
    if (!h) {
        std::printf("accuracy: the clock did not start\n");
        return;
    }
    double peggiore = 0;
    int saltati = 0, doppi = 0, cambi = 0, illeggibili = 0;
    std::wstring precedente;
    double inizioPrecedente = Adesso();
    const double fine = Adesso() + secondi;
    std::vector<double> ritardi;
    while (Adesso() < fine) {
        std::wstring faccia = LeggiFaccia(h).Testo();
        SYSTEMTIME ora;
        ::GetLocalTime(&ora);
        // A face read while it was being drawn is read again before it counts as a change.
        if (faccia != precedente) {
            ::Sleep(2);
            if (LeggiFaccia(h).Testo() != faccia) continue;
        }
        if (faccia.find(L'?') != std::wstring::npos) {
            ++illeggibili;
        } else if (faccia != precedente) {
            const double t = Adesso();
            if (!precedente.empty()) {
                ++cambi;
                const int passo = (Secondo(faccia) - Secondo(precedente) + 86400) % 86400;
                if (passo > 1) saltati += passo - 1;
                if (t - inizioPrecedente > 1.5) ++doppi;
                // The face should show the second the system is in, shortly after it began.
                const int sistema = ora.wHour * 3600 + ora.wMinute * 60 + ora.wSecond;
                if (sistema == Secondo(faccia)) {
                    peggiore = std::max(peggiore, ora.wMilliseconds / 1000.0);
                    ritardi.push_back(ora.wMilliseconds / 1000.0);
                }
            }
            precedente = faccia;
            inizioPrecedente = t;
        }
        ::Sleep(10);
    }
    std::printf(
        "accuracy over %d s: %d changes, delay after the second began: median %.0f ms, worst %.0f ms; "
        "%d skipped, %d doubled, %d unreadable samples\n",
        secondi, cambi, Mediana(ritardi) * 1e3, peggiore * 1e3, saltati, doppi, illeggibili);
    ::PostMessageW(h, WM_CLOSE, 0, 0);
    clock.AttendiFine(10000);
    test::CancellaImpostazioniProgramma();
}

// Dispatches this thread's messages for a while, waking only when one comes.
void Lascia(double secondi) {
    const double fine = Adesso() + secondi;
    for (double resto; (resto = fine - Adesso()) > 0;) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(resto * 1000) + 1, QS_ALLINPUT);
        for (MSG msg; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageW(&msg);
    }
}

int ticks = 0;
LRESULT CALLBACK ContaTick(int codice, WPARAM wp, LPARAM lp) {
    if (codice == HC_ACTION && wp == PM_REMOVE && reinterpret_cast<const MSG*>(lp)->message == WM_TIMER) ++ticks;
    return ::CallNextHookEx(nullptr, codice, wp, lp);
}

// A clock on the system clock left to its own timer: ticks a minute and CPU a tick, shown, minimised, locked.
void Giornata(int secondi) {
    const auto qui = std::make_unique<OrologioQui>();
    Esmalvio& finestra = qui->finestra;
    Lascia(1);
    const HHOOK gancio = ::SetWindowsHookExW(WH_GETMESSAGE, ContaTick, nullptr, ::GetCurrentThreadId());
    const std::pair<const char*, std::function<void()>> stati[] = {
        {"shown", [] {}},
        {"minimised", [&] { ::ShowWindow(finestra.hwnd(), SW_MINIMIZE); }},
        {"locked",
         [&] {
             ::ShowWindow(finestra.hwnd(), SW_RESTORE);
             ::SendMessageW(finestra.hwnd(), WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 1);
         }},
    };
    for (const auto& [nome, entra] : stati) {
        entra();
        Lascia(1);
        ticks = 0;
        const double cpu0 = CpuThread();
        Lascia(secondi);
        const double cpu = CpuThread() - cpu0;
        std::printf("%s for %d s: %.1f ticks a minute, %.0f ms CPU a minute, %.2f ms CPU a tick\n", nome, secondi,
                    ticks * 60.0 / secondi, cpu * 60e3 / secondi, ticks ? cpu * 1e3 / ticks : 0.0);
    }
    ::UnhookWindowsHookEx(gancio);
}

// A separate clock whose own clock libfaketime moves by turns 3.5 s ahead and 7 s behind: how late, after it is
// told, the first second after the change shows.
void OraImpostata() {
    const std::wstring file = L"/tmp/esmalvio-bench-ora";
    const auto sposta = [&](long long ms) {
        std::ofstream(std::filesystem::path(L"Z:" + file + L".nuovo"))
            << std::showpos << static_cast<double>(ms) / 1000 << "\n";
        ::MoveFileExW((L"Z:" + file + L".nuovo").c_str(), (L"Z:" + file).c_str(), MOVEFILE_REPLACE_EXISTING);
    };
    sposta(0);
    test::CancellaImpostazioniProgramma();
    // A clock still closing would make this one a second copy.
    AttendiFinche([] { return !::FindWindowW(kClasseOrologio, nullptr); }, 20000);
    const std::wstring variabili =
        L"LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 "
        L"FAKETIME_NO_CACHE=1 FAKETIME_DONT_FAKE_MONOTONIC=1 FAKETIME_TIMESTAMP_FILE=" +
        file;
    const test::Processo orologio = test::AvviaCon(variabili, ESMALVIO_EXE);
    const HWND h = orologio.AttendiFinestra();
    if (!h) {
        std::printf("set clock: the clock did not start\n");
        return;
    }
    std::vector<double> ritardi;
    for (int volta = 0; volta < 10; ++volta) {
        const long long spostamento = volta % 2 ? -7000 : 3500;
        test::Pompa(1300);
        sposta(spostamento);
        ::SendMessageW(h, WM_TIMECHANGE, 0, 0);
        test::Pompa(30);
        const std::wstring mostrata = LeggiFaccia(h).Testo();
        long long visto = -1;
        AttendiFinche(
            [&] {
                visto = test::LocaleMs(spostamento);
                return LeggiFaccia(h).Testo() != mostrata;
            },
            2000);
        ritardi.push_back(static_cast<double>(visto % 1000));
    }
    std::printf("first second after a set clock, 10 jumps: median %.0f ms late, worst %.0f ms\n", Mediana(ritardi),
                *std::max_element(ritardi.begin(), ritardi.end()));
    ::PostMessageW(h, WM_CLOSE, 0, 0);
    orologio.AttendiFine();
    std::filesystem::remove(L"Z:" + file);
    test::CancellaImpostazioniProgramma();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int secondi = argc > 1 ? std::max(1, _wtoi(argv[1])) : 600;
    const std::wstring_view solo = argc > 2 ? argv[2] : L"";
    if (solo == L"load") {
        CaricaMisurato();
        return 0;
    }
    if (solo == L"steps") {
        PassiMisurati(argc > 3 ? argv[3] : L"");
        return 0;
    }
    if (solo == L"set-clock" || solo == L"start") {
        solo == L"start" ? AvvioMisurato(argc > 3 ? argv[3] : L"") : OraImpostata();
        return 0;
    }
    const bool soloAccuratezza = solo == L"accuracy";
    if (!soloAccuratezza) {
        InProcesso();
        Giornata(std::min(secondi, 60));
        AvvioMisurato(L"");
        OraImpostata();
    }
    Accuratezza(secondi);
    return 0;
}
