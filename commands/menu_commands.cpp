// The clock window's menu bar: file, colour and options menus.
#include "commands/commands.h"

#include <shellapi.h>

#include <string>

#include "settings/globale.h"
#include "settings/preferences.h"
#include "win/dpi.h"
#include "win/handles.h"
#include "win/resource.h"
#include "win/system_dll.h"
#include "win/texts.h"
#include "win/twips.h"

namespace quilmora {
namespace {

constexpr std::int16_t kColori = 3;
// Each item array owns a block of command ids this wide.
constexpr int kVociPerMenu = 100;

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

bool Comandi::Esegui(int id) {
    const auto indice = [id](int base) { return static_cast<std::int16_t>(id - base); };
    if (id >= IDM_MNUFILE && id < IDM_MNUFILE + kVociPerMenu) {
        mnuFile_Click(indice(IDM_MNUFILE));
    } else if (id >= IDM_MNUOPTION && id < IDM_MNUOPTION + kVociPerMenu) {
        mnuOption_Click(indice(IDM_MNUOPTION));
    } else if (id >= IDM_MNUIMP && id < IDM_MNUIMP + kVociPerMenu) {
        mnuImp_Click(indice(IDM_MNUIMP));
    } else {
        return false;
    }
    return true;
}

void Comandi::mnuFile_Click(std::int16_t index) {
    switch (index) {
        case MNUFILE_INFORMAZIONI: {
            const std::wstring fratello = avvio_.cartella + L"\\vesko.exe";
            if (EsisteFile(fratello)) {
                AvviaFratello(fratello);
                return;
            }
            const std::wstring app = Testo(avvio_.istanza, IDS_ABOUT_APP);
            const std::wstring altro =
                Testo(avvio_.istanza, IDS_ABOUT_RIGA1) + L"\r\n" + Testo(avvio_.istanza, IDS_ABOUT_RIGA2);
            // The zone dialog's icon, at the size the window's scale asks for.
            const int lato = Metrica(SM_CXICON, DpiFinestra(quadrante_.Finestra()));
            const UniqueIcon icona(static_cast<HICON>(
                ::LoadImageW(avvio_.istanza, MAKEINTRESOURCEW(IDI_FUSI), IMAGE_ICON, lato, lato, 0)));
            // The shell is loaded for this box alone, not at the program's start.
            if (const auto about = FunzioneDiSistema<decltype(&::ShellAboutW)>(L"shell32.dll", "ShellAboutW")) {
                about(quadrante_.Finestra(), app.c_str(), altro.c_str(), icona.get());
            }
            return;
        }
        case MNUFILE_ESCI:
            servizi_.navigazione.Esci();
            return;
        default:
            return;
    }
}

void Comandi::mnuOption_Click(std::int16_t index) {
    if (index >= 0 && index < kColori) quadrante_.ImpostaColore(index);
}

void Comandi::mnuImp_Click(std::int16_t index) {
    Preferenze preferenze = servizi_.Salvate();
    switch (index) {
        case MNUIMP_FUSO_ORARIO:
            servizi_.navigazione.ApriFusi();
            return;
        case MNUIMP_NASCONDI_MENU:
            quadrante_.MostraBarraMenu(false);
            preferenze.SalvaMenuNascosto(true);
            Messaggio(quadrante_.Finestra(), IDS_CLICCA_MENU, kInformazione);
            return;
        case MNUIMP_SALVA_COLORE:
            if (Messaggio(quadrante_.Finestra(), IDS_SALVO_COLORE, kDomanda) != IDYES) return;
            preferenze.SalvaColore(quadrante_.Colore());
            return;
        case MNUIMP_SALVA_POSIZIONE: {
            if (Messaggio(quadrante_.Finestra(), IDS_SALVO_POSIZIONE, kDomanda) != IDYES) return;
            // Kept at the primary screen's scale, as it is read back.
            RECT w{};
            ::GetWindowRect(quadrante_.Finestra(), &w);
            const int dpi = DpiSistema();
            preferenze.SalvaPos({TwipPosizione(w.left, dpi), TwipPosizione(w.top, dpi)});
            return;
        }
        case MNUIMP_PREDEFINITO:
            if (preferenze.Predefinite()) {
                Messaggio(quadrante_.Finestra(), IDS_GIA_PREDEFINITE, kAvviso);
                return;
            }
            if (Messaggio(quadrante_.Finestra(), IDS_REIMPOSTO, kDomanda) != IDYES) return;
            preferenze.CancellaTutto();
            quadrante_.ImpostaColore(0);
            quadrante_.MostraOra();
            quadrante_.Form_Resize();
            return;
        default:
            return;
    }
}

}  // namespace quilmora
