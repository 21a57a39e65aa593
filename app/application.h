// The program's run: one top-level window at a time, the clock or the zone dialog.
#pragma once

#include <memory>

#include "app/environment.h"

namespace esmalvio {

class Esmalvio;
class Fusi;

class Applicazione final : public Navigazione {
public:
    explicit Applicazione(Ambiente ambiente);
    ~Applicazione() override;

    // Loads the clock window. False when start-up ended the program.
    bool Avvia();
    // Runs the message loop until the last window is gone.
    int Esegui();

    void ApriFusi() override;
    void RiapriOrologio() override;
    void Esci() override;

    Esmalvio* Orologio() const noexcept { return orologio_.get(); }
    Fusi* DialogoFusi() const noexcept { return fusi_.get(); }

    // Carries out a request of a window once its handler has returned; the message loop calls it.
    bool Gestisci(const MSG& msg);

private:
    Ambiente ambiente_;
    std::unique_ptr<Esmalvio> orologio_;
    std::unique_ptr<Fusi> fusi_;
};

}  // namespace esmalvio
