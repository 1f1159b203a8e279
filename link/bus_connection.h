// One effect's link to an instrument bus: the claimed record, the render
// request and the connection state, and the per-block bus pull. process() runs
// on the audio thread; the release functions run where the selection changes
// or the effect is destroyed.
#pragma once

#include <atomic>
#include <cstdint>

#include "link/bus_records.h"
#include "link/connection_state.h"

namespace MX::link {

class BusConnection {
public:
    // Joins the live connections under the lowest instance number none of
    // them holds (link/live_connections.h). UI thread.
    BusConnection() noexcept;
    // A connection outside the live table, with a number of the caller's choice.
    explicit BusConnection(std::int32_t instanceNumber) noexcept;
    ~BusConnection();
    BusConnection(const BusConnection&) = delete;
    BusConnection& operator=(const BusConnection&) = delete;

    // One audio block: pass-through, claim, render request and delivery over
    // the first `outputChannels` outputs (at most the bus's channel count).
    // `selection` is the bus selection (0 = off, 1..16); any other value is
    // treated as off. Null buffer arrays or channel pointers are skipped; a
    // negative channel count or block length counts as 0. Audio thread.
    void process(float* const* inputs, float* const* outputs, std::int32_t sampleFrames,
                 std::int32_t inputChannels, std::int32_t outputChannels, std::int32_t selection) noexcept;

    // Before a change of the bus selection: releases a held record while the
    // module that gave it is still loaded. A claim from an earlier load is
    // kept for the next block to settle (pull). Any thread.
    void releaseOnSelectionChange() noexcept;
    // At destruction, before the instance counter is lowered: releases a held
    // record only while it is still enabled and ours; a mark left from an
    // earlier load is released where the loaded module now keeps that bus's
    // record. UI thread, after the effect's last block.
    void releaseAtDestruction() noexcept;

    ConnectionState connectionState() const noexcept;
    MoltraxBusRecord* claimedRecord() const noexcept;

private:
    bool claimFromLoadedModule() const noexcept;
    // Clears the claim and its render request if the claim is still `held`;
    // false when another thread changed it first.
    bool dropClaim(MoltraxBusRecord* held) noexcept;
    // A claim from an earlier load of the module is dropped untouched; the
    // mark it left on a bus other than `selectedBus` is released.
    void settleStaleClaim(std::int32_t selectedBus) noexcept;
    // Releases our mark on `busIndex`'s record as the loaded module gives it.
    void releaseStaleMark(std::int32_t busIndex) noexcept;
    // Claim, ownership check and render request of one block: the record whose
    // fresh block is to be copied, or null when the inputs pass through.
    MoltraxBusRecord* pull(std::int32_t frames, std::int32_t outputChannels, std::int32_t selection) noexcept;
    void claim(std::int32_t busIndex, std::int32_t requestedChannels, bool retakeOwnMark) noexcept;
    void setState(ConnectionState state) noexcept;

    const bool inLiveTable_;
    const std::int32_t instanceNumber_;
    std::atomic<MoltraxBusRecord*> claimed_{nullptr};
    std::atomic<MoltraxRenderFn> render_{nullptr};
    // Module generation and bus index at the claim: a record from an earlier
    // load of the module is never touched through this pointer.
    std::atomic<std::uint32_t> claimGeneration_{0};
    std::atomic<std::int32_t> claimBus_{-1};
    // Releases on a selection change in progress: while one runs, a mark of
    // our number may be the one it is removing, and is not taken back.
    std::atomic<std::int32_t> releasing_{0};
    std::atomic<ConnectionState> state_{ConnectionState::kNoRecord};
    static_assert(std::atomic<ConnectionState>::is_always_lock_free);
};

}  // namespace MX::link
