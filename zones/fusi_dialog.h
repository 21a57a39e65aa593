// The zone dialog: choose the zone, its daylight-saving flag and the start with Windows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "environment/environment.h"
#include "win/handles.h"
#include "win/icons.h"
#include "win/shared_names.h"
#include "win/window_base.h"

namespace quilmora {

class Fusi : public FinestraBase<Fusi> {
public:
    static constexpr const wchar_t* kClasse = kClasseFusi;

    // Control ids; the buttons of the array Command1 are kCommand1 + index. None is IDOK or IDCANCEL,
    // so Enter and Esc outside a button do nothing, as in a dialog without default and cancel buttons.
    enum Controllo : int { kCombo1 = 100, kCheck1, kCheck2, kLabel1, kLabel2, kCommand1 = 110 };

    Fusi(const Servizi& servizi, const Avvio& avvio);
    ~Fusi();

    // Creates the window, runs its load handler and shows it; when the window or one of its controls cannot be
    // made, says so and asks for the clock back.
    void Mostra(int comeMostrare = SW_SHOWNORMAL);

    void Form_Load();
    void Command1_Click(std::int16_t index);

private:
    friend class FinestraBase<Fusi>;
    LRESULT Gestisci(UINT msg, WPARAM wp, LPARAM lp);

    // False when a control cannot be made.
    bool CreaControlli();
    // Font, icons, window size and controls at the scale dpi_.
    void Disponi();
    void CaricaFusi();
    void OraLegale();
    void Salva();
    // Switches automatic start to `acceso` when the box was changed since the Run key was read; true when it
    // is as asked afterwards, or was left alone.
    bool CambiaAvvio(bool acceso);
    // The box shows the Run key's truth, and Salva the shield while a change would need an administrator.
    void LeggiAvvio();
    void Scudo();
    void RipristinaOraLocale();
    HWND Controllo(int id) const { return ::GetDlgItem(hwnd_, id); }
    bool Spuntato(int id) const;
    // Not told: as any copy that is not installed.
    bool Installata() const { return avvio_.installata.value_or(false); }
    std::wstring TestoCombo() const;

    const Servizi servizi_;
    const Avvio avvio_;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;  // the scale the window is laid out at
    UniqueFont carattere_;
    IconeFinestra icone_;
    UniqueBrush sfondo_;
    std::int16_t inVigore_ = 0;  // whether today lies in the daylight-saving period
    bool avvioLetto_ = false;    // automatic start as last read, which Salva changes only when the box differs
    HWND fuoco_ = nullptr;       // the control that had the focus when the window was deactivated
};

}  // namespace quilmora
