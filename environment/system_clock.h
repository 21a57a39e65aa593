// The machine's own clock and zone.
#pragma once

#include "environment/environment.h"

namespace quilmora {

class OrologioDiSistema final : public Orologio {
public:
    SYSTEMTIME Utc() const override;
    SYSTEMTIME Locale() const override;
    LONG Bias() const override;
};

}  // namespace quilmora
