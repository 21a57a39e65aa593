// Helpers for tests driving real windows under Wine, and for the bench: waiting, windows, the clock face,
// dialogs, processes, and temporary folders and keys.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "win/handles.h"
#include "win/shared_names.h"

namespace quilmora::test {

// The longest a test waits for another process: enough for a machine busy with other builds.
constexpr DWORD kAttesaMs = 20000;

// Dispatches this thread's messages until the condition holds; false on timeout.
bool AttendiFinche(const std::function<bool()>& condizione, DWORD timeoutMs = 5000);
// Dispatches this thread's messages for a while (for things that must NOT happen).
void Pompa(DWORD ms);
// Paints what is pending and handles every message this thread has waiting: a window of this thread then shows
// what it has been told.
void Assesta(HWND finestra);

// A window's rectangle, left, top, right, bottom: on the screen, or in another window's client coordinates.
using Lati = std::array<LONG, 4>;
Lati Rettangolo(HWND finestra, HWND in = nullptr);
SIZE DimensioniClient(HWND finestra);
std::wstring TestoDi(HWND finestra);
// The items of a menu of a window's bar: " -" a separator, " *" before a checked one, " " before the others.
std::wstring VociMenu(HWND finestra, int posizione);
// Top-level windows of a class that belong to a process (0: any process).
std::vector<HWND> FinestreDi(const wchar_t* classe, DWORD processo = 0);
// A visible top-level window of a class, waited for up to 20 s; null when none comes.
HWND Visibile(const wchar_t* classe);

// The clock face as shown on screen, decoded from the pixels of the window.
struct Faccia {
    std::array<int, 6> cifre{};  // -1 where a cell shows no known glyph
    bool puntiAccesi = false;
    bool puntiValidi = false;  // both colon cells show the same known picture
    int colore = -1;           // 0 red, 1 green, 2 cyan; -1 when not one colour
    bool marginiNeri = false;
    std::wstring Testo() const;  // "hh:mm:ss" or with '?' for unknown digits
    bool Intera() const;         // every digit known, the colons alike, the margins black
    int Secondi() const;         // of the day
};
Faccia LeggiFaccia(HWND finestra);
// The pixels of a rectangle of the screen as shown there, 0xRRGGBB, row by row; none for an empty one.
std::vector<std::uint32_t> PixelSchermo(const RECT& r);
// Every pixel of every cell is the stored glyph's, stretched by repeating pixels, for the digits, colour
// and colons the face shows.
bool FacciaDaiGlifi(HWND finestra, const Faccia& f);
// Where the clock's cells are drawn (Num1 to Num6, then the two colons), in its client coordinates.
std::vector<RECT> Celle(HWND finestra);
// The face of a clock of another process, read whole twice alike (it may be halfway through drawing); a face
// with no known digit when none comes in time.
Faccia FacciaIntera(HWND finestra, DWORD timeoutMs = kAttesaMs);
// A face drawn by the next tick of another process's clock, this machine's clock (seconds of the day, local or
// UTC) read before and after the reading, and the reading's tick count.
struct Lettura {
    Faccia faccia;
    int prima = 0, dopo = 0;
    ULONGLONG quando = 0;
};
Lettura ProssimoTick(HWND finestra, bool utc = false);

// A message box as it was shown.
struct MessaggioVisto {
    std::wstring titolo;
    std::wstring testo;
    UINT icona = 0;     // MB_ICONEXCLAMATION, MB_ICONINFORMATION, MB_ICONQUESTION, or 0
    UINT pulsanti = 0;  // MB_OK or MB_YESNO
};
// What a message box (#32770) shows; for a box of another process it must be on top to read its icon.
MessaggioVisto LeggiMessaggio(HWND dlg);
// Clicks a button of a dialog, as its owner would be told.
void Premi(HWND dlg, int id);

// Watches from a thread of its own for visible dialogs (#32770) that `filtro` takes, and hands each one to
// `allaVista` once, on that thread, while it is up: to read it and answer it with `Premi`.
class Osservatore {
public:
    Osservatore(std::function<bool(HWND)> filtro, std::function<void(HWND)> allaVista);
    // A dialog of this process whose caption contains `contenuto`, answered with `comando`.
    Osservatore(std::wstring contenuto, int comando, std::function<void(HWND)> allaVista = {});
    // Stops watching, once every dialog up now has been handed over; how many were.
    int Ferma();

private:
    int visti_ = 0;
    std::jthread thread_;  // last, as it uses the member above
};

using Visto = std::tuple<std::wstring, UINT, UINT>;  // a message box's text, icon and buttons
using Visti = std::vector<Visto>;
// Runs `azione` and answers the boxes titled "Esmalvio" of this process it shows with `risposte` in turn; a box
// beyond those is answered OK and recorded too, so that it fails the test instead of hanging it.
Visti Rispondendo(const std::function<void()>& azione, const std::vector<int>& risposte = {});

// A program started as a process of its own (suspended until `Riprendi`, or under another token when given);
// killed when the owner goes.
class Processo {
public:
    explicit Processo(const std::wstring& argomenti = L"", std::wstring percorso = ESMALVIO_EXE, bool sospeso = false,
                      HANDLE token = nullptr);
    // A process started otherwise (null: none), owned from now on as one started here.
    Processo(UniqueHandle processo, DWORD id) : processo_(std::move(processo)), id_(id) {}
    Processo(Processo&&) = default;
    ~Processo();
    void Riprendi() const { ::ResumeThread(thread_.get()); }
    HWND AttendiFinestra(const wchar_t* classe = kClasseOrologio, DWORD timeoutMs = kAttesaMs) const;
    bool AttendiFine(DWORD timeoutMs = kAttesaMs) const;  // true once the process has ended
    DWORD Id() const noexcept { return id_; }
    DWORD CodiceUscita() const;  // STILL_ACTIVE while it runs
    bool Avviato() const noexcept { return processo_ != nullptr; }

private:
    UniqueHandle processo_, thread_;
    DWORD id_ = 0;
};
// A token like the one UAC gives a non-elevated administrator: the Administrators group for deny only.
UniqueHandle TokenSenzaElevazione();

// Copies of Esmalvio.exe racing to start: all are created suspended and then let go together.
class AvviiInsieme {
public:
    explicit AvviiInsieme(std::size_t quante);
    std::map<DWORD, DWORD> Codici() const;  // exit code by process id
    // Answers the copies' boxes titled "Esmalvio" (with `icona`, once it shows) until at most `vive` run.
    bool Attendi(std::ptrdiff_t vive, DWORD timeoutMs, bool icona = false);

    std::map<DWORD, MessaggioVisto> risposte;  // what the box of each answered copy showed, by process id
    std::ptrdiff_t massimoOrologi = 0;         // the most clocks of any process shown at once meanwhile
    std::vector<Processo> copie;
};

// While it lives, a key of HKEY_LOCAL_MACHINE (created when missing) has the security of `sddl`; the key's own
// comes back at the end.
class ChiaveProtetta {
public:
    ChiaveProtetta(const wchar_t* chiave, const wchar_t* sddl);
    ~ChiaveProtetta();
    ChiaveProtetta(const ChiaveProtetta&) = delete;
    ChiaveProtetta& operator=(const ChiaveProtetta&) = delete;
    bool Protetta() const noexcept { return protetta_; }

private:
    UniqueKey key_;
    std::vector<BYTE> prima_;
    bool protetta_ = false;
};

// Starts a program as a Linux command with these variables (`NAME=value ...`): Wine takes LD_PRELOAD and
// WINEDLLOVERRIDES from the Linux environment alone. The handle is the command's: the program's process is the
// first of its file name that was not running before (none when it ended unseen).
Processo AvviaCon(const std::wstring& variabili, const std::wstring& exe, const std::wstring& argomenti = L"");
// Starts a Linux command line (Wine runs a program that is no Windows one as it is), without waiting for it.
bool AvviaLinux(std::wstring riga);
// This process's local time in ms of the day, moved on by `spostamento` ms: the time a clock moved so far shows.
long long LocaleMs(long long spostamento);

// An empty folder of the test's own in the temporary folder (or in `dove`), removed with all it holds when the
// owner goes.
class CartellaTemporanea {
public:
    explicit CartellaTemporanea(const std::wstring& nome,
                                const std::filesystem::path& dove = std::filesystem::temp_directory_path());
    CartellaTemporanea(const CartellaTemporanea&) = delete;
    CartellaTemporanea& operator=(const CartellaTemporanea&) = delete;
    ~CartellaTemporanea();
    const std::filesystem::path& percorso() const noexcept { return percorso_; }
    std::filesystem::path operator/(const std::filesystem::path& nome) const { return percorso_ / nome; }

private:
    std::filesystem::path percorso_;
};

// A key of the test's own under HKEY_CURRENT_USER\Software, open, deleted with all it holds when the owner goes.
class ChiaveProva {
public:
    explicit ChiaveProva(const std::wstring& nome);
    ChiaveProva(const ChiaveProva&) = delete;
    ChiaveProva& operator=(const ChiaveProva&) = delete;
    ~ChiaveProva() { ::RegDeleteTreeW(HKEY_CURRENT_USER, percorso_.c_str()); }
    const std::wstring& percorso() const noexcept { return percorso_; }  // under HKEY_CURRENT_USER
    HKEY get() const noexcept { return chiave_.get(); }

private:
    std::wstring percorso_;
    UniqueKey chiave_;
};

// GDI objects of this process, counted in the handle table: Wine does not count them for GetGuiResources.
DWORD OggettiGdi();

// The program's own per-user settings in the registry of this Wine prefix.
void CancellaImpostazioniProgramma();
void ScriviImpostazioneProgramma(const wchar_t* chiave, const wchar_t* valore);
std::wstring LeggiImpostazioneProgramma(const wchar_t* chiave);  // "" when absent

}  // namespace quilmora::test
