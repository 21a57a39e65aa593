#include "win/texts.h"

#include <iterator>
#include <string_view>

#include "win/resource.h"

namespace quilmora {
namespace {

int Scatola(HWND proprietario, HINSTANCE istanza, const std::wstring& testo, UINT stile) {
    const std::wstring titolo = Testo(istanza, IDS_TITOLO);
    return ::MessageBoxW(proprietario, testo.c_str(), titolo.c_str(), stile);
}

// Windows' own words for an error in the user's language, without the line end it adds; "" for none.
std::wstring TestoErrore(DWORD errore) {
    if (errore == ERROR_SUCCESS) return {};
    // A buffer of ours: no LocalFree to pair with a buffer the call would allocate.
    wchar_t testo[512];
    const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, errore, 0,
                                     testo, static_cast<DWORD>(std::size(testo)), nullptr);
    std::wstring_view parole(testo, n);
    parole = parole.substr(0, parole.find_last_not_of(L" \r\n") + 1);
    return std::wstring(parole);
}

}  // namespace

std::wstring Testo(HINSTANCE istanza, UINT id) {
    const wchar_t* risorsa = nullptr;
    // With a zero length the call returns a pointer into the resource itself.
    const int lunghezza = ::LoadStringW(istanza, id, reinterpret_cast<LPWSTR>(&risorsa), 0);
    if (lunghezza <= 0 || !risorsa) return {};
    return std::wstring(risorsa, static_cast<std::size_t>(lunghezza));
}

int Messaggio(HWND proprietario, UINT idTesto, UINT stile) {
    const auto istanza = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(proprietario, GWLP_HINSTANCE));
    return Scatola(proprietario, istanza, Testo(istanza, idTesto), stile);
}

int MessaggioSenzaFinestra(HINSTANCE istanza, UINT idTesto, UINT stile, DWORD errore) {
    std::wstring testo = Testo(istanza, idTesto);
    if (const std::wstring perche = TestoErrore(errore); !perche.empty()) testo += L"\n\n" + perche;
    return Scatola(nullptr, istanza, testo, stile);
}

}  // namespace quilmora
