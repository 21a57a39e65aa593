#include "app/application.h"

#include "clock/clock_window.h"
#include "zones/fusi_dialog.h"

namespace esmalvio {
namespace {

// Thread messages: a window cannot discard itself from inside its own handler.
enum : UINT { kApriFusi = WM_APP + 1, kRiapriOrologio, kEsci };

}  // namespace

Applicazione::Applicazione(Ambiente ambiente) : ambiente_(std::move(ambiente)) {
    ambiente_.navigazione = this;
}

Applicazione::~Applicazione() = default;

bool Applicazione::Avvia() {
    orologio_ = std::make_unique<Esmalvio>(ambiente_);
    if (orologio_->Carica()) return true;
    orologio_.reset();
    return false;
}

void Applicazione::ApriFusi() {
    ::PostThreadMessageW(::GetCurrentThreadId(), kApriFusi, 0, 0);
}
void Applicazione::RiapriOrologio() {
    ::PostThreadMessageW(::GetCurrentThreadId(), kRiapriOrologio, 0, 0);
}
void Applicazione::Esci() {
    ::PostThreadMessageW(::GetCurrentThreadId(), kEsci, 0, 0);
}

bool Applicazione::Gestisci(const MSG& msg) {
    if (msg.hwnd) return false;
    switch (msg.message) {
        case kApriFusi:
            orologio_.reset();
            fusi_ = std::make_unique<Fusi>(ambiente_);
            fusi_->Mostra();
            return true;
        case kRiapriOrologio:
            fusi_.reset();
            // A reload never meets the second-copy test again: that answer belongs to the start.
            ambiente_.altraIstanza = false;
            if (!Avvia()) ::PostQuitMessage(0);
            return true;
        case kEsci:
            orologio_.reset();
            fusi_.reset();
            ::PostQuitMessage(0);
            return true;
        default:
            return false;
    }
}

int Applicazione::Esegui() {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (Gestisci(msg)) continue;
        // The zone dialog is modeless: Tab, access keys and Enter need the dialog manager.
        if (fusi_ && fusi_->hwnd() && ::IsDialogMessageW(fusi_->hwnd(), &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace esmalvio
