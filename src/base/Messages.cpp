#include "Messages.h"

#include <cstdio>

namespace tesk {

void StderrMessages::inform(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

bool StderrMessages::okCancel(const std::string& text) {
    inform(text);
    return false;
}

bool StderrMessages::yesNo(const std::string& text) {
    inform(text);
    return false;
}

SaveChoice StderrMessages::saveDiscardCancel(const std::string& text) {
    inform(text);
    return SaveChoice::Cancel;
}

} // namespace tesk
