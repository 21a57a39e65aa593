// Whether anybody can see the screen: the session may be locked, the display switched off.
#pragma once

#include <windows.h>

namespace quilmora {

class Riposo {
public:
    // Asks for the session's and the display's notifications to the window; where the session's are
    // missing (wtsapi32), only the display's come.
    explicit Riposo(HWND finestra);
    ~Riposo();
    Riposo(const Riposo&) = delete;
    Riposo& operator=(const Riposo&) = delete;

    // True while nobody can see the screen.
    bool Attivo() const noexcept { return bloccata_ || spento_; }
    // Takes in a message. True when it changed whether anybody can see the screen, or the machine has
    // woken from sleep: the window has something to catch up with.
    bool Leggi(UINT msg, WPARAM wp, LPARAM lp);

private:
    HWND finestra_;
    HPOWERNOTIFY schermo_ = nullptr;
    bool sessione_ = false;  // the session's notifications were asked for
    bool bloccata_ = false;
    bool spento_ = false;
};

}  // namespace quilmora
