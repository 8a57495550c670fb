#include "contact_block.h"
#include "tornevo_identity.h"

#include <cstdio>

namespace tornevo {

std::string ContactBlock(int year)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04d", year);
    return std::string(TORNEVO_STREET "\n" TORNEVO_CITY "\n"
                       "E-mail: " TORNEVO_EMAIL "\n"
                       "Web site: " TORNEVO_WEB_SITE "\n"
                       "Copyright \u00A9 " TORNEVO_COMPANY_NAME " ")
        + digits;
}

} // namespace tornevo
