#include "zones/daylight_rule.h"

namespace quilmora {
namespace {

// Day of the week of a date from March onwards, Sunday = 0. Gregorian weekdays repeat every 400 years,
// so any year is first brought into 2000..2399, where the arithmetic cannot overflow.
int GiornoSettimana(int anno, int mese, int giorno) {
    const int anni = anno % 400 + (anno % 400 < 0 ? 2400 : 2000);
    const int giornoAnno = (153 * (mese - 3) + 2) / 5 + giorno - 1;  // days since 1 March
    const int giorni =
        anni * 365 + anni / 4 - anni / 100 + anni / 400 + giornoAnno - 719468;  // days since 1 January 1970
    return (giorni + 4) % 7;                                                    // 1 January 1970 was a Thursday
}

// March and October both have 31 days.
int UltimaDomenica(int anno, int mese) {
    return 31 - GiornoSettimana(anno, mese, 31);
}

}  // namespace

std::int16_t InPeriodoLegale(int anno, int mese, int giorno) {
    const int inizio = UltimaDomenica(anno, 3);
    const int fine = UltimaDomenica(anno, 10);
    const bool dopoInizio = mese > 3 || (mese == 3 && giorno >= inizio);
    const bool primaFine = mese < 10 || (mese == 10 && giorno < fine);
    return dopoInizio && primaFine ? 1 : 0;
}

}  // namespace quilmora
