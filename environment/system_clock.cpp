#include "environment/system_clock.h"

namespace quilmora {

SYSTEMTIME OrologioDiSistema::Utc() const {
    SYSTEMTIME t{};
    ::GetSystemTime(&t);
    return t;
}

SYSTEMTIME OrologioDiSistema::Locale() const {
    SYSTEMTIME t{};
    ::GetLocalTime(&t);
    return t;
}

LONG OrologioDiSistema::Bias() const {
    // On failure the record stays zero and the bias reads as 0 (Greenwich).
    TIME_ZONE_INFORMATION tzi{};
    ::GetTimeZoneInformation(&tzi);
    return tzi.Bias;
}

}  // namespace quilmora
