#include "cli/UserSizing.h"

#include <ostream>

namespace cotalys {

TSizingParams LoadUserSizing(std::ostream& AErr) {
    TSizingParams sizing = TSizingParams::Default();
    if (const std::string note = sizing.LoadFromIni(TSizingParams::IniFileName()); !note.empty()) {
        AErr << note << "\n";
    }
    return sizing;
}

}  // namespace cotalys
