#include "link/bus_record_operations.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "tests/support/fake_sibling.h"

using namespace MX::link;

namespace {

class BusRecordOperations : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto& channel : record->buffers)
            for (float& s : channel) s = 0.5f;
    }
    bool unchangedSince(const MoltraxBusRecord& before) const {
        return std::memcmp(record.get(), &before, sizeof before) == 0;
    }
    std::unique_ptr<MoltraxBusRecord> record = fake::makeRecord(6);
};

}  // namespace

TEST_F(BusRecordOperations, ClaimMarksRequestsAndClearsActiveSamples) {
    record->validFrames = 100;
    record->ready = 1;
    record->maxChannels = 2;
    ASSERT_TRUE(claimRecord(*record, 7, 6));
    EXPECT_EQ(record->owner, 7);
    EXPECT_EQ(record->refCount, 1);
    EXPECT_EQ(record->requestedChannels, 6);
    EXPECT_EQ(record->activeChannels, 2);
    EXPECT_EQ(record->ready, 0);
    EXPECT_EQ(record->buffers[1][99], 0.0f);
    EXPECT_EQ(record->buffers[1][100], 0.5f) << "beyond validFrames";
    EXPECT_EQ(record->buffers[2][0], 0.5f) << "inactive channel";
    EXPECT_TRUE(ownsRecord(*record, 7));
    EXPECT_FALSE(ownsRecord(*record, 7 + 256)) << "full-width compare";
}

TEST_F(BusRecordOperations, RequestedCountsAreBoundedAndActiveIsTheSmaller) {
    setRequestedChannels(*record, 2);
    EXPECT_EQ(record->activeChannels, 2);
    setRequestedChannels(*record, 9);
    EXPECT_EQ(record->requestedChannels, 6);
    setRequestedChannels(*record, -4);
    EXPECT_EQ(record->requestedChannels, 0);
    EXPECT_EQ(record->activeChannels, 0);
}

TEST_F(BusRecordOperations, RefusedClaimsLeaveTheRecordAsItWas) {
    record->owner = 3;
    auto before = std::make_unique<MoltraxBusRecord>(*record);
    EXPECT_FALSE(claimRecord(*record, 4, 2));
    EXPECT_TRUE(unchangedSince(*before));
    record->owner = 0;
    record->enabled = 0;
    *before = *record;
    EXPECT_FALSE(claimRecord(*record, 4, 2));
    EXPECT_TRUE(unchangedSince(*before));

    record->enabled = 1;
    *before = *record;
    for (int instance : {0, 256, 257, -1, INT_MIN}) {
        EXPECT_FALSE(claimRecord(*record, instance, 2)) << instance;
        EXPECT_FALSE(ownsRecord(*record, instance)) << instance;
    }
    EXPECT_TRUE(unchangedSince(*before));
}

TEST_F(BusRecordOperations, ValidFramesOutsideTheBuffersIsClamped) {
    record->maxChannels = 1;
    setRequestedChannels(*record, 1);
    record->validFrames = INT_MAX;
    record->ready = 1;
    clearRecord(*record);
    EXPECT_EQ(record->ready, 0);
    EXPECT_EQ(record->buffers[0][MOLTRAX_BUS_FRAMES - 1], 0.0f);
    EXPECT_EQ(record->buffers[1][0], 0.5f) << "next buffer untouched";

    std::vector<float> out(MOLTRAX_BUS_FRAMES + 8, 9.0f);
    float* outputs[] = {out.data()};
    copyToOutputs(*record, outputs, MOLTRAX_BUS_FRAMES + 8);
    EXPECT_EQ(out[MOLTRAX_BUS_FRAMES - 1], 0.0f);
    EXPECT_EQ(out[MOLTRAX_BUS_FRAMES], 9.0f);

    record->validFrames = -5;
    record->ready = 1;
    out[0] = 9.0f;
    copyToOutputs(*record, outputs, 4);
    EXPECT_EQ(out[0], 9.0f);
    EXPECT_EQ(record->ready, 0);
}

TEST_F(BusRecordOperations, CopyTakesTheShorterLengthAndSkipsMissingOutputs) {
    setRequestedChannels(*record, 2);
    record->validFrames = 3;
    record->buffers[0][0] = record->buffers[1][2] = 1.0f;
    std::vector<float> out(8, 9.0f);
    float* outputs[] = {nullptr, out.data()};
    record->ready = 1;
    copyToOutputs(*record, outputs, 8);
    EXPECT_EQ(out[2], 1.0f);
    EXPECT_EQ(out[3], 9.0f);
    EXPECT_EQ(record->ready, 0);
    copyToOutputs(*record, nullptr, 8);

    record->validFrames = 0;
    record->ready = 1;
    setRequestedChannels(*record, 2);
    EXPECT_EQ(record->ready, 0) << "cleared even with nothing to zero";
}

TEST_F(BusRecordOperations, ReleaseTouchesOnlyAnEnabledRecordWithOurMark) {
    ASSERT_TRUE(claimRecord(*record, 5, 2));
    record->enabled = 0;
    releaseRecord(*record, 5);
    EXPECT_EQ(record->owner, 5);
    EXPECT_EQ(record->refCount, 1);

    record->enabled = 1;
    releaseRecord(*record, 6);
    EXPECT_EQ(record->owner, 5) << "another effect's claim is never wiped";
    EXPECT_EQ(record->refCount, 1);
    releaseRecord(*record, 5);
    EXPECT_EQ(record->owner, 0);
    EXPECT_EQ(record->refCount, 0);
}
