// The clock window's menu bar (file, colour and options menus) and the clicks on its face.
#pragma once

#include <windows.h>

#include <cstdint>

#include "environment/environment.h"

namespace quilmora {

// What the commands need of the clock window, and no more.
class Quadrante {
public:
    virtual HWND Finestra() const = 0;  // owner of the message boxes
    virtual std::int16_t Colore() const = 0;
    virtual void ImpostaColore(std::int16_t colore) = 0;
    virtual void MostraOra() = 0;
    virtual void Form_Resize() = 0;
    virtual bool BarraMenuVisibile() const = 0;
    virtual void MostraBarraMenu(bool mostra) = 0;

protected:
    ~Quadrante() = default;
};

class Comandi {
public:
    Comandi(const Servizi& servizi, const Avvio& avvio, Quadrante& quadrante) noexcept
        : servizi_(servizi), avvio_(avvio), quadrante_(quadrante) {}

    // Runs the handler of a menu item; false when the id belongs to no menu of ours.
    bool Esegui(int id);

    void mnuFile_Click(std::int16_t index);
    void mnuOption_Click(std::int16_t index);
    void mnuImp_Click(std::int16_t index);
    void Num_Click();  // shared by the six digit cells Num1 to Num6
    void Sep1_Click(std::int16_t index);
    // F10, or Alt alone, while the bar is hidden: the keyboard's click on the face.
    void Form_KeyMenu();

private:
    const Servizi& servizi_;  // the clock window's, as its facts
    const Avvio& avvio_;
    Quadrante& quadrante_;
};

}  // namespace quilmora
