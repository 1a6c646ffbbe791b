// The library's dynamic symbol table holds exactly the functions its header declares.
#include "sigmora.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <string>

namespace {

// Names of the functions a header marks with the export macro (one declaration per line).
std::set<std::string> declaredExports(const std::string &header, const std::string &macro) {
    std::ifstream in(header);
    std::set<std::string> names;
    const std::regex decl("^\\s*" + macro + "\\s[^(]*?\\b(\\w+)\\s*\\(");
    std::smatch m;
    for (std::string line; std::getline(in, line);)
        if (std::regex_search(line, m, decl))
            names.insert(m[1]);
    return names;
}

// Defined symbols of the shared library's dynamic symbol table.
std::set<std::string> dynamicSymbols(const std::string &library) {
    std::set<std::string> names;
    FILE *p = popen(("nm -D --defined-only '" + library + "'").c_str(), "r");
    if (!p)
        return names;
    char line[1024];
    const std::regex row("^[0-9a-fA-F]*\\s+\\w\\s+(\\S+)");
    std::cmatch m;
    while (std::fgets(line, sizeof line, p))
        if (std::regex_search(line, m, row))
            names.insert(m[1]);
    pclose(p);
    return names;
}

} // namespace

TEST(Exports, DynamicSymbolsAreExactlyTheHeaderDeclarations) {
    const std::set<std::string> declared = declaredExports(SIGMORA_HEADER_PATH, "SIGMORA_API");
    const std::set<std::string> exported = dynamicSymbols(SIGMORA_LIBRARY_PATH);
    for (const char *name : {"GetValueFromGMem", "GetSelectedData", "MinValueCalc", "ModeCalc", "DaubCoef",
                             "DaubDWT1D", "DaubDWTnD", "SetMessageHook"})
        EXPECT_TRUE(declared.count(name)) << name << " not found in the header";
    for (const std::string &name : declared)
        EXPECT_TRUE(exported.count(name)) << name << " declared but not exported";
    for (const std::string &name : exported)
        EXPECT_TRUE(declared.count(name)) << name << " exported but not declared";
}
