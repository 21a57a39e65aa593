// The program's run: one top-level window at a time, the clock or the zone dialog.
#pragma once

#include <memory>
#include <optional>

#include "environment/environment.h"

namespace quilmora {

class Esmalvio;
class Fusi;

class Applicazione final : public Navigazione {
public:
    // `altraIstanza`: another copy was running when this one started.
    Applicazione(Impostazioni& impostazioni, const Orologio& orologio, AvvioAutomatico& avvioAutomatico, Avvio avvio,
                 bool altraIstanza);
    ~Applicazione() override;

    // Loads the clock window. When start-up ended the program, its exit code: 0 for a copy that found another
    // running, 1 for a clock that could not be made.
    std::optional<int> Avvia();
    // Runs the message loop until the last window is gone.
    int Esegui();

    void ApriFusi() override;
    void RiapriOrologio() override;
    void Esci() override;

    // Carries out what the windows asked for; the message loop calls it whenever no handler of ours runs.
    void EseguiRichieste();

    Esmalvio* FinestraOrologio() const noexcept { return orologio_.get(); }
    Fusi* DialogoFusi() const noexcept { return fusi_.get(); }

private:
    enum class Richiesta { nessuna, apriFusi, riapriOrologio, esci };
    void Chiedi(Richiesta richiesta);

    Avvio avvio_;
    const Servizi servizi_;
    // Only the first load of the clock meets the second-copy test: that answer belongs to the start.
    bool altraIstanza_;
    std::unique_ptr<Esmalvio> orologio_;
    std::unique_ptr<Fusi> fusi_;
    // Kept here, not in the queue: every modal loop (message box, menu, moving a window) discards thread
    // messages, and a window must not be destroyed while a handler of it, or its message box, still runs.
    Richiesta richiesta_ = Richiesta::nessuna;
};

}  // namespace quilmora
