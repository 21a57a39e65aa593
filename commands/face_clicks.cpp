// A click on a digit or colon cell brings a hidden menu bar back.
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

}  // namespace quilmora
