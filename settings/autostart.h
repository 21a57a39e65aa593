// Automatic start with Windows: the program's value in the machine's Run key, or in its user's for a copy that is
// not installed, and the marks by which Task Manager and Settings switch a start-up entry off without removing it.
// Nothing else reads or writes them.
#pragma once

#include <windows.h>

#include <string_view>

namespace quilmora {

class AvvioAutomatico {
public:
    // `macchina` holds the machine's Run value and marks, `utente` the user's: HKEY_LOCAL_MACHINE and
    // HKEY_CURRENT_USER in the program, keys of their own in the tests. Not owned.
    explicit AvvioAutomatico(HKEY macchina = HKEY_LOCAL_MACHINE, HKEY utente = HKEY_CURRENT_USER) noexcept
        : macchina_(macchina), utente_(utente) {}

    // The program starts at logon: the machine's or the user's Run value holds a text (any text, not compared
    // with this program's path) and no mark switches it off.
    bool Attivo() const;
    // The machine's Run value holds a text, switched off or not.
    bool DellaMacchina() const;
    // Whether switching to `acceso` changes the machine's keys, which only an administrator may write.
    bool CambiaLaMacchina(bool acceso) const;
    // Whether that change needs more rights than this process has.
    bool ServeElevazione(bool acceso) const;

    // The user's part of switching to `acceso`: on, the user's mark that switched it off is deleted; off, the
    // user's Run value is removed. ERROR_SUCCESS, or the registry's error.
    LSTATUS CambiaUtente(bool acceso);
    // The user's Run value written with the quoted `programma`, where it holds no text.
    LSTATUS ScriviUtente(std::wstring_view programma);
    // The machine's part: on, the Run value is written with the quoted `programma` where it holds no text, and the
    // machine's mark that switched it off is deleted; off, the Run value is removed.
    // ERROR_SUCCESS, or the registry's error (ERROR_ACCESS_DENIED without an administrator's rights).
    LSTATUS CambiaMacchina(bool acceso, std::wstring_view programma);

private:
    HKEY macchina_;
    HKEY utente_;
};

}  // namespace quilmora
