// The clock window: six seven-segment digits and two blinking colons, always on top.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
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
    // was already running (`altraIstanza`, which only the program's first load asks about).
    bool Carica(bool altraIstanza = false, int comeMostrare = SW_SHOWNORMAL);

    // Handlers and operations of the window, under the names the rest of the program uses.
    bool Form_Load();
    void Form_Resize() override;
    void Timer1_Timer();
    void DisegnaCifra(const Immagine& sorgente, Cella& destinazione, std::int16_t cifra, std::int16_t riga);
    OraDelGiorno OraCorrente() const;
    void MostraOra(const Immagine& sorgente, std::int16_t riga, std::span<Cella, 6> celle);
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
    void MostraOraAdesso() override;
    bool BarraMenuVisibile() const override;
    void MostraBarraMenu(bool mostra) override;

    void CreaControlli();
    void ScalaImmagini();
    const Immagine& AllaScala(const Immagine& sorgente, SIZE cella) const;
    void CambiaScala(int dpi, const RECT& suggerito);
    const Immagine& NumPic() const { return *color_[static_cast<std::size_t>(colore_)]; }
    const Immagine& Sep(std::size_t lit) const {  // 0 lit, 1 unlit colon
        return *(lit == 0 ? punto_ : punto1_)[static_cast<std::size_t>(colore_)];
    }
    void ProgrammaTimer();
    // Whose time the face shows: " - Ora locale", or " - Ora di " and the place.
    std::wstring DiChi(bool fuso, const std::wstring& localita) const;
    std::wstring NomeAccessibile() const override;
    void ApriGuida() const;
    bool InRiposo() const;  // nobody can see the face: no tick
    void Ripristinata();    // back from the taskbar
    // A press of the left button at `schermo` on cell `cella` (Num1 to Num6, then the colons; -1: a margin).
    void Premuto(POINT schermo, int cella);
    void Risveglio();  // the screen can be seen again, or the machine woke up

    const Servizi servizi_;
    const Avvio avvio_;
    Comandi comandi_{servizi_, avvio_, *this};
    UniqueMenu menu_;  // attached to the window while the bar is shown, detached while hidden
    UniqueBrush sfondo_;

    // Stored pictures, one per colour index; the working pictures the drawing reads are those of the colour in use.
    std::array<std::unique_ptr<Immagine>, 3> color_;
    std::array<std::unique_ptr<Immagine>, 3> punto_;
    std::array<std::unique_ptr<Immagine>, 3> punto1_;
    std::int16_t colore_ = 0;  // the colour in use; the colour menu's check mark shows it

    // Copies of the stored pictures stretched to the cells, made once a scale; none at 100 %.
    struct Scalata {
        const Immagine* sorgente;
        SIZE cella;
        std::unique_ptr<Immagine> immagine;
    };
    std::vector<Scalata> scalate_;
    // What the face shows now, to draw it again at another scale.
    struct Mostrata {
        const Immagine* strip = nullptr;
        const Immagine* punto = nullptr;
        std::array<std::int16_t, 6> cifre{};
    } mostrata_;
    int dpi_ = 96;
    POINT origineCreata_{};  // the face's corner on the screen as created
    IconeFinestra icone_;
    ClientAccessibile accessibile_;

    std::array<Cella, 6> num_;  // Num1..Num6
    std::array<Cella, 2> sep1_;

    // SetCoalescableTimer, where Windows has it (8 and later).
    using TimerNonCoalescibile = UINT_PTR(WINAPI*)(HWND, UINT_PTR, UINT, TIMERPROC, ULONG);
    TimerNonCoalescibile timerNonCoalescibile_ = nullptr;

    std::int16_t lampeggio_ = 0;
    std::optional<Riposo> riposo_;  // from start-up to the window's end
    bool minimizzata_ = false;
    bool altraIstanza_ = false;  // start-up ends the program
    bool caricato_ = false;      // start-up is over: resizes and ticks may read the settings
    std::wstring fileGuida_;
};

}  // namespace quilmora
