#include "environment/this_copy.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "win/handles.h"
#include "win/system_dll.h"

namespace quilmora {
namespace {

// A text that `chiama` writes into a buffer of the size it is given, which is grown until the text fits: the call
// returns the text's length, at least the buffer's size when it did not fit, or 0 when it failed ("" then).
template <typename Chiamata>
std::wstring Riempito(Chiamata chiama) {
    std::wstring testo(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = chiama(testo.data(), static_cast<DWORD>(testo.size()));
        if (n == 0) return {};
        if (n < testo.size()) {
            testo.resize(n);
            return testo;
        }
        testo.resize(std::max<std::size_t>(n, testo.size() * 2));
    }
}

std::wstring FileProgramma() {
    return Riempito([](wchar_t* buffer, DWORD n) { return ::GetModuleFileNameW(nullptr, buffer, n); });
}

// The path with every link and junction resolved, as "C:\…" or "\\server\share\…"; empty when it cannot be had.
std::wstring PercorsoFinale(const std::wstring& percorso) {
    const HANDLE aperto = ::CreateFileW(percorso.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (aperto == INVALID_HANDLE_VALUE) return {};
    const UniqueHandle file(aperto);
    const std::wstring finale = Riempito([&](wchar_t* buffer, DWORD n) {
        return ::GetFinalPathNameByHandleW(file.get(), buffer, n, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    });
    constexpr std::wstring_view kUnc = L"\\\\?\\UNC\\", kLungo = L"\\\\?\\";
    if (finale.starts_with(kUnc)) return L"\\\\" + finale.substr(kUnc.size());
    if (finale.starts_with(kLungo)) return finale.substr(kLungo.size());
    return finale;
}

std::wstring CartellaNota(const KNOWNFOLDERID& id) {
    // Looked up: shell32 is loaded only where a copy asks where it is.
    const auto cerca = FunzioneDiSistema<decltype(&::SHGetKnownFolderPath)>(L"shell32.dll", "SHGetKnownFolderPath");
    const auto libera = FunzioneDiSistema<decltype(&::CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    PWSTR trovata = nullptr;
    if (!cerca || !libera || FAILED(cerca(id, KF_FLAG_DEFAULT, nullptr, &trovata))) return {};
    std::wstring cartella(trovata);
    libera(trovata);
    // Program Files itself may be a link elsewhere, as the running file's path is resolved.
    std::wstring finale = PercorsoFinale(cartella);
    return finale.empty() ? cartella : finale;
}

// Whether `file` lies below `cartella`: case aside, whole path components only.
bool Sotto(const std::wstring& file, std::wstring cartella) {
    while (!cartella.empty() && cartella.back() == L'\\') cartella.pop_back();
    const auto n = static_cast<int>(cartella.size());
    return n > 0 && file.size() > cartella.size() && file[cartella.size()] == L'\\' &&
           ::CompareStringOrdinal(file.c_str(), n, cartella.c_str(), n, TRUE) == CSTR_EQUAL;
}

}  // namespace

Avvio QuestaCopia(HINSTANCE istanza) {
    Avvio avvio;
    avvio.istanza = istanza;
    avvio.programma = FileProgramma();
    const auto barra = avvio.programma.find_last_of(L"\\/");
    if (barra != std::wstring::npos) avvio.cartella = avvio.programma.substr(0, barra);
    return avvio;
}

bool Installata(const std::wstring& programma) {
    // Where the real file cannot be told, the copy counts as one anybody may have put there.
    const std::wstring file = PercorsoFinale(programma);
    if (file.empty()) return false;
    for (const KNOWNFOLDERID& id : std::array{FOLDERID_ProgramFiles, FOLDERID_ProgramFilesX86}) {
        if (Sotto(file, CartellaNota(id))) return true;
    }
    return false;
}

}  // namespace quilmora
