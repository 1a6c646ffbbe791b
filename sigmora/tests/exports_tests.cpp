// The library's dynamic symbol table holds exactly the functions its header declares.
#include "sigmora.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "testsupport/exports.h"

using testsupport::declaredExports;
using testsupport::dynamicSymbols;

TEST(Exports, DynamicSymbolsAreExactlyTheHeaderDeclarations) {
    std::set<std::string> declared = declaredExports(SIGMORA_HEADER_PATH, "SIGMORA_API");
    // The drawing surface header beside sigmora.h declares the memory surface exports.
    const std::filesystem::path drawHeader =
        std::filesystem::path(SIGMORA_HEADER_PATH).parent_path() / "sigmora_draw.h";
    declared.merge(declaredExports(drawHeader.string(), "SIGMORA_API"));
    const std::set<std::string> exported = dynamicSymbols(SIGMORA_LIBRARY_PATH);
    for (const char *name : {"GetValueFromGMem", "GetSelectedData", "MinValueCalc", "ModeCalc", "DaubCoef",
                             "DaubDWT1D", "DaubDWTnD", "SetMessageHook", "CreateMemorySurface"})
        EXPECT_TRUE(declared.count(name)) << name << " not found in the header";
    for (const std::string &name : declared)
        EXPECT_TRUE(exported.count(name)) << name << " declared but not exported";
    for (const std::string &name : exported)
        EXPECT_TRUE(declared.count(name)) << name << " exported but not declared";
}
