#include "win/texts.h"

#include "win/resource.h"

namespace quilmora {

std::wstring Testo(HINSTANCE istanza, UINT id) {
    const wchar_t* risorsa = nullptr;
    // With a zero length the call returns a pointer into the resource itself.
    const int lunghezza = ::LoadStringW(istanza, id, reinterpret_cast<LPWSTR>(&risorsa), 0);
    if (lunghezza <= 0 || !risorsa) return {};
    return std::wstring(risorsa, static_cast<std::size_t>(lunghezza));
}

int Messaggio(HWND proprietario, UINT idTesto, UINT stile) {
    const auto istanza = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(proprietario, GWLP_HINSTANCE));
    const std::wstring testo = Testo(istanza, idTesto);
    const std::wstring titolo = Testo(istanza, IDS_TITOLO);
    return ::MessageBoxW(proprietario, testo.c_str(), titolo.c_str(), stile);
}

}  // namespace quilmora
