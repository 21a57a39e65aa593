// Automatic start with Windows: the program's value in the machine's Run key, and the marks by which Task Manager
// and Settings switch a start-up entry off without removing it. Nothing else reads or writes them.
#pragma once

#include <windows.h>

#include <string_view>

namespace quilmora {

class AvvioAutomatico {
public:
    // `macchina` holds the Run key and the machine's marks, `utente` the user's marks: HKEY_LOCAL_MACHINE and
    // HKEY_CURRENT_USER in the program, keys of their own in the tests. Not owned.
    explicit AvvioAutomatico(HKEY macchina = HKEY_LOCAL_MACHINE, HKEY utente = HKEY_CURRENT_USER) noexcept
        : macchina_(macchina), utente_(utente) {}

    // The program starts at logon: the Run value holds a text (any text, not compared with this program's
    // path) and no mark switches it off.
    bool Attivo() const;
    // Whether switching to `acceso` changes the machine's keys, which only an administrator may write.
    bool CambiaLaMacchina(bool acceso) const;
    // Whether that change needs more rights than this process has.
    bool ServeElevazione(bool acceso) const;

    // The user's part of switching to `acceso`: on, the user's mark that switched it off is deleted.
    // ERROR_SUCCESS, or the registry's error.
    LSTATUS CambiaUtente(bool acceso);
    // The machine's part: on, the Run value is written with the quoted program of `cartella` where it holds no
    // text, and the machine's mark that switched it off is deleted; off, the Run value is removed.
    // ERROR_SUCCESS, or the registry's error (ERROR_ACCESS_DENIED without an administrator's rights).
    LSTATUS CambiaMacchina(bool acceso, std::wstring_view cartella);

private:
    HKEY macchina_;
    HKEY utente_;
};

}  // namespace quilmora
