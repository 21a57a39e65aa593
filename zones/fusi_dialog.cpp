#include "zones/fusi_dialog.h"

namespace esmalvio {

Fusi::Fusi(const Ambiente& ambiente) : ambiente_(ambiente) {}
Fusi::~Fusi() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}
void Fusi::Mostra(int) {}
void Fusi::Form_Load() {}
void Fusi::Command1_Click(std::int16_t) {}
LRESULT Fusi::Gestisci(UINT msg, WPARAM wp, LPARAM lp) { return ::DefWindowProcW(hwnd_, msg, wp, lp); }

}  // namespace esmalvio
