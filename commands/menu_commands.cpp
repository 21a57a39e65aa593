// The clock window's menu bar: file, colour and options menus.
#include "clock/clock_window.h"

#include <shellapi.h>

#include <string>

#include "app/resource.h"
#include "app/texts.h"
#include "settings/globale.h"
#include "settings/stored_values.h"

namespace esmalvio {
namespace {

constexpr std::int16_t kColori = 3;

bool Spuntato(HMENU menu, std::int16_t colore) {
    return (::GetMenuState(menu, static_cast<UINT>(IDM_MNUOPTION + colore), MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void Spunta(HMENU menu, std::int16_t colore, bool spunta) {
    ::CheckMenuItem(menu, static_cast<UINT>(IDM_MNUOPTION + colore),
                    MF_BYCOMMAND | (spunta ? MF_CHECKED : MF_UNCHECKED));
}

// Starts the sibling program with the argument "o". The path is quoted and also given as the
// application name, so a folder with blanks cannot start some other program.
void AvviaFratello(const std::wstring& percorso) {
    std::wstring riga = L"\"" + percorso + L"\" o";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (::CreateProcessW(percorso.c_str(), riga.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        UniqueHandle processo(pi.hProcess);
        UniqueHandle thread(pi.hThread);
    }
}

}  // namespace

void Esmalvio::mnuFile_Click(std::int16_t index) {
    switch (index) {
        case 0: {
            const std::wstring fratello = ambiente_.cartella + L"\\vesko.exe";
            if (EsisteFile(fratello)) {
                AvviaFratello(fratello);
                return;
            }
            const std::wstring app = Testo(ambiente_.istanza, IDS_ABOUT_APP);
            const std::wstring altro =
                Testo(ambiente_.istanza, IDS_ABOUT_RIGA1) + L"\r\n" + Testo(ambiente_.istanza, IDS_ABOUT_RIGA2);
            // A shared icon from the resources: the zone dialog is not created for it.
            ::ShellAboutW(hwnd_, app.c_str(), altro.c_str(),
                          ::LoadIconW(ambiente_.istanza, MAKEINTRESOURCEW(IDI_FUSI)));
            return;
        }
        case 2:
            ambiente_.navigazione->Esci();
            return;
        default:
            return;
    }
}

void Esmalvio::mnuOption_Click(std::int16_t index) {
    if (index < 0 || index >= kColori) return;
    HMENU menu = menu_.get();
    for (std::int16_t i = 0; i < kColori; ++i) Spunta(menu, i, false);
    Spunta(menu, index, true);
    if (Spuntato(menu, index)) ImpostaColore(index);
}

void Esmalvio::mnuImp_Click(std::int16_t index) {
    Impostazioni& s = *ambiente_.impostazioni;
    switch (index) {
        case 0:
            ambiente_.navigazione->ApriFusi();
            return;
        case 2:
            MostraBarraMenu(false);
            s.Scrivi(kMenu, L"No");
            Messaggio(IDS_CLICCA_MENU, kInformazione);
            return;
        case 4: {
            if (Messaggio(IDS_SALVO_COLORE, kDomanda) == IDNO) return;
            std::int16_t colore = 0;
            for (std::int16_t i = 0; i < kColori; ++i) {
                if (Spuntato(menu_.get(), i)) colore = i;
            }
            s.Scrivi(kColore, TestoIntero(colore));
            return;
        }
        case 5: {
            if (Messaggio(IDS_SALVO_POSIZIONE, kDomanda) == IDNO) return;
            RECT w{};
            ::GetWindowRect(hwnd_, &w);
            s.Scrivi(kPos, ScriviPos({static_cast<double>(w.left) * kTwipPerPixel,
                                      static_cast<double>(w.top) * kTwipPerPixel}));
            return;
        }
        case 7: {
            const std::wstring fuso = s.Leggi(kFuso);
            const std::wstring menu = s.Leggi(kMenu);
            const std::wstring pos = s.Leggi(kPos);
            const std::wstring colore = s.Leggi(kColore);
            if (fuso.empty() && menu.empty() && pos.empty() && colore.empty()) {
                Messaggio(IDS_GIA_PREDEFINITE, kAvviso);
                return;
            }
            if (Messaggio(IDS_REIMPOSTO, kDomanda) != IDYES) return;
            s.CancellaSezione();
            ImpostaColore(0);
            for (std::int16_t i = 0; i < kColori; ++i) Spunta(menu_.get(), i, i == 0);
            MostraOraAdesso();
            Form_Resize();
            return;
        }
        default:
            return;
    }
}

}  // namespace esmalvio
