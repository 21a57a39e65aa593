#include "app/application.h"

#include <utility>

#include "clock/clock_window.h"
#include "environment/this_copy.h"
#include "zones/fusi_dialog.h"

namespace quilmora {

Applicazione::Applicazione(Impostazioni& impostazioni, const Orologio& orologio, AvvioAutomatico& avvioAutomatico,
                           Avvio avvio, bool altraIstanza)
    : avvio_(std::move(avvio)), servizi_{impostazioni, orologio, *this, avvioAutomatico}, altraIstanza_(altraIstanza) {}

Applicazione::~Applicazione() = default;

std::optional<int> Applicazione::Avvia() {
    orologio_ = std::make_unique<Esmalvio>(servizi_, avvio_);
    const bool altraIstanza = std::exchange(altraIstanza_, false);
    if (orologio_->Carica(altraIstanza)) return std::nullopt;
    orologio_.reset();
    return altraIstanza ? 0 : 1;
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
            if (!avvio_.installata) avvio_.installata = Installata(avvio_.programma);
            fusi_ = std::make_unique<Fusi>(servizi_, avvio_);
            fusi_->Mostra();
            return;
        case Richiesta::riapriOrologio:
            fusi_.reset();
            if (const auto uscita = Avvia()) ::PostQuitMessage(*uscita);
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
    for (;;) {
        EseguiRichieste();
        MSG msg{};
        const BOOL letto = ::GetMessageW(&msg, nullptr, 0, 0);
        if (letto == 0) return static_cast<int>(msg.wParam);
        // No message can be had any more: end, and say it was no normal end.
        if (letto == -1) return 1;
        // The zone dialog is modeless: Tab, access keys and Enter need the dialog manager.
        if (fusi_ && fusi_->hwnd() && ::IsDialogMessageW(fusi_->hwnd(), &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

}  // namespace quilmora
