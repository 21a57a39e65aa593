// Helpers for tests driving real windows under Wine: waiting, message boxes, the clock face on screen, the program.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "win/handles.h"
#include "win/shared_names.h"

namespace quilmora::test {

// Dispatches this thread's messages until the condition holds; false on timeout.
bool AttendiFinche(const std::function<bool()>& condizione, DWORD timeoutMs = 5000);
// Dispatches this thread's messages for a while (for things that must NOT happen).
void Pompa(DWORD ms);

// A message box as it was shown.
struct MessaggioVisto {
    std::wstring titolo;
    std::wstring testo;
    UINT icona = 0;     // MB_ICONEXCLAMATION, MB_ICONINFORMATION, MB_ICONQUESTION, or 0
    UINT pulsanti = 0;  // MB_OK or MB_YESNO
};

// What a message box (#32770) shows; for a box of another process it must be on top to read its icon.
MessaggioVisto LeggiMessaggio(HWND dlg);

// From another thread: waits for a message box titled "Esmalvio" (any process), records it, answers `risposta`.
class Risponditore {
public:
    explicit Risponditore(int risposta, DWORD timeoutMs = 10000, const wchar_t* titolo = L"Esmalvio");
    ~Risponditore() { Visto(); }
    // Waits for the answering thread; nothing when no message box came in time.
    std::optional<MessaggioVisto> Visto() {
        if (thread_.joinable()) thread_.join();
        return visto_;
    }

private:
    std::thread thread_;
    std::optional<MessaggioVisto> visto_;
};

// The clock face as shown on screen, decoded from the pixels of the window.
struct Faccia {
    std::array<int, 6> cifre{};  // -1 where a cell shows no known glyph
    bool puntiAccesi = false;
    bool puntiValidi = false;  // both colon cells show the same known picture
    int colore = -1;           // 0 red, 1 green, 2 cyan; -1 when not one colour
    bool marginiNeri = false;
    std::wstring Testo() const;  // "hh:mm:ss" or with '?' for unknown digits
};
Faccia LeggiFaccia(HWND finestra);
// Every pixel of every cell is the stored glyph's, stretched by repeating pixels, for the digits, colour
// and colons the face shows.
bool FacciaDaiGlifi(HWND finestra, const Faccia& f);
// Where the clock's cells are drawn (Num1 to Num6, then the two colons), in its client coordinates.
std::vector<RECT> Celle(HWND finestra);

// Geometry of a window's outer rectangle, in twips (15 per pixel).
struct Twip {
    long left, top, width, height;
};
Twip GeometriaTwip(HWND finestra);
SIZE DimensioniClient(HWND finestra);

// Esmalvio.exe started as a process of its own; killed when the owner goes.
class Processo {
public:
    explicit Processo(const std::wstring& argomenti = L"", std::wstring percorso = ESMALVIO_EXE);
    ~Processo();
    HWND AttendiFinestra(const wchar_t* classe = kClasseOrologio, DWORD timeoutMs = 20000) const;
    bool AttendiFine(DWORD timeoutMs = 20000) const {  // true once the process has ended
        return processo_ && ::WaitForSingleObject(processo_.get(), timeoutMs) == WAIT_OBJECT_0;
    }
    DWORD Id() const noexcept { return id_; }
    DWORD CodiceUscita() const;
    bool Avviato() const noexcept { return processo_ != nullptr; }

private:
    UniqueHandle processo_;
    DWORD id_ = 0;
};

// Starts a program as a Linux command with these variables (`NAME=value ...`): Wine takes LD_PRELOAD and
// WINEDLLOVERRIDES from the Linux environment alone. The program is found by its window: the handle is the command's.
bool AvviaCon(const std::wstring& variabili, const std::wstring& exe, const std::wstring& argomenti = L"");
// A visible top-level window of a class, waited for up to 20 s; null when none comes.
HWND Visibile(const wchar_t* classe);
// This process's local time in ms of the day, moved on by `spostamento` ms: the time a clock moved so far shows.
long long LocaleMs(long long spostamento);

// Top-level windows of a class that belong to a process (0: any process).
std::vector<HWND> FinestreDi(const wchar_t* classe, DWORD processo = 0);

// GDI objects of this process, counted in the handle table: Wine does not count them for GetGuiResources.
DWORD OggettiGdi();

// The program's own per-user settings in the registry of this Wine prefix.
void CancellaImpostazioniProgramma();
void ScriviImpostazioneProgramma(const wchar_t* chiave, const wchar_t* valore);
std::wstring LeggiImpostazioneProgramma(const wchar_t* chiave);  // "" when absent

}  // namespace quilmora::test
