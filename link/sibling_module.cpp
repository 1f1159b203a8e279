#include "link/sibling_module.h"

#include <atomic>
#include <cstdio>
#include <thread>

#include "link/record_access.h"

#include "link/sibling_module_testing.h"
#include "platform/platform.h"

namespace MX::link {

namespace {

// The handle is published last on load and cleared first on unload, so a
// thread that sees it set also sees the entries of that load. Sequentially
// consistent: record accesses (link/record_access.h) rely on a total order of
// the handle, the generation and their own slots.
std::atomic<platform::ModuleHandle> gModule{nullptr};
std::atomic<std::uint32_t> gGeneration{0};
std::atomic<MoltraxGetBusRecordFn> gBusRecord{nullptr};
std::atomic<MoltraxRenderFn> gRender{nullptr};
std::atomic<MoltraxGetBusDirectoryFn> gBusDirectory{nullptr};

// Stands for the module while the test seam is installed; never given to the loader.
char gStandInTag;
platform::ModuleHandle standInHandle() noexcept { return &gStandInTag; }
// Holds the handle's place while one connect publishes its entries: a second
// connect (the instrument calling ours from inside our load of it) finds the
// place taken and publishes nothing.
char gPublishingTag;
platform::ModuleHandle publishingHandle() noexcept { return &gPublishingTag; }

template <class Fn>
Fn entryAs(void* entry) noexcept {
    return reinterpret_cast<Fn>(entry);
}

// False when another connect published first.
bool publish(platform::ModuleHandle module, MoltraxGetBusRecordFn busRecord, MoltraxRenderFn render,
             MoltraxGetBusDirectoryFn busDirectory) noexcept {
    platform::ModuleHandle expected = nullptr;
    if (!gModule.compare_exchange_strong(expected, publishingHandle())) return false;
    gBusRecord.store(busRecord, std::memory_order_relaxed);
    gRender.store(render, std::memory_order_relaxed);
    gBusDirectory.store(busDirectory, std::memory_order_relaxed);
    gGeneration.fetch_add(1);
    gModule.store(module);
    return true;
}

// Clears the handle, ends the load's generation and waits until no record
// access of it is in progress; returns the handle that was set.
platform::ModuleHandle withdraw() noexcept {
    platform::ModuleHandle module = gModule.load();
    for (;;) {
        // A publish in progress is a few stores with no call: wait for its end.
        if (module == publishingHandle()) {
            std::this_thread::yield();
            module = gModule.load();
        } else if (module == nullptr) {
            return nullptr;
        } else if (gModule.compare_exchange_weak(module, nullptr)) {
            break;
        }
    }
    gGeneration.fetch_add(1);
    waitForRecordAccesses();
    gBusRecord.store(nullptr, std::memory_order_relaxed);
    gRender.store(nullptr, std::memory_order_relaxed);
    gBusDirectory.store(nullptr, std::memory_order_relaxed);
    return module;
}

}  // namespace

std::int32_t connectSibling() noexcept {
    if (gModule.load() != nullptr) return 1;

    char fileName[32];
    std::snprintf(fileName, sizeof fileName, "Moltrax%s", platform::kModuleSuffix);
    platform::ModuleHandle module = platform::loadSharedLibrary(fileName);
    if (module == nullptr) return 0;

    // Exports of a loaded module never change: resolve them once here so the
    // audio thread never calls the loader.
    const bool published = publish(module,
                                   entryAs<MoltraxGetBusRecordFn>(platform::findEntryByOrdinal(
                                       module, MOLTRAX_ORDINAL_GET_BUS_RECORD, "MoltraxGetBusRecord")),
                                   entryAs<MoltraxRenderFn>(platform::findEntryByOrdinal(
                                       module, MOLTRAX_ORDINAL_RENDER, "MoltraxRender")),
                                   entryAs<MoltraxGetBusDirectoryFn>(platform::findEntryByOrdinal(
                                       module, MOLTRAX_ORDINAL_GET_BUS_DIRECTORY, "MoltraxGetBusDirectory")));
    if (!published) {
        // Connected meanwhile from inside our load: that load holds the module.
        platform::freeModule(module);
        return 1;
    }

    auto connect = entryAs<MoltraxConnectFn>(platform::findEntry(module, "MoltraxConnect"));
    return connect != nullptr ? connect() : 0;
}

std::int32_t disconnectSibling() noexcept {
    platform::ModuleHandle module = withdraw();
    if (module == nullptr || module == standInHandle()) return 1;

    auto disconnect = entryAs<MoltraxDisconnectFn>(platform::findEntry(module, "MoltraxDisconnect"));
    if (disconnect != nullptr) disconnect();
    platform::freeModule(module);
    return 1;
}

bool siblingLoaded() noexcept {
    const platform::ModuleHandle module = gModule.load();
    return module != nullptr && module != publishingHandle();
}

std::uint32_t siblingGeneration() noexcept { return gGeneration.load(); }

MoltraxGetBusRecordFn busRecordLookup() noexcept {
    if (!siblingLoaded()) return nullptr;
    return gBusRecord.load(std::memory_order_relaxed);
}

MoltraxRenderFn renderRequest() noexcept {
    if (!siblingLoaded()) return nullptr;
    return gRender.load(std::memory_order_relaxed);
}

MoltraxGetBusDirectoryFn busDirectoryLookup() noexcept {
    if (!siblingLoaded()) return nullptr;
    return gBusDirectory.load(std::memory_order_relaxed);
}

namespace testing {

void installSiblingEntries(MoltraxGetBusRecordFn busRecord, MoltraxRenderFn render,
                           MoltraxGetBusDirectoryFn busDirectory) noexcept {
    platform::ModuleHandle current = gModule.load();
    if (current != nullptr && current != standInHandle()) return;
    withdraw();
    publish(standInHandle(), busRecord, render, busDirectory);
}

}  // namespace testing

}  // namespace MX::link
