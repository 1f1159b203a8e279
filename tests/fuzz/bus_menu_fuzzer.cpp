// The bus menu filled from an arbitrary bus directory (the instrument's bytes
// as they come), then drawn: every title is shorter than the title field, a
// bus title keeps its whole configuration, a name that is valid UTF-8 gives a
// valid UTF-8 title, and a fill keeps the current item.
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "editor/druvo_menu.h"
#include "tests/toolkit/recording_backend.h"

namespace {

const MX::toolkit::CRect kMenuRect(171, 40, 312, 55);

bool validUtf8(const char* text) { return std::mbstowcs(nullptr, text, 0) != static_cast<std::size_t>(-1); }

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // mbstowcs judges UTF-8.
    if (!std::setlocale(LC_CTYPE, "C.UTF-8")) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MoltraxBusDirectory directory{};
    std::memcpy(&directory, data, std::min(size, sizeof directory));

    auto* menu = new MX::DruvoMenu(kMenuRect, nullptr, 0, nullptr, nullptr, 0);
    menu->fill(MoltraxBusDirectory{});
    const std::int32_t current =
        size > sizeof directory ? data[sizeof directory] % MX::DruvoMenu::kItemCount : 0;
    menu->setCurrent(current);
    menu->fill(directory);
    check(menu->getNbEntries() == MX::DruvoMenu::kItemCount);
    check(menu->getCurrent() == current);

    for (std::int32_t i = 0; i < MX::DruvoMenu::kItemCount; ++i) {
        const std::string title = menu->getEntry(i)->getTitle();
        check(title.size() < MX::DruvoMenu::kTitleBytes);
        if (i == 0 || i > directory.count) continue;
        const MoltraxBusNameEntry& entry = directory.entries[i - 1];
        check(title.back() == ')');
        const std::string name(entry.name, strnlen(entry.name, sizeof entry.name));
        if (validUtf8(name.c_str())) check(validUtf8(title.c_str()));
    }

    MX::toolkit::testing::RecordingContext context(kMenuRect);
    menu->draw(&context);
    menu->forget();
    return 0;
}
