#include "core/Exceptions.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "core/Formatting.h"

namespace cotalys {

EParseError EParseError::CreateAt(const std::string& ASourceName, int ALineNo,
                                  const std::string& AMsg) {
    const std::string message = ALineNo < 1
                                    ? Format("%s : %s", ASourceName, AMsg)
                                    : Format("%s (ligne %d) : %s", ASourceName, ALineNo, AMsg);
    return EParseError(message, ASourceName, ALineNo);
}

std::string ExceptionClassName(const std::exception& AError) {
    if (const auto* own = dynamic_cast<const EFinanceError*>(&AError)) {
        return own->ClassName();
    }
    const char* mangled = typeid(AError).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return status == 0 && demangled ? std::string(demangled.get()) : std::string(mangled);
}

}  // namespace cotalys
