// Automatic start with Windows: the program's value in the machine's Run key. Nothing else reads or writes it.
#pragma once

#include <windows.h>

#include <string_view>

namespace quilmora {

class AvvioAutomatico {
public:
    // `radice` holds the Run key: HKEY_LOCAL_MACHINE in the program, a key of their own in the tests. Not owned.
    explicit AvvioAutomatico(HKEY radice = HKEY_LOCAL_MACHINE) noexcept : radice_(radice) {}

    // Any text counts: it is not compared with this program's path.
    bool Presente() const;
    // Starts the program of `cartella` when a user logs on. True when the value holds it afterwards.
    bool Scrivi(std::wstring_view cartella);
    // True when the value is gone afterwards, also when it was never there.
    bool Rimuovi();

private:
    HKEY radice_;
};

}  // namespace quilmora
