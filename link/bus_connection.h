// One effect's link to an instrument bus: the bus selection, the claimed
// record, the render request and the connection state, and the per-block bus
// pull. process() runs on the audio thread; select() wherever the host or the
// editor changes the selection; releaseAtDestruction() where the effect is
// destroyed. Every touch of a record is a RecordAccess (link/record_access.h).
#pragma once

#include <atomic>
#include <cstdint>

#include "link/bus_record_operations.h"
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

    // A new bus selection (0 = off, 1..16; any other value counts as off at the
    // next block). A changed selection is stored first, then the held record is
    // released, so the next block claims the new bus; a claim that raced the
    // change gives its bus back. An unchanged selection keeps a claim that is
    // still ours and drops one lost to another owner, so the next block asks
    // again. Returns whether the selection changed. Any thread.
    bool select(std::int32_t selection) noexcept;
    std::int32_t selection() const noexcept;

    // One audio block: pass-through, claim, render request and delivery over
    // the first `outputChannels` outputs (at most the bus's channel count).
    // Null buffer arrays or channel pointers are skipped; a negative channel
    // count or block length counts as 0. Audio thread.
    void process(float* const* inputs, float* const* outputs, std::int32_t sampleFrames,
                 std::int32_t inputChannels, std::int32_t outputChannels) noexcept;

    // At destruction, before the instance counter is lowered: releases a held
    // record only while it is still enabled and ours; a mark left from an
    // earlier load is released where the loaded module now keeps that bus's
    // record. UI thread, after the effect's last block.
    void releaseAtDestruction() noexcept;

    // The instrument's bus directory copied into `table` (link/bus_directory.h).
    // UI thread.
    bool refreshDirectory(MoltraxBusDirectory& table) const noexcept;

    ConnectionState connectionState() const noexcept;
    MoltraxBusRecord* claimedRecord() const noexcept;

private:
    // Clears the claim and its render request if the claim is still `held`;
    // false when another thread changed it first.
    bool dropClaim(MoltraxBusRecord* held) noexcept;
    // Drops `held` if it is still the claim and releases our mark in it. A
    // claim from an earlier load is left for the next block to settle. With
    // `onlyIfLost`, a record still ours is kept.
    void release(MoltraxBusRecord* held, bool onlyIfLost) noexcept;
    // A claim from an earlier load of the module is dropped untouched; the bus
    // where our mark may remain is remembered, and the mark released once
    // that bus is no longer selected.
    void settleStaleClaim(std::int32_t selectedBus) noexcept;
    // Releases our mark on `busIndex`'s record as the loaded module gives it;
    // false when no record of the loaded module was reached.
    bool releaseStaleMark(std::int32_t busIndex) const noexcept;
    // Claim, ownership check, render request and copy of one block: what the
    // bus delivered over the outputs.
    Delivered pull(float* const* outputs, std::int32_t frames, std::int32_t outputChannels) noexcept;
    void claim(std::int32_t busIndex, std::int32_t requestedChannels, std::uint32_t selectionChange) noexcept;
    void setState(ConnectionState state) noexcept;

    const bool inLiveTable_;
    const std::int32_t instanceNumber_;
    std::atomic<std::int32_t> selection_{0};
    // Counts selection changes: a block reads it before the selection, and a
    // claim made under an older count is stale.
    std::atomic<std::uint32_t> selectionChanges_{0};
    std::atomic<MoltraxBusRecord*> claimed_{nullptr};
    std::atomic<MoltraxRenderFn> render_{nullptr};
    // Module generation, bus index and selection change count at the claim: a
    // record from an earlier load of the module is never touched through this
    // pointer.
    std::atomic<std::uint32_t> claimGeneration_{0};
    std::atomic<std::int32_t> claimBus_{-1};
    std::atomic<std::uint32_t> claimChange_{0};
    // The bus whose claim this connection lost to a reconnect, where a mark of
    // ours may remain; -1 when none. Only a mark there is taken back.
    std::atomic<std::int32_t> lostBus_{-1};
    std::atomic<ConnectionState> state_{ConnectionState::kNoRecord};
    static_assert(std::atomic<ConnectionState>::is_always_lock_free);
};

}  // namespace MX::link
