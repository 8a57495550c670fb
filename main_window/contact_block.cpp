#include "contact_block.h"
#include "tornevo_identity.h"

#include <string>

namespace tornevo {

std::string ContactBlock(int year)
{
    // The year in four digits at least; plain, so that the web core carries no printf.
    std::string digits = std::to_string(year);
    if (year >= 0 && digits.size() < 4)
        digits.insert(0, 4 - digits.size(), '0');
    return std::string(TORNEVO_STREET "\n" TORNEVO_CITY "\n"
                       "E-mail: " TORNEVO_EMAIL "\n"
                       "Web site: " TORNEVO_WEB_SITE "\n"
                       "Copyright \u00A9 " TORNEVO_COMPANY_NAME " ")
        + digits;
}

} // namespace tornevo
