#include "platform/locale.hpp"

#include <cstdlib>
#include <initializer_list>

bool locale_is_japanese(const char* name) {
    return name != nullptr && name[0] == 'j' && name[1] == 'a' &&
           (name[2] == '\0' || name[2] == '_' || name[2] == '.' || name[2] == '@' ||
            name[2] == '-');
}

int environment_speaks_japanese() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && value[0] != '\0') return locale_is_japanese(value) ? 1 : 0;
    }
    return -1;
}
