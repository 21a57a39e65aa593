#include "support/dialog_watch.h"

#include <utility>

namespace esmalvio::test {
namespace {

std::wstring TestoDi(HWND h) {
    wchar_t buffer[1024] = {};
    ::GetWindowTextW(h, buffer, static_cast<int>(std::size(buffer)));
    return buffer;
}

HWND Cerca(const std::wstring& contenuto) {
    struct Ricerca {
        const std::wstring& contenuto;
        HWND trovata;
    } r{contenuto, nullptr};
    ::EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto& ricerca = *reinterpret_cast<Ricerca*>(lp);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(h, &pid);
            wchar_t classe[64] = {};
            ::GetClassNameW(h, classe, static_cast<int>(std::size(classe)));
            if (pid == ::GetCurrentProcessId() && std::wstring_view(classe) == L"#32770" && ::IsWindowVisible(h) &&
                TestoDi(h).find(ricerca.contenuto) != std::wstring::npos) {
                ricerca.trovata = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&r));
    return r.trovata;
}

}  // namespace

Osservatore::Osservatore(std::wstring contenuto, int comando, std::function<void(HWND)> allaVista, DWORD timeoutMs) {
    thread_ =
        std::thread([this, contenuto = std::move(contenuto), comando, allaVista = std::move(allaVista), timeoutMs] {
            const ULONGLONG fine = ::GetTickCount64() + timeoutMs;
            HWND dlg = nullptr;
            while (!dlg && !basta_ && ::GetTickCount64() < fine) {
                dlg = Cerca(contenuto);
                if (!dlg) ::Sleep(10);
            }
            if (!dlg) return;
            DialogoVisto v{TestoDi(dlg), {}};
            ::EnumChildWindows(
                dlg,
                [](HWND h, LPARAM lp) -> BOOL {
                    reinterpret_cast<std::vector<std::wstring>*>(lp)->push_back(TestoDi(h));
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&v.testi));
            if (allaVista) allaVista(dlg);
            visto_ = std::move(v);
            ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(comando, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dlg, comando)));
            while (::IsWindow(dlg) && ::GetTickCount64() < fine) ::Sleep(10);
        });
}

Osservatore::~Osservatore() {
    Ferma();
}

std::optional<DialogoVisto> Osservatore::Ferma() {
    basta_ = true;
    if (thread_.joinable()) thread_.join();
    return visto_;
}

}  // namespace esmalvio::test
