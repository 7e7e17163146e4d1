#include "platform/terminal.h"

#include <clocale>

#if __has_include(<langinfo.h>)
#include <langinfo.h>
#define TORVANE_HAVE_LANGINFO 1
#endif

namespace torvane::platform {

std::string terminalCodeset() {
#ifdef TORVANE_HAVE_LANGINFO
    // Only the character type follows the environment; numbers keep the C locale's format.
    std::setlocale(LC_CTYPE, "");
    const char* codeset = nl_langinfo(CODESET);
    if (codeset != nullptr && *codeset != '\0') {
        return codeset;
    }
#endif
    return "UTF-8";
}

} // namespace torvane::platform
