// Custom actions of the installer for what wixl cannot express: ending a running clock before its files change,
// and writing and removing the machine's autostart value, which the program itself can also write.
#include <windows.h>
// After windows.h, which they need.
#include <msi.h>
#include <msiquery.h>

#include <string>
#include <vector>

#include "win/handles.h"
#include "win/shared_names.h"

namespace {

using quilmora::kChiaveRun;
using quilmora::kValoreRun;
using quilmora::UniqueHandle;
using quilmora::UniqueKey;
// The clock ends at once on WM_CLOSE; the limit only keeps a hung one from stalling the installation.
constexpr DWORD kAttesaChiusuraMs = 5000;

std::wstring Proprieta(MSIHANDLE sessione, const wchar_t* nome) {
    DWORD caratteri = 0;
    wchar_t vuoto[1] = L"";
    if (::MsiGetPropertyW(sessione, nome, vuoto, &caratteri) != ERROR_MORE_DATA) return {};
    std::wstring testo(++caratteri, L'\0');
    if (::MsiGetPropertyW(sessione, nome, testo.data(), &caratteri) != ERROR_SUCCESS) return {};
    testo.resize(caratteri);
    return testo;
}

// The Run key of the 64-bit registry view, whatever the bitness of the process running the action.
UniqueKey ApriRun() {
    HKEY chiave = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kChiaveRun, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &chiave, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return UniqueKey(chiave);
}

// True when a product of the family other than the one being removed stays installed: the newer version of an
// upgrade, whose own removal will take the value away.
bool AltraVersioneResta(const std::wstring& famiglia, const std::wstring& questo) {
    wchar_t prodotto[39];
    for (DWORD i = 0; ::MsiEnumRelatedProductsW(famiglia.c_str(), 0, i, prodotto) == ERROR_SUCCESS; ++i) {
        if (::CompareStringOrdinal(prodotto, -1, questo.c_str(), -1, TRUE) != CSTR_EQUAL) return true;
    }
    return false;
}

struct Orologi {
    std::vector<HWND> finestre;
    std::vector<DWORD> processi;
};

BOOL CALLBACK RaccogliOrologio(HWND finestra, LPARAM dati) {
    wchar_t classe[64];
    if (::GetClassNameW(finestra, classe, 64) == 0) return TRUE;
    if (::lstrcmpW(classe, quilmora::kClasseOrologio) != 0 && ::lstrcmpW(classe, quilmora::kClasseFusi) != 0)
        return TRUE;
    auto& orologi = *reinterpret_cast<Orologi*>(dati);
    DWORD processo = 0;
    ::GetWindowThreadProcessId(finestra, &processo);
    orologi.finestre.push_back(finestra);
    orologi.processi.push_back(processo);
    return TRUE;
}

}  // namespace

// Asks every running clock, or its zone dialog, to close as the user would, and waits a little for it to end.
// It goes on either way: files still in use are then the installer's usual business.
extern "C" __declspec(dllexport) UINT __stdcall ChiudiOrologio(MSIHANDLE) {
    Orologi orologi;
    ::EnumWindows(RaccogliOrologio, reinterpret_cast<LPARAM>(&orologi));
    std::vector<UniqueHandle> processi;
    for (std::size_t i = 0; i < orologi.finestre.size(); ++i) {
        if (HANDLE p = ::OpenProcess(SYNCHRONIZE, FALSE, orologi.processi[i])) processi.emplace_back(p);
        ::PostMessageW(orologi.finestre[i], WM_CLOSE, 0, 0);
    }
    const ULONGLONG fine = ::GetTickCount64() + kAttesaChiusuraMs;
    for (const auto& p : processi) {
        const ULONGLONG ora = ::GetTickCount64();
        ::WaitForSingleObject(p.get(), ora < fine ? static_cast<DWORD>(fine - ora) : 0);
    }
    return ERROR_SUCCESS;
}

// Deferred, with the installer's rights: CustomActionData is the quoted path of the installed program.
extern "C" __declspec(dllexport) UINT __stdcall ScriviAvvio(MSIHANDLE sessione) {
    const std::wstring percorso = Proprieta(sessione, L"CustomActionData");
    const UniqueKey run = ApriRun();
    if (percorso.empty() || !run) return ERROR_INSTALL_FAILURE;
    const auto byte = static_cast<DWORD>((percorso.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(run.get(), kValoreRun, 0, REG_SZ, reinterpret_cast<const BYTE*>(percorso.c_str()), byte) ==
                   ERROR_SUCCESS
               ? ERROR_SUCCESS
               : ERROR_INSTALL_FAILURE;
}

// Deferred, with the installer's rights, on removal: the value goes whoever wrote it, unless the removal is the
// old half of an upgrade. CustomActionData is the UpgradeCode.
extern "C" __declspec(dllexport) UINT __stdcall TogliAvvio(MSIHANDLE sessione) {
    if (AltraVersioneResta(Proprieta(sessione, L"CustomActionData"), Proprieta(sessione, L"ProductCode"))) {
        return ERROR_SUCCESS;
    }
    if (const UniqueKey run = ApriRun()) ::RegDeleteValueW(run.get(), kValoreRun);
    return ERROR_SUCCESS;
}
