// A click on a digit or colon cell, or the menu key, brings a hidden menu bar back.
#include "commands/commands.h"

#include "settings/preferences.h"

namespace quilmora {

void Comandi::Num_Click() {
    if (quadrante_.BarraMenuVisibile()) return;
    quadrante_.MostraBarraMenu(true);
    servizi_.Salvate().SalvaMenuNascosto(false);
}

// The colon cell's index makes no difference.
void Comandi::Sep1_Click(std::int16_t) {
    Num_Click();
}

// Without the mouse a hidden bar would be lost for good: the menu key brings it back as a click does.
void Comandi::Form_KeyMenu() {
    Num_Click();
}

}  // namespace quilmora
