// A clock window in the test's own process, over settings in memory and a clock the test sets.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "clock/clock_window.h"
#include "support/fake_clock.h"
#include "support/memory_store.h"
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
    Ambiente AmbienteTest() {
        Ambiente a;
        a.impostazioni = &store;
        a.orologio = &orologio;
        a.navigazione = &navigazione;
        a.istanza = ::GetModuleHandleW(nullptr);
        a.cartella = cartella;
        return a;
    }
    // Creates, starts up and shows the clock window; the test fails when start-up ends the program.
    Esmalvio& Carica() {
        finestra = std::make_unique<Esmalvio>(AmbienteTest());
        EXPECT_TRUE(finestra->Carica());
        Pompa(50);
        return *finestra;
    }
    HWND hwnd() const { return finestra->hwnd(); }
    Faccia FacciaOra() {
        Pompa(20);
        return LeggiFaccia(hwnd());
    }
    std::wstring Titolo() const {
        wchar_t t[256] = {};
        ::GetWindowTextW(hwnd(), t, 256);
        return t;
    }

    ImpostazioniMemoria store;
    OrologioFinto orologio;
    NavigazioneRegistrata navigazione;
    std::wstring cartella = L"C:\\esmalvio-test-nessuna-cartella";
    std::unique_ptr<Esmalvio> finestra;
};

}  // namespace quilmora::test
