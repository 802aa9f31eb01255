#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace cotalys {

// The broker fee plans; ordinals are stored in the settings file.
enum class TFeePlan { fpCustom, fpBoursoDecouverte, fpBoursoTrader, fpBoursoUltimate };

// Capital, risk, portfolio and fee settings that turn an entry and a stop into a position.
struct TSizingParams {
    double Capital = 100000;         // EUR
    double RiskPct = 1.0;            // risk accepted per position, % of capital
    double MaxPositionPct = 20.0;    // largest position, % of capital
    double SlippageFactor = 1.25;    // multiplier of the entry-to-stop distance
    double FeeFixed = 0;             // fixed fee per order, EUR (custom plan)
    double FeePct = 0;               // proportional fee per order, % (custom plan)
    std::int32_t LotSize = 1;        // share counts are multiples of it
    std::int32_t MaxPositions = 5;   // positions allowed at once
    double MaxTotalRiskPct = 5.0;    // total portfolio risk, % of capital
    std::int32_t OpenPositions = 0;  // positions already open
    double OpenRiskPct = 0;          // risk already committed, % of capital
    double InvestedAmount = 0;       // amount already invested, EUR
    TFeePlan FeePlan = TFeePlan::fpCustom;
    bool IsPEA = false;               // brokerage capped at 0.5 % of the order
    double TTFPct = 0.4;              // financial transaction tax, % of the purchase
    bool OnlyFavorablePhase = false;  // signals count only in a favourable CAC 40 phase

    // The default settings.
    static TSizingParams Default();
    // Throws EFinanceError with the message of the first broken rule.
    void Validate() const;

    // The plan's French name; any value outside the three broker plans is the custom plan.
    static std::string PlanName(TFeePlan APlan);
    // Brokerage of one order of AAmount euros; 0 for an amount not above 0.
    double Brokerage(double AAmount) const;
    // Financial transaction tax due on a purchase of AAmount euros of ASymbol.
    double TTF(double AAmount, std::string_view ASymbol) const;
    // Brokerage of the purchase and of the sale, plus the tax on the purchase only.
    double RoundTripFees(double ABuyAmount, double ASellAmount, std::string_view ASymbol) const;
    // One French line describing the settings.
    std::string Summary() const;

    // Largest settings file read: a settings file is a few hundred bytes.
    static constexpr std::size_t MaxIniBytes = 1024 * 1024;
    // "Cotalys.ini" in the Cotalys documents folder.
    static std::filesystem::path IniFileName();
    // Replaces every field with the file's values. A missing or unreadable file, a missing key
    // or an unreadable value gives the default; a file whose values are inconsistent as a whole
    // loads as all defaults. Only a regular file of at most MaxIniBytes is read. Returns the
    // line to log when the file exists but could not be read, else an empty text. Never throws.
    std::string LoadFromIni(const std::filesystem::path& AFileName);
    // Validates, then writes the settings into the file, keeping its other sections and keys;
    // the old file is replaced only once the new one is complete. Throws EFinanceError when the
    // settings are invalid or the file cannot be read or written.
    void SaveToIni(const std::filesystem::path& AFileName) const;

    bool operator==(const TSizingParams&) const = default;
};

// Symbols of the Paris market exempt from the financial transaction tax.
extern const std::array<std::string_view, 23> TTFExemptSymbols;

// True for a ".PA" symbol (trimmed, any case) that is not exempt.
bool IsSubjectToTTF(std::string_view ASymbol);

}  // namespace cotalys
