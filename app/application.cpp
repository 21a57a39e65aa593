#include "app/application.h"

#include "clock/clock_window.h"
#include "zones/fusi_dialog.h"

namespace quilmora {

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
    Chiedi(Richiesta::apriFusi);
}
void Applicazione::RiapriOrologio() {
    Chiedi(Richiesta::riapriOrologio);
}
void Applicazione::Esci() {
    Chiedi(Richiesta::esci);
}

void Applicazione::Chiedi(Richiesta richiesta) {
    // Once asked, the end of the program is never taken back by a later request.
    if (richiesta_ != Richiesta::esci) richiesta_ = richiesta;
    // Wakes the message loop should it be waiting; a modal loop may swallow this, but the message loop
    // looks at the request again as soon as the modal loop has returned.
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);
}

void Applicazione::EseguiRichieste() {
    const Richiesta richiesta = richiesta_;
    richiesta_ = Richiesta::nessuna;
    switch (richiesta) {
        case Richiesta::apriFusi:
            orologio_.reset();
            fusi_ = std::make_unique<Fusi>(ambiente_);
            fusi_->Mostra();
            return;
        case Richiesta::riapriOrologio:
            fusi_.reset();
            // A reload never meets the second-copy test again: that answer belongs to the start.
            ambiente_.altraIstanza = false;
            if (!Avvia()) ::PostQuitMessage(0);
            return;
        case Richiesta::esci:
            orologio_.reset();
            fusi_.reset();
            ::PostQuitMessage(0);
            return;
        case Richiesta::nessuna:
            return;
    }
}

int Applicazione::Esegui() {
    MSG msg;
    for (;;) {
        EseguiRichieste();
        if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
        // The zone dialog is modeless: Tab, access keys and Enter need the dialog manager.
        if (fusi_ && fusi_->hwnd() && ::IsDialogMessageW(fusi_->hwnd(), &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace quilmora
