#include "link/bus_directory.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>

#include "tests/support/fake_sibling.h"

using namespace MX::link;

namespace {
std::unique_ptr<MoltraxBusDirectory> defaults() {
    auto d = std::make_unique<MoltraxBusDirectory>();
    fillDefaultDirectory(*d);
    return d;
}
}  // namespace

TEST(BusDirectory, DefaultsNameSixteenStereoBuses) {
    auto d = defaults();
    EXPECT_EQ(d->count, 16);
    EXPECT_STREQ(d->entries[0].name, "Output Bus 1");
    EXPECT_STREQ(d->entries[15].name, "Output Bus 16");
    EXPECT_EQ(d->entries[15].index, 15);
    EXPECT_EQ(d->entries[15].channelCount, 2);
}

TEST(BusDirectory, EqualComparesNamesAndChannelsBelowTheCount) {
    auto a = defaults(), b = defaults();
    b->entries[3].index = 99;
    std::memset(b->entries[4].name + 13, 'x', 40);  // after the NUL
    EXPECT_TRUE(directoriesEqual(*a, *b));

    b->entries[5].channelCount = 6;
    EXPECT_FALSE(directoriesEqual(*a, *b));
    a->count = b->count = 5;
    EXPECT_TRUE(directoriesEqual(*a, *b));
    b->entries[0].name[0] = 'o';
    EXPECT_FALSE(directoriesEqual(*a, *b));
    a->count = b->count = 0;
    EXPECT_TRUE(directoriesEqual(*a, *b));
    b->count = 1;
    EXPECT_FALSE(directoriesEqual(*a, *b));
}

TEST(BusDirectory, EqualStaysInsideSixteenUnterminatedEntries) {
    auto a = defaults(), b = defaults();
    for (auto* d : {a.get(), b.get()})
        for (auto& e : d->entries) std::memset(e.name, 'n', sizeof e.name);
    for (int count : {17, INT_MAX, -3, INT_MIN}) {
        a->count = b->count = count;
        EXPECT_TRUE(directoriesEqual(*a, *b)) << count;
    }
    b->entries[15].name[63] = 'm';
    a->count = b->count = 1000;
    EXPECT_FALSE(directoriesEqual(*a, *b));
}

TEST(BusDirectory, RefreshCopiesTheWholeDirectoryAndReportsChanges) {
    auto table = defaults();
    auto sibling = defaults();
    fake::directory = sibling.get();

    EXPECT_FALSE(refreshDirectory(*table, 1)) << "no module loaded";
    fake::install(fake::getBusRecord, fake::render, nullptr);
    EXPECT_FALSE(refreshDirectory(*table, 1)) << "no directory entry";

    fake::install();
    sibling->entries[2].index = 7;
    EXPECT_FALSE(refreshDirectory(*table, 1)) << "index alone is no change";
    EXPECT_EQ(table->entries[2].index, 7);

    std::strcpy(sibling->entries[1].name, "Drums");
    sibling->count = 2;
    EXPECT_TRUE(refreshDirectory(*table, 1));
    EXPECT_EQ(std::memcmp(table.get(), sibling.get(), sizeof *table), 0);

    fake::directory = nullptr;
    EXPECT_FALSE(refreshDirectory(*table, 1));
    EXPECT_STREQ(table->entries[1].name, "Drums");
    disconnectSibling();
}
