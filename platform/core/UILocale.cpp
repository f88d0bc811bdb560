#include "platform/core/UILocale.h"

#include <cstdlib>

namespace platform {

std::string UILanguageTag() {
    if (const char* list = getenv("LANGUAGE")) {
        std::string all(list);
        size_t start = 0;
        while (start <= all.size()) {
            size_t end = all.find(':', start);
            if (end == std::string::npos)
                end = all.size();
            if (end > start)
                return all.substr(start, end - start);
            start = end + 1;
        }
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = getenv(name);
        if (value && *value)
            return value;
    }
    return std::string();
}

}  // namespace platform
