#include "win/rest.h"

#include <wtsapi32.h>

#include "win/system_dll.h"

namespace quilmora {
namespace {

// GUID_SESSION_DISPLAY_STATUS: 0 off, 1 on, 2 dimmed.
constexpr GUID kStatoSchermo{0x2b84c20e, 0xad23, 0x4ddf, {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}};
constexpr DWORD kSchermoSpento = 0;

}  // namespace

Riposo::Riposo(HWND finestra) : finestra_(finestra) {
    const auto registra = FunzioneDiSistema<decltype(&::WTSRegisterSessionNotification)>(
        L"wtsapi32.dll", "WTSRegisterSessionNotification");
    sessione_ = registra && registra(finestra_, NOTIFY_FOR_THIS_SESSION);
    schermo_ = ::RegisterPowerSettingNotification(finestra_, &kStatoSchermo, DEVICE_NOTIFY_WINDOW_HANDLE);
}

Riposo::~Riposo() {
    if (schermo_) ::UnregisterPowerSettingNotification(schermo_);
    if (!sessione_) return;
    if (const auto togli = FunzioneDiSistema<decltype(&::WTSUnRegisterSessionNotification)>(
            L"wtsapi32.dll", "WTSUnRegisterSessionNotification")) {
        togli(finestra_);
    }
}

bool Riposo::Leggi(UINT msg, WPARAM wp, LPARAM lp) {
    const bool prima = Attivo();
    if (msg == WM_WTSSESSION_CHANGE && (wp == WTS_SESSION_LOCK || wp == WTS_SESSION_UNLOCK)) {
        bloccata_ = wp == WTS_SESSION_LOCK;
    } else if (msg == WM_POWERBROADCAST && wp == PBT_POWERSETTINGCHANGE && lp) {
        const auto& avviso = *reinterpret_cast<const POWERBROADCAST_SETTING*>(lp);
        if (avviso.PowerSetting != kStatoSchermo || avviso.DataLength < sizeof(DWORD)) return false;
        DWORD stato = 0;
        ::CopyMemory(&stato, avviso.Data, sizeof stato);
        spento_ = stato == kSchermoSpento;
    } else {
        return msg == WM_POWERBROADCAST && wp == PBT_APMRESUMEAUTOMATIC;
    }
    return Attivo() != prima;
}

}  // namespace quilmora
