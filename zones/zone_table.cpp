#include "zones/zone_table.h"

namespace quilmora {
namespace {

constexpr std::array<Zona, 30> kFusi{{
    {L"(GMT -12.00) Eniwetok,Kwajalein", -720},
    {L"(GMT -11.00) Isole Midway,Samoa", -660},
    {L"(GMT -10.00) Hawaii", -600},
    {L"(GMT -9.00)  Alaska", -540},
    {L"(GMT -8.00)  Costa pacifico USA,(S.Francisco)", -480},
    {L"(GMT -7.00)  Fuso occidentale USA,(Arizona)", -420},
    {L"(GMT -6.00)  Fuso centale USA,Citt\u00e0 del Messico", -360},
    {L"(GMT -5.00)  Fuso orientale USA,Lima,Bogot\u00e0", -300},
    {L"(GMT -4.00)  Costa atlantica USA,Caracas,La Paz", -240},
    {L"(GMT -3.30)  Terranova", -210},
    {L"(GMT -3.00)  Brasilia,Buenos Aires,Georgetown", -180},
    {L"(GMT -2.00)  Medio atlantico", -120},
    {L"(GMT -1.00)  Azzorre,Is. di Capo Verde", -60},
    {L"(GMT +0.00)  Ora di Greenwich, Londra", 0},
    {L"(GMT +1.00)  Roma,Berlino,Parigi,Madrid,Vienna,Amsterdam", 60},
    {L"(GMT +2.00)  Atene,Helsinki,Istambul,Europa Orientale", 120},
    {L"(GMT +3.00)  Mosca,Baghdad", 180},
    {L"(GMT +3.30)  Teheran", 210},
    {L"(GMT +4.00)  Abu Dabi,Volgograd,Tblisi", 240},
    {L"(GMT +4.30)  Kabul", 270},
    {L"(GMT +5.00)  Islamabad,Karachi", 300},
    {L"(GMT +5.30)  Delhi,Bombay,Calcutta", 330},
    {L"(GMT +6.00)  Alma Ata,Acca", 360},
    {L"(GMT +7.00)  Bangkok,Giacarta,Hanoi", 420},
    {L"(GMT +8.00)  Pechino,Hong Kong,Singapore", 480},
    {L"(GMT +9.00)  Tokio,Osaka,Sapporo,Seul", 540},
    {L"(GMT +9.30)  Adelaide,Darwin", 570},
    {L"(GMT +10.00) Sydney,Melbourne,Brisbane,Vladivostok", 600},
    {L"(GMT +11.00) Is. Salomone,Nuova Caledonia", 660},
    {L"(GMT +12.00) Wellington,Aukland", 720},
}};

// Every text starts with a 13-character "(GMT +h.mm)" prefix padded with blanks.
constexpr std::size_t kInizioLocalita = 13;

// Compared as offset + bias == 0 in 64 bits, so no bias value can overflow.
int IndiceDaBias(std::int32_t bias) {
    for (std::size_t i = 0; i < kFusi.size(); ++i) {
        if (std::int64_t{kFusi[i].offset} + bias == 0) return static_cast<int>(i);
    }
    return -1;
}

int IndiceDaOffset(std::int32_t offset) {
    for (std::size_t i = 0; i < kFusi.size(); ++i) {
        if (kFusi[i].offset == offset) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

const std::array<Zona, 30>& TabellaFusi() {
    return kFusi;
}

std::optional<std::wstring> LocalitaDaTesto(std::wstring_view testo) {
    if (testo.size() <= kInizioLocalita) return std::nullopt;
    const std::size_t comma = testo.find(L',');
    if (comma < kInizioLocalita) return std::nullopt;
    return std::wstring(testo.substr(kInizioLocalita, comma - kInizioLocalita));
}

SceltaIniziale SceltaFuso(std::optional<std::int32_t> fuso, bool legale, std::int32_t bias, std::int16_t inVigore) {
    if (fuso) return {IndiceDaOffset(*fuso), legale};
    return {IndiceDaBias(bias), inVigore == 1};
}

}  // namespace quilmora
