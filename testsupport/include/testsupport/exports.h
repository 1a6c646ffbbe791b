// exports.h - what a shared library exports compared with what its header declares.
#ifndef TESTSUPPORT_EXPORTS_H
#define TESTSUPPORT_EXPORTS_H

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <string>

namespace testsupport {

// Names of the functions a header marks with the export macro (one declaration per line).
inline std::set<std::string> declaredExports(const std::string &header, const std::string &macro) {
    std::ifstream in(header);
    std::set<std::string> names;
    const std::regex decl("^\\s*" + macro + "\\s[^(]*?\\b(\\w+)\\s*\\(");
    std::smatch m;
    for (std::string line; std::getline(in, line);)
        if (std::regex_search(line, m, decl)) names.insert(m[1]);
    return names;
}

// Defined symbols of the shared library's dynamic symbol table (nm -D --defined-only).
inline std::set<std::string> dynamicSymbols(const std::string &library) {
    std::set<std::string> names;
    FILE *p = popen(("nm -D --defined-only '" + library + "'").c_str(), "r");
    if (!p) return names;
    char line[1024];
    const std::regex row("^[0-9a-fA-F]*\\s+\\w\\s+(\\S+)");
    std::cmatch m;
    while (std::fgets(line, sizeof line, p))
        if (std::regex_search(line, m, row)) names.insert(m[1]);
    pclose(p);
    return names;
}

}  // namespace testsupport

#endif
