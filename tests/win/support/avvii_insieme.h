// Many copies of Esmalvio.exe racing to start: all are created suspended and then let go together.
#pragma once

#include <windows.h>

#include <cstddef>
#include <map>
#include <vector>

#include "app/handles.h"
#include "support/win_test_util.h"

namespace esmalvio::test {

class AvviiInsieme {
public:
    explicit AvviiInsieme(std::size_t quante);
    AvviiInsieme(const AvviiInsieme&) = delete;
    AvviiInsieme& operator=(const AvviiInsieme&) = delete;
    ~AvviiInsieme();  // copies still running are killed

    std::size_t Avviate() const noexcept { return copie_.size(); }
    DWORD Id(std::size_t i) const noexcept { return copie_[i].id; }
    bool Finita(std::size_t i) const;
    DWORD CodiceUscita(std::size_t i) const;
    std::size_t Finite() const;

    // Answers OK, once each, every visible message box titled "Esmalvio" of these copies.
    void RispondiOk();
    // What the box of each answered copy showed, by process id.
    const std::map<DWORD, MessaggioVisto>& Risposte() const noexcept { return risposte_; }

private:
    struct Copia {
        UniqueHandle processo;
        DWORD id = 0;
    };
    std::vector<Copia> copie_;
    std::map<DWORD, MessaggioVisto> risposte_;
};

}  // namespace esmalvio::test
