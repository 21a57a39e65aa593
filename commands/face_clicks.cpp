// A click on a digit or colon cell brings a hidden menu bar back.
#include "clock/clock_window.h"

namespace esmalvio {

// Shared by the six digit cells Num1 to Num6.
void Esmalvio::Num_Click() {
    if (BarraMenuVisibile()) return;
    MostraBarraMenu(true);
    ambiente_.impostazioni->Scrivi(kMenu, L"Si");
}

// The colon cell's index makes no difference.
void Esmalvio::Sep1_Click(std::int16_t) {
    Num_Click();
}

}  // namespace esmalvio
