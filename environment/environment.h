// What the windows are given from outside: the facts of this start and the services they use. Tests build
// both with stand-ins.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "settings/autostart.h"
#include "settings/preferences.h"
#include "settings/settings_store.h"

namespace quilmora {

// System time and zone, behind an interface so tests can fix the moment.
class Orologio {
public:
    virtual ~Orologio() = default;
    virtual SYSTEMTIME Utc() const = 0;
    virtual SYSTEMTIME Locale() const = 0;
    // Bias of the system's standard time, in minutes: UTC = local standard time + Bias.
    virtual LONG Bias() const = 0;
};

// Top-level windows ask for these; the application carries them out once the asking handler returned.
class Navigazione {
public:
    virtual ~Navigazione() = default;
    virtual void ApriFusi() = 0;        // discard the clock window, show the zone dialog
    virtual void RiapriOrologio() = 0;  // discard the zone dialog, load the clock window anew
    virtual void Esci() = 0;            // close every window and end the program
};

// Known at the start and the same for the whole run.
struct Avvio {
    HINSTANCE istanza = nullptr;  // module holding the resources
    std::wstring cartella;        // folder of the executable, without a trailing backslash
    std::wstring programma;       // the running executable, whatever its name
    // In Program Files: automatic start is the machine's, changed with elevation. Any other copy starts with
    // Windows for its own user only. Told when the zone dialog first needs it: telling loads the shell, which
    // would cost the clock's start more than the rest of it.
    std::optional<bool> installata;
};

// The services; each has one owner, the entry point (a test, in its own), which outlives every window.
struct Servizi {
    Impostazioni& impostazioni;
    const Orologio& orologio;
    Navigazione& navigazione;
    AvvioAutomatico& avvioAutomatico;

    // The settings as they are stored now, read afresh at each call.
    Preferenze Salvate() const { return Preferenze(impostazioni); }
};

}  // namespace quilmora
