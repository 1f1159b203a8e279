// Relaxed atomic access to fields of records that the instrument writes from
// its own threads. Same machine code as a plain access on x86, without the
// data race.
#pragma once

#include <atomic>

namespace MX::link {

template <class T>
T loadRelaxed(const T& field) noexcept {
    // atomic_ref needs a non-const referent; a load never writes through it.
    return std::atomic_ref<T>(const_cast<T&>(field)).load(std::memory_order_relaxed);
}

template <class T>
void storeRelaxed(T& field, T value) noexcept {
    std::atomic_ref<T>(field).store(value, std::memory_order_relaxed);
}

}  // namespace MX::link
