// The fixed daylight-saving period used to suggest the daylight box when no zone is stored.
#pragma once

#include <cstdint>

namespace quilmora {

// 1 from the last Sunday of March (included) to the last Sunday of October (excluded), else 0.
// Judged on the calendar date alone: no time of day, no time-zone rules.
std::int16_t InPeriodoLegale(int anno, int mese, int giorno);

}  // namespace quilmora
