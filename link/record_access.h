// Guards every touch of the instrument's records. The instrument tells us it
// leaves (our MoltraxDisconnect) and frees its records once we return, while
// blocks may be running on any number of audio threads. A stretch of code
// that reads or writes a record announces itself on its effect's slot, then
// checks that the load it took the record from is still current; disconnect
// ends the load first, then waits until no stretch is in progress, so nothing
// of the instrument is touched after it returns. No call into the instrument
// may sit inside a stretch: the instrument may call our disconnect from it.
#pragma once

#include <atomic>
#include <cstdint>

namespace MX::link {

class RecordAccess {
public:
    // `slot`: the instance number of the effect whose code runs (any other
    // value shares one spare slot). `generation`: the load of the module the
    // record was taken from (siblingGeneration() before the call that gave it).
    RecordAccess(std::int32_t slot, std::uint32_t generation) noexcept;
    ~RecordAccess();
    RecordAccess(const RecordAccess&) = delete;
    RecordAccess& operator=(const RecordAccess&) = delete;

    // True while the records of `generation` may be touched.
    explicit operator bool() const noexcept { return current_; }

private:
    std::atomic<std::uint32_t>& slotCount_;
    bool current_;
};

// Returns once no stretch that began before the current load ended is in
// progress. Called by disconnect after it has ended the load; waits for at
// most one stretch per slot. Never called inside a stretch.
void waitForRecordAccesses() noexcept;

}  // namespace MX::link
