#include <gtest/gtest.h>

#include <cstdio>

#include "platform/platform.h"
#include "tools/moltrax_standin/moltrax_standin.h"

namespace MX::platform {
namespace {

class ModuleLoading : public ::testing::Test {
protected:
    void SetUp() override {
        module = loadModule(DRUVO_STANDIN_PATH);
        ASSERT_NE(module, nullptr) << DRUVO_STANDIN_PATH;
    }
    void TearDown() override { freeModule(module); }
    ModuleHandle module = nullptr;
};

TEST_F(ModuleLoading, FindsNamedEntriesAndOrdinalEntries) {
    auto control = reinterpret_cast<MoltraxStandinControlFn>(findEntry(module, "MoltraxStandinControl"));
    auto reset = reinterpret_cast<MoltraxStandinResetFn>(findEntry(module, "MoltraxStandinReset"));
    auto connect = reinterpret_cast<MoltraxConnectFn>(findEntry(module, "MoltraxConnect"));
    auto getRecord = reinterpret_cast<MoltraxGetBusRecordFn>(
        findEntryByOrdinal(module, MOLTRAX_ORDINAL_GET_BUS_RECORD, "MoltraxGetBusRecord"));
    auto getDirectory = reinterpret_cast<MoltraxGetBusDirectoryFn>(
        findEntryByOrdinal(module, MOLTRAX_ORDINAL_GET_BUS_DIRECTORY, "MoltraxGetBusDirectory"));
    ASSERT_NE(control, nullptr);
    ASSERT_NE(reset, nullptr);
    ASSERT_NE(connect, nullptr);
    ASSERT_NE(getRecord, nullptr);
    ASSERT_NE(getDirectory, nullptr);
    EXPECT_NE(findEntry(module, "MoltraxDisconnect"), nullptr);
    EXPECT_NE(findEntryByOrdinal(module, MOLTRAX_ORDINAL_RENDER, "MoltraxRender"), nullptr);

    // The entries found are the stand-in's own: calls land in its counters.
    reset();
    MoltraxStandinControl* state = control();
    EXPECT_EQ(connect(), 1);
    EXPECT_EQ(getRecord(3), state->records[3]);
    EXPECT_EQ(getDirectory(), state->directory);
    EXPECT_EQ(state->calls.connect, 1);
    EXPECT_EQ(state->calls.lastBusIndex, 3);
    EXPECT_EQ(state->calls.getDirectory, 1);
}

TEST_F(ModuleLoading, MissingEntriesAreNull) {
    EXPECT_EQ(findEntry(module, "MoltraxNoSuchEntry"), nullptr);
    EXPECT_EQ(findEntryByOrdinal(module, 7, "MoltraxNoSuchEntry"), nullptr);
}

TEST_F(ModuleLoading, BadArgumentsGiveNull) {
    EXPECT_EQ(findEntry(module, nullptr), nullptr);
    EXPECT_EQ(findEntry(module, ""), nullptr);
    EXPECT_EQ(findEntry(nullptr, "MoltraxConnect"), nullptr);
    EXPECT_EQ(findEntryByOrdinal(nullptr, 4, "MoltraxGetBusRecord"), nullptr);
    // Out-of-range ordinals are refused, not cut to 16 bits (0x10004 would
    // otherwise find ordinal 4).
    for (int ordinal : {0, -4, 0x10004}) {
        EXPECT_EQ(findEntryByOrdinal(module, ordinal, "MoltraxGetBusRecord"), nullptr) << ordinal;
    }
}

TEST_F(ModuleLoading, SharedLibraryByNameIsTheLoadedCopy) {
    char name[32];
    std::snprintf(name, sizeof name, "Moltrax%s", kModuleSuffix);
    ModuleHandle shared = loadSharedLibrary(name);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(findEntry(shared, "MoltraxStandinControl"), findEntry(module, "MoltraxStandinControl"));
    freeModule(shared);
    EXPECT_NE(findEntry(module, "MoltraxStandinControl"), nullptr) << "still loaded";
}

TEST(ModuleLoadingFailures, NullEmptyAndMissingFilesGiveNull) {
    for (auto load : {loadModule, loadSharedLibrary}) {
        EXPECT_EQ(load(nullptr), nullptr);  // dlopen(nullptr) would give the program
        EXPECT_EQ(load(""), nullptr);
        EXPECT_EQ(load("druvo-no-such-module-8d3f"), nullptr);
    }
    // Only bare names: a path would bypass the folders searched.
    EXPECT_EQ(loadSharedLibrary(DRUVO_STANDIN_PATH), nullptr);
    freeModule(nullptr);
}

}  // namespace
}  // namespace MX::platform
