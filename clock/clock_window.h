// The clock window: six seven-segment digits and two blinking colons, always on top.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "clock/displayed_time.h"
#include "clock/picture.h"
#include "commands/commands.h"
#include "environment/environment.h"
#include "win/accessible.h"
#include "win/handles.h"
#include "win/icons.h"
#include "win/rest.h"
#include "win/shared_names.h"
#include "win/window_base.h"

namespace quilmora {

class Esmalvio final : public FinestraBase<Esmalvio>, private Quadrante, private FonteAccessibile {
public:
    static constexpr const wchar_t* kClasse = kClasseOrologio;
    static constexpr int kIdTimer1 = 1;

    Esmalvio(const Servizi& servizi, const Avvio& avvio);
    ~Esmalvio();

    // Creates the window, runs its start-up and shows it. False when the program has to end: another copy
    // was already running (`altraIstanza`, which only the program's first load asks about), or the window
    // could not be made, which a message box has said.
    bool Carica(bool altraIstanza = false, int comeMostrare = SW_SHOWNORMAL);

    // Handlers and operations of the window, under the names the rest of the program uses.
    bool Form_Load();
    void Form_Resize() override;
    void Timer1_Timer();
    OraDelGiorno OraCorrente() const;
    // The time now on the face: the digits that changed and the colons, lit or unlit as `Lampeggio` says.
    void MostraOra() override;
    void ImpostaColore(std::int16_t colore) override;
    std::int16_t Colore() const override { return colore_; }

    // The menu commands and the clicks on the face.
    Comandi& comandi() noexcept { return comandi_; }

    // The help file registered at start-up ("" when there is none).
    const std::wstring& FileGuida() const noexcept { return fileGuida_; }

private:
    friend class FinestraBase<Esmalvio>;
    LRESULT Gestisci(UINT msg, WPARAM wp, LPARAM lp);

    HWND Finestra() const override { return hwnd_; }
    bool BarraMenuVisibile() const override;
    void MostraBarraMenu(bool mostra) override;

    void CreaControlli();
    void CambiaScala(int dpi, const RECT& suggerito);
    void IconeAllaScala();  // the title bar's and taskbar's, at the window's scale

    // The face: a backing image of the client area with the cells in it.
    enum Immagini { kStrip, kAcceso, kSpento };  // which picture of a colour
    // What a cell shows: glyph `colonna` of a picture, known by its colour, kind and scale.
    struct Glifo {
        std::int16_t colore;
        Immagini immagine;
        int dpi;
        int colonna;
        bool operator==(const Glifo&) const = default;
    };
    struct Cella {
        RECT posto;                   // in the client area
        std::optional<Glifo> mostra;  // none: whatever it shows is drawn again
    };
    void NuovaFaccia();  // a blank face at the scale in use, drawn whole from then on
    // Where a cell's glyphs are copied from: the stored picture, or its copy stretched to the cell. The colour's
    // pictures are loaded at the first call that asks for them.
    const Immagine& Pittura(std::int16_t colore, Immagini immagine, SIZE cella);
    // Copy a glyph into a cell's place in the backing image; false when the cell shows it already.
    bool DisegnaCifra(std::size_t cella, std::int16_t cifra);
    bool Copia(std::size_t cella, const Glifo& glifo);
    // The digits and the colons, lit or unlit, into the backing image; what changed is invalidated.
    void DisegnaFaccia(const std::array<std::int16_t, 6>& cifre, bool acceso);
    void Dipingi();
    // Every press of the left button in the client area: a drag moves the window, a click goes to the cell. The
    // mouse is captured meanwhile, with no loop of its own, so the face goes on ticking.
    void Premuto(POINT p);
    void Spostato(POINT p);     // a drag once the mouse leaves the rectangle the system gives a click
    void Rilasciato();          // a click, on the cell that was pressed
    void PressioneAnnullata();  // Esc, or the capture lost: neither a drag nor a click
    std::optional<std::size_t> CellaIn(POINT p) const;
    void Click(std::size_t cella);

    void ProgrammaTimer();
    // What start-up leaves until the first face is drawn: the notifications of rest, the help file.
    void DopoLaPrimaFaccia();
    // Whose time the face shows: " - Ora locale", or " - Ora di " and the place.
    std::wstring DiChi(bool fuso, const std::wstring& localita) const;
    std::wstring NomeAccessibile() const override;
    void ApriGuida() const;
    bool InRiposo() const;  // nobody can see the face: no tick
    void Ripristinata();    // back from the taskbar
    void Risveglio();       // the screen can be seen again, or the machine woke up

    const Servizi servizi_;
    const Avvio avvio_;
    Comandi comandi_{servizi_, avvio_, *this};
    UniqueMenu menu_;  // attached to the window while the bar is shown, detached while hidden
    COLORREF sfondo_;

    // The stored pictures of each colour, loaded when the colour is first used and then kept.
    std::array<std::unique_ptr<PittureColore>, 3> pitture_;
    std::int16_t colore_ = 0;  // the colour in use; the colour menu's check mark shows it

    // Copies of the stored pictures stretched to the cells, for the scale in use; none at 100 %.
    struct Scalata {
        std::int16_t colore;
        Immagini immagine;
        SIZE cella;
        std::unique_ptr<Immagine> copia;
    };
    std::vector<Scalata> scalate_;
    std::unique_ptr<Immagine> faccia_;  // the client area as it is to be seen
    std::array<Cella, 8> celle_{};      // Num1 to Num6, Sep1(0) and Sep1(1)
    // What the face shows now, to draw it again at another scale or after a restore.
    struct Mostrata {
        std::array<std::int16_t, 6> cifre;
        bool acceso;
    };
    std::optional<Mostrata> mostrata_;
    int dpi_ = 96;
    POINT origineCreata_{};         // the face's corner on the screen as created
    std::optional<POINT> premuto_;  // where the left button went down, while it is held
    IconeFinestra icone_;
    ClientAccessibile accessibile_;

    std::int16_t lampeggio_ = 0;
    UINT intervallo_ = 0;           // of the timer while it runs, in ms
    std::optional<Riposo> riposo_;  // from start-up to the window's end
    bool minimizzata_ = false;
    bool altraIstanza_ = false;  // start-up ends the program
    bool caricato_ = false;      // start-up is over: resizes and ticks may read the settings
    std::wstring fileGuida_;

    // SetCoalescableTimer, where Windows has it (8 and later).
    using TimerNonCoalescibile = UINT_PTR(WINAPI*)(HWND, UINT_PTR, UINT, TIMERPROC, ULONG);
    TimerNonCoalescibile timerNonCoalescibile_ = nullptr;
};

}  // namespace quilmora
