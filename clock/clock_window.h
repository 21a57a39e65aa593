// The clock window: six seven-segment digits and two blinking colons, always on top.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "app/environment.h"
#include "app/handles.h"
#include "app/window_base.h"
#include "clock/picture.h"

namespace esmalvio {

class Esmalvio : public FinestraBase<Esmalvio> {
public:
    static constexpr const wchar_t* kClasse = L"Esmalvio";
    static constexpr int kTwipPerPixel = 15;
    static constexpr int kIdTimer1 = 1;

    explicit Esmalvio(const Ambiente& ambiente);
    ~Esmalvio();

    // Creates the window, runs its start-up and shows it. False when the program has to end
    // (another copy was already running).
    bool Carica(int comeMostrare = SW_SHOWNORMAL);

    // Handlers and operations of the window, under the names the rest of the program uses.
    bool Form_Load();
    void Form_Resize();
    void Timer1_Timer();
    void DisegnaCifra(const Immagine& sorgente, Cella& destinazione, std::int16_t cifra, std::int16_t riga);
    std::wstring OraCorrente() const;
    void MostraOra(const Immagine& sorgente, std::int16_t riga, std::span<Cella, 6> celle);
    void ImpostaColore(std::int16_t colore);

    void mnuFile_Click(std::int16_t index);
    void mnuOption_Click(std::int16_t index);
    void mnuImp_Click(std::int16_t index);
    void Num_Click();
    void Sep1_Click(std::int16_t index);

    // The help file registered at start-up ("" when there is none).
    const std::wstring& FileGuida() const noexcept { return fileGuida_; }

private:
    friend class FinestraBase<Esmalvio>;
    LRESULT Gestisci(UINT msg, WPARAM wp, LPARAM lp);

    void CreaControlli();
    void MostraOraAdesso();
    void ProgrammaTimer();
    void MostraBarraMenu(bool mostra);
    bool BarraMenuVisibile() const;
    void SpostaSulloSchermo(int x, int y);
    void ApriGuida() const;
    int Messaggio(UINT idTesto, UINT stile) const;

    Ambiente ambiente_;
    UniqueMenu menu_;  // attached to the window while the bar is shown, detached while hidden
    UniqueBrush sfondo_;

    // Stored pictures, one per colour index, and the working pictures the drawing reads.
    std::array<std::unique_ptr<Immagine>, 3> color_;
    std::array<std::unique_ptr<Immagine>, 3> punto_;
    std::array<std::unique_ptr<Immagine>, 3> punto1_;
    const Immagine* numPic_ = nullptr;
    std::array<const Immagine*, 2> sep_{};

    std::array<Cella, 6> num_;  // Num1..Num6
    std::array<Cella, 2> sep1_;

    std::int16_t lampeggio_ = 0;
    bool caricato_ = false;  // start-up is over: resizes and ticks may read the settings
    std::wstring fileGuida_;
};

}  // namespace esmalvio
