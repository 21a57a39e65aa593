// Watches on another thread for a dialog of this process whose caption contains a text, lets the
// test look at it while it is up, then answers it with a command.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace esmalvio::test {

struct DialogoVisto {
    std::wstring titolo;
    std::vector<std::wstring> testi;  // texts of its child windows
};

class Osservatore {
public:
    // `allaVista` runs on the watching thread while the dialog is shown, before it is answered.
    Osservatore(std::wstring contenuto, int comando, std::function<void(HWND)> allaVista = {}, DWORD timeoutMs = 10000);
    Osservatore(const Osservatore&) = delete;
    Osservatore& operator=(const Osservatore&) = delete;
    ~Osservatore();
    // Stops watching and tells what was seen; a dialog already found is answered first.
    std::optional<DialogoVisto> Ferma();

private:
    std::atomic<bool> basta_{false};
    std::optional<DialogoVisto> visto_;
    std::thread thread_;
};

}  // namespace esmalvio::test
