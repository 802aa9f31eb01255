#include "sizing/SizingParams.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <type_traits>
#include <variant>

#include "core/Core.h"
#include "sizing/IniFile.h"

namespace cotalys {
namespace {

constexpr std::string_view SettingsSection = "TailleDePosition";

using TFieldRef = std::variant<double TSizingParams::*, std::int32_t TSizingParams::*,
                               bool TSizingParams::*, TFeePlan TSizingParams::*>;

struct TSettingKey {
    const char* Key;
    TFieldRef Field;
};

// Every field with its key, in the order the keys are written. Loading and saving both walk
// this table, and each field's fallback is its value in TSizingParams::Default().
const TSettingKey SettingKeys[] = {
    {"Capital", &TSizingParams::Capital},
    {"RisqueParPositionPct", &TSizingParams::RiskPct},
    {"PositionMaxPct", &TSizingParams::MaxPositionPct},
    {"FacteurGlissement", &TSizingParams::SlippageFactor},
    {"FraisFixes", &TSizingParams::FeeFixed},
    {"FraisPct", &TSizingParams::FeePct},
    {"Quotite", &TSizingParams::LotSize},
    {"PositionsMax", &TSizingParams::MaxPositions},
    {"RisqueTotalMaxPct", &TSizingParams::MaxTotalRiskPct},
    {"PositionsOuvertes", &TSizingParams::OpenPositions},
    {"RisqueEngagePct", &TSizingParams::OpenRiskPct},
    {"MontantInvesti", &TSizingParams::InvestedAmount},
    {"Forfait", &TSizingParams::FeePlan},
    {"PEA", &TSizingParams::IsPEA},
    {"TTFPct", &TSizingParams::TTFPct},
    {"PhaseFavorableSeulement", &TSizingParams::OnlyFavorablePhase},
};

constexpr int LastPlan = static_cast<int>(TFeePlan::fpBoursoUltimate);

// A decimal written by hand may use the French comma.
double ReadFloat(std::string_view AText, double ADefault) {
    std::string text(AText);
    std::replace(text.begin(), text.end(), ',', '.');
    double value = 0;
    return TryStrToFloatInvariant(text, value) ? value : ADefault;
}

// A whole decimal number with an optional sign; anything else gives the default.
std::int32_t ReadInteger(std::string_view AText, std::int32_t ADefault) {
    if (AText.starts_with('+')) {
        AText.remove_prefix(1);
    }
    std::int32_t value = 0;
    const auto result = std::from_chars(AText.data(), AText.data() + AText.size(), value);
    return result.ec == std::errc() && result.ptr == AText.data() + AText.size() ? value : ADefault;
}

void ReadField(const TIniFile& AIni, const TSettingKey& AKey, const TSizingParams& ADefaults,
               TSizingParams& AParams) {
    const std::string text = AIni.ReadString(SettingsSection, AKey.Key);
    std::visit(
        [&](auto AMember) {
            using T = std::remove_cvref_t<decltype(AParams.*AMember)>;
            if constexpr (std::is_same_v<T, double>) {
                AParams.*AMember = ReadFloat(text, ADefaults.*AMember);
            } else if constexpr (std::is_same_v<T, std::int32_t>) {
                AParams.*AMember = ReadInteger(text, ADefaults.*AMember);
            } else if constexpr (std::is_same_v<T, bool>) {
                AParams.*AMember = ReadInteger(text, ADefaults.*AMember ? 1 : 0) != 0;
            } else {
                const int plan = ReadInteger(text, static_cast<int>(ADefaults.*AMember));
                AParams.*AMember = static_cast<TFeePlan>(std::clamp(plan, 0, LastPlan));
            }
        },
        AKey.Field);
}

std::string FieldText(const TSettingKey& AKey, const TSizingParams& AParams) {
    return std::visit(
        [&](auto AMember) {
            using T = std::remove_cvref_t<decltype(AParams.*AMember)>;
            if constexpr (std::is_same_v<T, double>) {
                return FloatToStrInvariant(AParams.*AMember);
            } else {
                return std::to_string(static_cast<int>(AParams.*AMember));
            }
        },
        AKey.Field);
}

}  // namespace

std::filesystem::path TSizingParams::IniFileName() {
    return CotalysDir() / "Cotalys.ini";
}

std::string TSizingParams::LoadFromIni(const std::filesystem::path& AFileName) {
    const TSizingParams defaults = Default();
    *this = defaults;
    std::error_code ec;
    if (!std::filesystem::exists(AFileName, ec)) {
        return "";
    }
    std::string bytes;
    try {
        bytes = ReadRegularFile(AFileName, MaxIniBytes);
    } catch (const EFinanceError& e) {
        // Start-up goes on with the defaults; saving later refuses to replace a file it could
        // not read, so its content is not lost.
        return "Reglages de taille illisibles, valeurs par defaut : " + e.Message();
    }
    const TIniFile ini(DecodeFileBytes(bytes));
    for (const TSettingKey& key : SettingKeys) {
        ReadField(ini, key, defaults, *this);
    }
    try {
        Validate();
    } catch (const EFinanceError&) {
        *this = defaults;
    }
    return "";
}

void TSizingParams::SaveToIni(const std::filesystem::path& AFileName) const {
    Validate();
    std::error_code ec;
    TIniFile ini;
    if (std::filesystem::exists(AFileName, ec)) {
        ini = TIniFile(DecodeFileBytes(ReadRegularFile(AFileName, MaxIniBytes)));
    }
    for (const TSettingKey& key : SettingKeys) {
        ini.WriteString(SettingsSection, key.Key, FieldText(key, *this));
    }
    WriteFileAtomically(AFileName, ini.Text());
}

}  // namespace cotalys
