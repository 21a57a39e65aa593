// Copies of Esmalvio.exe racing to start: all are created suspended and then let go together.
#pragma once

#include <algorithm>
#include <map>
#include <ranges>

#include "support/win_test_util.h"
#include "win/handles.h"

namespace quilmora::test {

struct AvviiInsieme {
    explicit AvviiInsieme(std::size_t quante) {
        std::wstring exe = ESMALVIO_EXE;
        std::replace(exe.begin(), exe.end(), L'/', L'\\');
        std::vector<UniqueHandle> thread;
        for (std::size_t i = 0; i < quante; ++i) {
            std::wstring riga = L"\"" + exe + L"\"";
            STARTUPINFOW si{};
            si.cb = sizeof si;
            PROCESS_INFORMATION pi{};
            if (::CreateProcessW(exe.c_str(), riga.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                                 &si, &pi)) {
                copie.emplace(pi.dwProcessId, UniqueHandle(pi.hProcess));
                thread.emplace_back(pi.hThread);
            }
        }
        for (const auto& t : thread) ::ResumeThread(t.get());
    }
    ~AvviiInsieme() {
        for (const auto& [id, p] : copie) ::TerminateProcess(p.get(), 1);  // fails harmlessly once ended
        for (const auto& [id, p] : copie) ::WaitForSingleObject(p.get(), 10000);
    }

    std::map<DWORD, DWORD> Codici() const {  // exit code by process id; STILL_ACTIVE while it runs
        std::map<DWORD, DWORD> codici;
        for (const auto& [id, p] : copie) ::GetExitCodeProcess(p.get(), &(codici[id] = STILL_ACTIVE));
        return codici;
    }
    // Answers the copies' boxes titled "Esmalvio" (with `icona`, once it shows) until at most `vive` run.
    bool Attendi(std::ptrdiff_t vive, DWORD timeoutMs, bool icona = false) {
        return AttendiFinche(
            [&] {
                const auto orologi = FinestreDi(kClasseOrologio);
                massimoOrologi = std::max(massimoOrologi, std::ranges::count_if(orologi, ::IsWindowVisible));
                for (HWND dlg : FinestreDi(L"#32770")) {
                    DWORD pid = 0;
                    ::GetWindowThreadProcessId(dlg, &pid);
                    if (!copie.contains(pid) || risposte.contains(pid) || !::IsWindowVisible(dlg)) continue;
                    const MessaggioVisto visto = LeggiMessaggio(dlg);
                    if (visto.titolo != L"Esmalvio" || (icona && visto.icona == 0)) continue;
                    risposte[pid] = visto;
                    ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                                   reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDOK)));
                }
                return std::ranges::count(std::views::values(Codici()), STILL_ACTIVE) <= vive;
            },
            timeoutMs);
    }

    std::map<DWORD, MessaggioVisto> risposte;  // what the box of each answered copy showed, by process id
    std::ptrdiff_t massimoOrologi = 0;         // the most clocks of any process shown at once meanwhile
    std::map<DWORD, UniqueHandle> copie;
};

}  // namespace quilmora::test
