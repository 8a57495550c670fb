#include "contact_block.h"
#include "tornevo_version.h"

#include <cstdio>

namespace tornevo {

std::string ContactBlock(int year)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04d", year);
    return std::string("1 Example Street\n"
                       "Example City 00000\n"
                       "E-mail: info@example.com\n"
                       "Web site: www.example.com\n"
                       "Copyright \u00A9 " TORNEVO_COMPANY_NAME " ")
        + digits;
}

} // namespace tornevo
