#include "support/avvii_insieme.h"

#include <algorithm>
#include <string>

namespace esmalvio::test {

AvviiInsieme::AvviiInsieme(std::size_t quante) {
    std::wstring percorso = ESMALVIO_EXE;
    std::replace(percorso.begin(), percorso.end(), L'/', L'\\');
    std::vector<UniqueHandle> thread;
    for (std::size_t i = 0; i < quante; ++i) {
        std::wstring riga = L"\"" + percorso + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessW(percorso.c_str(), riga.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                              nullptr, &si, &pi)) {
            continue;
        }
        copie_.push_back({UniqueHandle(pi.hProcess), pi.dwProcessId});
        thread.emplace_back(pi.hThread);
    }
    for (const auto& t : thread) ::ResumeThread(t.get());
}

AvviiInsieme::~AvviiInsieme() {
    for (const auto& c : copie_) {
        if (::WaitForSingleObject(c.processo.get(), 0) == WAIT_TIMEOUT) ::TerminateProcess(c.processo.get(), 1);
    }
    for (const auto& c : copie_) ::WaitForSingleObject(c.processo.get(), 10000);
}

bool AvviiInsieme::Finita(std::size_t i) const {
    return ::WaitForSingleObject(copie_[i].processo.get(), 0) == WAIT_OBJECT_0;
}

DWORD AvviiInsieme::CodiceUscita(std::size_t i) const {
    DWORD codice = STILL_ACTIVE;
    ::GetExitCodeProcess(copie_[i].processo.get(), &codice);
    return codice;
}

std::size_t AvviiInsieme::Finite() const {
    std::size_t n = 0;
    for (std::size_t i = 0; i < copie_.size(); ++i) n += Finita(i) ? 1 : 0;
    return n;
}

void AvviiInsieme::RispondiOk() {
    for (HWND dlg : FinestreDi(L"#32770")) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(dlg, &pid);
        wchar_t titolo[64] = {};
        ::GetWindowTextW(dlg, titolo, static_cast<int>(std::size(titolo)));
        const bool nostra = std::any_of(copie_.begin(), copie_.end(), [&](const Copia& c) { return c.id == pid; });
        if (!nostra || risposte_.contains(pid) || !::IsWindowVisible(dlg) || std::wstring_view(titolo) != L"Esmalvio") {
            continue;
        }
        risposte_[pid] = LeggiMessaggio(dlg);
        ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDOK)));
    }
}

}  // namespace esmalvio::test
