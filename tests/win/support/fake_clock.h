// A clock whose moment the test sets.
#pragma once

#include "environment/environment.h"

namespace quilmora::test {

class OrologioFinto final : public Orologio {
public:
    SYSTEMTIME Utc() const override { return utc; }
    SYSTEMTIME Locale() const override { return locale; }
    LONG Bias() const override { return bias; }

    // Same moment for both clocks: local time then equals UTC.
    void Imposta(WORD ore, WORD minuti, WORD secondi, WORD anno = 2026, WORD mese = 12, WORD giorno = 8) {
        utc = {anno, mese, 0, giorno, ore, minuti, secondi, 0};
        locale = utc;
    }

    SYSTEMTIME utc{2026, 12, 2, 8, 9, 5, 3, 0};
    SYSTEMTIME locale{2026, 12, 2, 8, 9, 5, 3, 0};
    LONG bias = 0;
};

}  // namespace quilmora::test
