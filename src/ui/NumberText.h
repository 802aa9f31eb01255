#pragma once

#include <QString>
#include <cstdint>
#include <string>

namespace cotalys {

// Reads a number typed by the user: blanks and non-breaking spaces (thousands separators) are
// dropped and a comma counts as the decimal point, so "25 000", "25000,00" and "25000.00" all
// read 25000; "25.000,00" does not. False when the rest is not a finite number.
bool ParseNumber(const QString& AText, double& AValue);

// AValue rounded to the nearest integer, halves to the even neighbour, held in the int32 range.
std::int32_t RoundToInt32(double AValue);

// AValue with at most three decimals and a decimal comma ("0.###" in the French settings).
QString EditText(double AValue);

}  // namespace cotalys
