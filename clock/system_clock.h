// The machine's own clock and zone.
#pragma once

#include "app/environment.h"

namespace esmalvio {

class OrologioDiSistema final : public Orologio {
public:
    SYSTEMTIME Utc() const override;
    SYSTEMTIME Locale() const override;
    LONG Bias() const override;
};

}  // namespace esmalvio
