// The per-user folders of the XDG base directories, by one rule: the
// variable ($XDG_CONFIG_HOME, $XDG_DATA_HOME, $XDG_CACHE_HOME) when it is an
// absolute path, else the usual folder below $HOME when $HOME is absolute.
// A relative or empty value is never used: it would be resolved against
// whatever folder the program happened to be started in.
#pragma once

#include <string>

namespace sentinax {

// belowHome: the folder used below $HOME, e.g. ".config". Empty when neither
// value is usable.
inline std::string XdgUserFolder(const char* xdgHome, const char* home, const char* belowHome) {
    if (xdgHome && xdgHome[0] == '/')
        return xdgHome;
    if (home && home[0] == '/')
        return std::string(home) + "/" + belowHome;
    return {};
}

} // namespace sentinax
