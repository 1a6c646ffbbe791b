// The library's dynamic symbol table holds exactly the functions its header declares.
#include "numora.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "testsupport/exports.h"

using testsupport::declaredExports;
using testsupport::dynamicSymbols;

TEST(Exports, DynamicSymbolsAreExactlyTheHeaderDeclarations) {
    const std::set<std::string> declared = declaredExports(NUMORA_HEADER_PATH, "NUMORA_API");
    const std::set<std::string> exported = dynamicSymbols(NUMORA_LIBRARY_PATH);
    for (const char *name : {"getErrorCode", "setErrorCode", "getPrecision", "setPrecision", "setLanguage",
                             "getLanguage", "getErrorNote", "SetNumoraMessageHook"})
        EXPECT_TRUE(declared.count(name)) << name << " not found in the header";
    for (const std::string &name : declared)
        EXPECT_TRUE(exported.count(name)) << name << " declared but not exported";
    for (const std::string &name : exported)
        EXPECT_TRUE(declared.count(name)) << name << " exported but not declared";
}
