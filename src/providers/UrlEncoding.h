#pragma once

#include <string>
#include <string_view>

namespace cotalys {

// A symbol as sent in a URL: letters, digits and ! $ ' ( ) * - . @ _ unchanged, a space as
// "+", every other byte of its UTF-8 form as "%" and two upper-case hexadecimal digits
// ("^FCHI" gives "%5EFCHI", "RNO.PA" stays as it is).
std::string UrlEncode(std::string_view AText);

}  // namespace cotalys
