#include "settings/preferences.h"

#include <gtest/gtest.h>

#include "shared/memory_store.h"

namespace quilmora {
namespace {

// The typed settings over a store: what an empty one means, the texts written, and what they read back as.
TEST(Preferenze, ReadTheTextsAsTheProgramMeansThemAndWriteTheirStoredForms) {
    test::ImpostazioniMemoria store;
    Preferenze p(store);
    EXPECT_TRUE(!p.Fuso() && !p.Legale() && p.Localita().empty() && !p.Pos() && !p.Colore() && !p.MenuNascosto());
    EXPECT_TRUE(p.Predefinite());

    p.SalvaFuso(-210, L"Terranova", true);
    p.SalvaPos({-1200, 450});
    p.SalvaColore(2);
    p.SalvaMenuNascosto(true);
    EXPECT_EQ(store.Contenuto(), L"Colore=2\nFuso=-210\nLegale=1\nLocalit\u00e0=Terranova\nMenu=No\nPos=-1200,450\n");
    EXPECT_TRUE(p.Fuso() == -210 && p.Legale() && p.Localita() == L"Terranova" && p.Colore() == 2 && p.MenuNascosto());
    EXPECT_TRUE(p.Pos() && p.Pos()->left == -1200 && p.Pos()->top == 450);
    EXPECT_FALSE(p.Predefinite());

    // A stored position that holds no number is a corner all the same; a colour out of range is none.
    store.Scrivi(kPos, L"abc");
    store.Scrivi(kColore, L"3");
    EXPECT_TRUE(p.Pos() && p.Pos()->left == 0 && p.Pos()->top == 0);
    EXPECT_FALSE(p.Colore());

    // The daylight flag and the place count for nothing without a zone; a bar shown again is a setting.
    p.CancellaFuso();
    store.Cancella(kPos);
    store.Cancella(kColore);
    p.SalvaMenuNascosto(false);
    store.Scrivi(kLegale, L"1");
    store.Scrivi(kLocalita, L"Roma");
    EXPECT_EQ(store.Contenuto(), L"Legale=1\nLocalit\u00e0=Roma\nMenu=Si\n");
    EXPECT_TRUE(!p.Fuso() && !p.MenuNascosto() && !p.Predefinite());
    store.Cancella(kMenu);
    EXPECT_TRUE(p.Predefinite());
    p.CancellaTutto();
    EXPECT_FALSE(store.SezioneEsiste());
}

// A zone is changed whole or not at all: whichever of its three writes or deletions the store refuses, the keys
// are as before (an absent one absent again) and the call says it failed; a refused put-back too.
TEST(Preferenze, AZoneIsSavedAndDeletedWholeOrNotAtAll) {
    for (int k = 1; k <= 3; ++k) {
        test::ImpostazioniMemoria store;
        Preferenze p(store);
        store.rifiutate = {k};
        EXPECT_TRUE(!p.SalvaFuso(330, L"Delhi", false) && store.Contenuto().empty()) << k;
        store.Scrivi(kFuso, L"60");
        store.Scrivi(kLocalita, L"Roma");
        store.Scrivi(kLegale, L"1");
        for (const bool salva : {true, false}) {
            store.scritture = 0;
            EXPECT_FALSE(salva ? p.SalvaFuso(330, L"Delhi", false) : p.CancellaFuso());
            EXPECT_EQ(store.Contenuto(), L"Fuso=60\nLegale=1\nLocalit\u00e0=Roma\n") << k << salva;
        }
    }
    // The third refused, and the put-back of the second: the first is put back all the same.
    test::ImpostazioniMemoria store;
    Preferenze p(store);
    store.Scrivi(kFuso, L"60");
    store.Scrivi(kLocalita, L"Roma");
    store.scritture = 0;
    store.rifiutate = {3, 4};
    EXPECT_TRUE(!p.CancellaFuso() && store.Contenuto() == L"Fuso=60\n");
    store.rifiutate.clear();
    EXPECT_TRUE(p.SalvaFuso(330, L"Delhi", false) && p.CancellaFuso() && store.Contenuto().empty());
}

}  // namespace
}  // namespace quilmora
