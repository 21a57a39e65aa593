// Custom actions of the installer for what wixl cannot express: ending a running clock before its files change,
// and writing, removing and putting back the machine's autostart value, which the program itself can also write.
#include <windows.h>
// After windows.h, which they need.
#include <msi.h>
#include <msiquery.h>

#include <cwchar>
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

// A record of the installer's, closed with its scope.
class Riga {
public:
    explicit Riga(UINT campi) : riga_(::MsiCreateRecord(campi)) {}
    Riga(const Riga&) = delete;
    Riga& operator=(const Riga&) = delete;
    ~Riga() {
        if (riga_) ::MsiCloseHandle(riga_);
    }
    MSIHANDLE get() const noexcept { return riga_; }

private:
    MSIHANDLE riga_;
};

// A line in the installation's log.
void Annota(MSIHANDLE sessione, const std::wstring& testo) {
    const Riga riga(0);
    if (!riga.get() || ::MsiRecordSetStringW(riga.get(), 0, testo.c_str()) != ERROR_SUCCESS) return;
    ::MsiProcessMessage(sessione, INSTALLMESSAGE_INFO, riga.get());
}

// The Run key of the 64-bit registry view, whatever the bitness of the process running the action.
UniqueKey ApriRun(LSTATUS& esito) {
    HKEY chiave = nullptr;
    esito = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kChiaveRun, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &chiave, nullptr);
    return UniqueKey(esito == ERROR_SUCCESS ? chiave : nullptr);
}

// The Run value as the rollback puts it back: "-" when there is none, else its type and its bytes in hex
// ("1:22004300..."); empty when it could not be read, and then the rollback leaves the value alone.
constexpr wchar_t kNessunValore[] = L"-";

std::wstring LeggiValoreRun() {
    HKEY chiave = nullptr;
    LSTATUS esito = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kChiaveRun, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &chiave);
    if (esito == ERROR_FILE_NOT_FOUND) return kNessunValore;
    if (esito != ERROR_SUCCESS) return {};
    const UniqueKey run(chiave);
    DWORD tipo = 0, byte = 0;
    std::vector<BYTE> dati;
    // The value may change between the two calls: ask again while it grows.
    do {
        dati.resize(byte);
        esito = ::RegQueryValueExW(run.get(), kValoreRun, nullptr, &tipo, dati.data(), &byte);
    } while (esito == ERROR_MORE_DATA || (esito == ERROR_SUCCESS && byte > dati.size()));
    if (esito == ERROR_FILE_NOT_FOUND) return kNessunValore;
    if (esito != ERROR_SUCCESS) return {};
    std::wstring testo = std::to_wstring(tipo) + L':';
    constexpr wchar_t kCifre[] = L"0123456789abcdef";
    for (DWORD i = 0; i < byte; ++i) testo.append({kCifre[dati[i] >> 4], kCifre[dati[i] & 15]});
    return testo;
}

int Cifra(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

// LeggiValoreRun's text of a value back to its type and bytes; false for a text it never writes.
bool Decodifica(const std::wstring& testo, DWORD& tipo, std::vector<BYTE>& dati) {
    const std::size_t due = testo.find(L':');
    if (due == 0 || due == std::wstring::npos || (testo.size() - due - 1) % 2 != 0) return false;
    wchar_t* fine = nullptr;
    tipo = static_cast<DWORD>(std::wcstoul(testo.c_str(), &fine, 10));
    if (fine != testo.c_str() + due) return false;
    for (std::size_t i = due + 1; i < testo.size(); i += 2) {
        const int alta = Cifra(testo[i]), bassa = Cifra(testo[i + 1]);
        if (alta < 0 || bassa < 0) return false;
        dati.push_back(static_cast<BYTE>(alta * 16 + bassa));
    }
    return true;
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

// Asks every clock that Restart Manager left running (off by policy, or missing), or its zone dialog, to close as
// the user would, and waits a little for it to end. It goes on either way: files still in use are then the
// installer's usual business.
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

// Immediate, before the rollback action is written into the script: what the Run value holds now becomes its
// CustomActionData.
extern "C" __declspec(dllexport) UINT __stdcall RicordaAvvio(MSIHANDLE sessione) {
    const std::wstring prima = LeggiValoreRun();
    if (prima.empty()) Annota(sessione, L"RicordaAvvio: the Run value could not be read; a rollback leaves it alone");
    ::MsiSetPropertyW(sessione, L"RipristinaAvvio", prima.c_str());
    return ERROR_SUCCESS;
}

// Rollback of ScriviAvvio and of TogliAvvio, with the installer's rights: the Run value as it was before the
// installation or the removal.
extern "C" __declspec(dllexport) UINT __stdcall RipristinaAvvio(MSIHANDLE sessione) {
    const std::wstring prima = Proprieta(sessione, L"CustomActionData");
    if (prima.empty()) return ERROR_SUCCESS;
    LSTATUS esito = ERROR_SUCCESS;
    const UniqueKey run = ApriRun(esito);
    DWORD tipo = 0;
    std::vector<BYTE> dati;
    if (run && prima == kNessunValore) {
        esito = ::RegDeleteValueW(run.get(), kValoreRun);
        if (esito == ERROR_FILE_NOT_FOUND) esito = ERROR_SUCCESS;
    } else if (run) {
        esito = Decodifica(prima, tipo, dati)
                    ? ::RegSetValueExW(run.get(), kValoreRun, 0, tipo, dati.data(), static_cast<DWORD>(dati.size()))
                    : ERROR_INVALID_DATA;
    }
    if (esito != ERROR_SUCCESS) {
        Annota(sessione,
               L"RipristinaAvvio: the Run value could not be put back (error " + std::to_wstring(esito) + L")");
    }
    return ERROR_SUCCESS;
}

// Deferred, with the installer's rights: CustomActionData is the quoted path of the installed program.
extern "C" __declspec(dllexport) UINT __stdcall ScriviAvvio(MSIHANDLE sessione) {
    const std::wstring percorso = Proprieta(sessione, L"CustomActionData");
    LSTATUS esito = ERROR_SUCCESS;
    const UniqueKey run = ApriRun(esito);
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
    LSTATUS esito = ERROR_SUCCESS;
    if (const UniqueKey run = ApriRun(esito)) esito = ::RegDeleteValueW(run.get(), kValoreRun);
    // The removal goes on: the program is gone either way, and the value's failure is one for the log.
    if (esito != ERROR_SUCCESS && esito != ERROR_FILE_NOT_FOUND) {
        Annota(sessione, L"TogliAvvio: the Run value could not be removed (error " + std::to_wstring(esito) + L")");
    }
    return ERROR_SUCCESS;
}
