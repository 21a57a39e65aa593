// The zone dialog: choose the zone, its daylight-saving flag and the start with Windows.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/environment.h"
#include "app/handles.h"
#include "app/window_base.h"

namespace esmalvio {

class Fusi : public FinestraBase<Fusi> {
public:
    static constexpr const wchar_t* kClasse = L"Fusi";

    explicit Fusi(const Ambiente& ambiente);
    ~Fusi();

    // Creates the window, runs its load handler and shows it.
    void Mostra(int comeMostrare = SW_SHOWNORMAL);

    void Form_Load();
    void Command1_Click(std::int16_t index);

private:
    friend class FinestraBase<Fusi>;
    LRESULT Gestisci(UINT msg, WPARAM wp, LPARAM lp);

    Ambiente ambiente_;
};

}  // namespace esmalvio
