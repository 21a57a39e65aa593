#include "settings/globale.h"

#include <cstddef>
#include <utility>

#include "win/handles.h"

namespace quilmora {
namespace {

// The Win32 calls take NUL-terminated names: one holding a NUL would silently address a shorter name.
bool SenzaNul(std::wstring_view testo) {
    return testo.find(L'\0') == std::wstring_view::npos;
}

// Most values are short, so the usual read is a single query.
constexpr std::size_t kCaratteriIniziali = 64;
// The value may grow between two queries; give up rather than chase a writer for ever.
constexpr int kTentativi = 4;

std::wstring LeggiTesto(HKEY key, const std::wstring& nome) {
    std::wstring testo(kCaratteriIniziali, L'\0');
    for (int tentativo = 0; tentativo < kTentativi; ++tentativo) {
        DWORD tipo = REG_NONE;
        auto byte = static_cast<DWORD>(testo.size() * sizeof(wchar_t));
        const LSTATUS stato =
            ::RegQueryValueExW(key, nome.c_str(), nullptr, &tipo, reinterpret_cast<BYTE*>(testo.data()), &byte);
        if (tipo != REG_SZ) return {};
        if (stato == ERROR_MORE_DATA) {
            // Rounded up: the data need not be a whole number of characters.
            testo.resize(byte / sizeof(wchar_t) + 1);
            continue;
        }
        if (stato != ERROR_SUCCESS) return {};
        // Only what was returned counts; the data need not end with a NUL, and an odd last byte is no character.
        testo.resize(byte / sizeof(wchar_t));
        return TagliaNulli(std::move(testo));
    }
    return {};
}

// The registry's calls return their error rather than set it: set it, for callers that ask why.
bool Riuscito(LSTATUS stato) {
    if (stato != ERROR_SUCCESS) ::SetLastError(static_cast<DWORD>(stato));
    return stato == ERROR_SUCCESS;
}

LSTATUS Scrivi(const std::wstring& chiave, const std::wstring& nome, const std::wstring& testo, HKEY radice) {
    HKEY creata = nullptr;
    const LSTATUS creato = ::RegCreateKeyExW(radice, chiave.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                             nullptr, &creata, nullptr);
    if (creato != ERROR_SUCCESS) return creato;
    const UniqueKey key(creata);
    const auto byte = static_cast<DWORD>((testo.size() + 1) * sizeof(wchar_t));  // with the terminating NUL
    return ::RegSetValueExW(key.get(), nome.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(testo.c_str()), byte);
}

LSTATUS Rimuovi(const std::wstring& chiave, const std::wstring& nome, HKEY radice) {
    HKEY aperta = nullptr;
    const LSTATUS aperto = ::RegOpenKeyExW(radice, chiave.c_str(), 0, KEY_SET_VALUE, &aperta);
    if (aperto == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;  // no key, so no value
    if (aperto != ERROR_SUCCESS) return aperto;
    const UniqueKey key(aperta);
    const LSTATUS stato = ::RegDeleteValueW(key.get(), nome.c_str());
    return stato == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : stato;
}

}  // namespace

std::wstring LeggiRegistro(std::wstring_view chiave, std::wstring_view nome, HKEY radice) {
    if (!SenzaNul(chiave) || !SenzaNul(nome)) return {};
    HKEY aperta = nullptr;
    if (::RegOpenKeyExW(radice, std::wstring(chiave).c_str(), 0, KEY_QUERY_VALUE, &aperta) != ERROR_SUCCESS) {
        return {};
    }
    const UniqueKey key(aperta);
    return LeggiTesto(key.get(), std::wstring(nome));
}

bool ScriviRegistro(std::wstring_view chiave, std::wstring_view nome, std::wstring_view dati, HKEY radice) {
    if (!SenzaNul(chiave) || !SenzaNul(nome) || dati.size() >= MAXDWORD / sizeof(wchar_t)) {
        return Riuscito(ERROR_INVALID_PARAMETER);
    }
    return Riuscito(Scrivi(std::wstring(chiave), std::wstring(nome), std::wstring(dati), radice));
}

bool RimuoviRegistro(std::wstring_view chiave, std::wstring_view nome, HKEY radice) {
    if (!SenzaNul(chiave) || !SenzaNul(nome)) return Riuscito(ERROR_INVALID_PARAMETER);
    return Riuscito(Rimuovi(std::wstring(chiave), std::wstring(nome), radice));
}

std::wstring TagliaNulli(std::wstring testo) {
    if (const auto nul = testo.find(L'\0'); nul != std::wstring::npos) testo.resize(nul);
    return testo;
}

bool EsisteFile(std::wstring_view percorso) {
    if (percorso.empty() || !SenzaNul(percorso)) return false;
    const HANDLE aperto = ::CreateFileW(std::wstring(percorso).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (aperto == INVALID_HANDLE_VALUE) return false;
    const UniqueHandle file(aperto);
    // "NUL", "CON" and the like open too, but are no file.
    return ::GetFileType(file.get()) == FILE_TYPE_DISK;
}

}  // namespace quilmora
