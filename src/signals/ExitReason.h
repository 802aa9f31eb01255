#pragma once

#include <string>

namespace cotalys {

// Why a position ended: at its stop, at the close of the session that ends the signal's horizon,
// by the user's hand, or held to the end of a simulated period (valued there, not sold). Files
// store the French words, never the ordinals.
enum class TExitReason { erStop, erHorizon, erManual, erPeriodEnd };

// "stop", "20 seances", "manuel" or "fin de periode".
std::string ExitReasonText(TExitReason AReason);

}  // namespace cotalys
