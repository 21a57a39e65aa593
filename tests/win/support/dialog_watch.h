// Dialogs of this process answered from another thread while the test's own thread shows them.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "support/win_test_util.h"

namespace quilmora::test {

inline std::wstring TestoDi(HWND finestra) {
    wchar_t testo[1024] = {};
    ::GetWindowTextW(finestra, testo, static_cast<int>(std::size(testo)));
    return testo;
}

using Visto = std::tuple<std::wstring, UINT, UINT>;  // a message box's text, icon and buttons
using Visti = std::vector<Visto>;

// Runs `azione` and answers the message boxes it shows with `risposte` in turn; a box beyond those is
// answered OK and recorded too, so that it fails the test instead of hanging it.
inline Visti Rispondendo(const std::function<void()>& azione, const std::vector<int>& risposte = {}) {
    Visti visti;
    std::jthread risponde([&](std::stop_token basta) {
        for (std::size_t i = 0; i < risposte.size() || !basta.stop_requested(); ++i) {
            const bool atteso = i < risposte.size();
            const auto v = Risponditore(atteso ? risposte[i] : IDOK, atteso ? 10000 : 50).Visto();
            if (v) visti.emplace_back(v->testo, v->icona, v->pulsanti);
        }
    });
    azione();
    risponde.request_stop();
    risponde.join();
    return visti;
}

// Watches for a dialog whose caption contains a text; `allaVista` looks at it while it is up, on the
// watching thread, before it is answered with a command.
class Osservatore {
public:
    Osservatore(std::wstring contenuto, int comando, std::function<void(HWND)> allaVista = {})
        : thread_([this, contenuto = std::move(contenuto), comando,
                   allaVista = std::move(allaVista)](std::stop_token basta) {
              const ULONGLONG fine = ::GetTickCount64() + 10000;
              HWND dlg = nullptr;
              while (!(dlg = Cerca(contenuto)) && !basta.stop_requested() && ::GetTickCount64() < fine) ::Sleep(10);
              if (!dlg) return;
              titolo_ = TestoDi(dlg);
              if (allaVista) allaVista(dlg);
              ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(comando, BN_CLICKED),
                             reinterpret_cast<LPARAM>(::GetDlgItem(dlg, comando)));
              while (::IsWindow(dlg) && ::GetTickCount64() < fine) ::Sleep(10);
          }) {}
    // Stops watching and tells the caption of the dialog seen; one already found is answered first.
    std::optional<std::wstring> Ferma() {
        thread_.request_stop();
        if (thread_.joinable()) thread_.join();
        return titolo_;
    }

private:
    static HWND Cerca(const std::wstring& contenuto) {
        for (HWND h = nullptr; (h = ::FindWindowExW(nullptr, h, L"#32770", nullptr)) != nullptr;) {
            DWORD pid = 0;
            const bool nostro = ::GetWindowThreadProcessId(h, &pid) && pid == ::GetCurrentProcessId();
            if (nostro && ::IsWindowVisible(h) && TestoDi(h).find(contenuto) != std::wstring::npos) return h;
        }
        return nullptr;
    }

    std::optional<std::wstring> titolo_;
    std::jthread thread_;  // last, as it uses the members above
};

}  // namespace quilmora::test
