// The zone dialog as a real window in the test's own process, with its controls at hand.
#pragma once

#include <memory>
#include <vector>

#include "support/clock_fixture.h"
#include "support/win_test_util.h"
#include "win/texts.h"
#include "zones/fusi_dialog.h"

namespace quilmora::test {

class DialogoTest : public OrologioTest {
protected:
    void Apri() {
        dialogo = std::make_unique<Fusi>(ServiziProva(), AvvioProva());
        dialogo->Mostra();
        hdlg = dialogo->hwnd();
    }
    HWND Controllo(int id) const { return ::GetDlgItem(hdlg, id); }
    LRESULT Combo(UINT msg, WPARAM wp = 0) const { return ::SendMessageW(Controllo(Fusi::kCombo1), msg, wp, 0); }
    bool Spuntato(int id) const { return ::SendMessageW(Controllo(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Spunta(int id, bool si) const { ::SendMessageW(Controllo(id), BM_SETCHECK, si ? BST_CHECKED : 0, 0); }
    // Clicks button `index` of Command1 and answers the message boxes that come.
    Visti Premi(int index, const std::vector<int>& risposte) const {
        return Rispondendo([&] { ::SendMessageW(Controllo(Fusi::kCommand1 + index), BM_CLICK, 0, 0); }, risposte);
    }
    static Visto Avviso(UINT testo) { return {Testo(::GetModuleHandleW(nullptr), testo), MB_ICONEXCLAMATION, MB_OK}; }

    const Visto kSalvo{L"Salvo le impostazioni?", MB_ICONQUESTION, MB_YESNO};
    std::unique_ptr<Fusi> dialogo;
    HWND hdlg = nullptr;  // the dialog's window
};

}  // namespace quilmora::test
