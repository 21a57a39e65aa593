// A clock window in the test's own process, over settings in memory and a clock the test sets.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "clock/clock_window.h"
#include "shared/memory_store.h"
#include "support/fake_clock.h"
#include "support/win_test_util.h"

namespace quilmora::test {

class NavigazioneRegistrata final : public Navigazione {
public:
    void ApriFusi() override { ++apriFusi; }
    void RiapriOrologio() override { ++riapriOrologio; }
    void Esci() override { ++esci; }
    int apriFusi = 0;
    int riapriOrologio = 0;
    int esci = 0;
};

class OrologioTest : public ::testing::Test {
protected:
    // The stand-in services over `impostazioni` (the store in memory unless a test passes another).
    Servizi ServiziProva(Impostazioni* impostazioni = nullptr) {
        return {impostazioni ? *impostazioni : store, orologio, navigazione, avvioAutomatico};
    }
    Avvio AvvioProva() const {
        return {::GetModuleHandleW(nullptr), cartella, cartella + L"\\Esmalvio.exe", installata};
    }
    // Creates, starts up and shows the clock window; the test fails when start-up ends the program.
    Esmalvio& Carica(Impostazioni* impostazioni = nullptr) {
        finestra = std::make_unique<Esmalvio>(ServiziProva(impostazioni), AvvioProva());
        EXPECT_TRUE(finestra->Carica());
        Assesta(hwnd());
        return *finestra;
    }
    HWND hwnd() const { return finestra->hwnd(); }
    Faccia FacciaOra() {
        Assesta(hwnd());
        return LeggiFaccia(hwnd());
    }
    std::wstring Titolo() const { return TestoDi(hwnd()); }

    ImpostazioniMemoria store;
    OrologioFinto orologio;
    NavigazioneRegistrata navigazione;
    // No root: every use fails harmlessly. The zone dialog's tests give it a key of their own.
    AvvioAutomatico avvioAutomatico{nullptr};
    std::wstring cartella = L"C:\\esmalvio-test-nessuna-cartella";
    bool installata = true;  // automatic start the machine's, as for the installed copy
    std::unique_ptr<Esmalvio> finestra;
};

}  // namespace quilmora::test
