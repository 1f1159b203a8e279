// druvo_editor_snapshots [output folder]: pictures of the editor in the
// states a user meets, as PNG files (default folder build/editor-snapshots):
//   1-sibling-absent.png  no Moltrax: background and channel display only
//   2-connected.png       bus 1 delivering all six channels: steady green light
//   3-bus-taken.png       bus 1 held by another instance: red light (not delivering)
//   4-popup-list.png      the bus menu's pop-up list open below the menu
// and each again at display scale 2 (1-sibling-absent-2x.png ...), the scale
// the window system states.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/druvo_editor.h"
#include "editor/editor_clock.h"
#include "platform/platform.h"
#include "plugin/druvo.h"
#include "toolkit/offscreen/offscreen_backend.h"
#include "tools/editor_snapshots/editor_picture.h"
#include "tools/host/built_files.h"
#include "tools/host/silent_block.h"
#include "tools/host/standin_module.h"

namespace {

using druvo_pictures::EditorPicture;

// The first half of a clock second: a blinking light is lit.
long litPhase() noexcept { return 250; }

VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// This program is not the plug-in file, so the effect's file-name check would complain.
void noErrorBox(const char*, const char*, unsigned) {}

void runBlock(MX::Druvo& effect) { druvo_host::runSilentBlock(effect.getAeffect()); }

class Pictures {
public:
    explicit Pictures(std::filesystem::path folder) : folder_(std::move(folder)) {}

    // Names from now on end in `suffix` before ".png".
    void setSuffix(std::string suffix) { suffix_ = std::move(suffix); }
    bool save(const EditorPicture& picture, const char* name) {
        return report(picture.save(path(name)), name);
    }
    bool report(bool saved, const char* name) {
        std::printf("%s %s\n", saved ? "wrote" : "FAILED", path(name).c_str());
        failed_ |= !saved;
        return saved;
    }
    std::string path(const char* name) const {
        std::string file = name;
        file.insert(file.size() - 4, suffix_);
        return (folder_ / file).string();
    }
    bool failed() const { return failed_; }

private:
    std::filesystem::path folder_;
    std::string suffix_;
    bool failed_ = false;
};

std::unique_ptr<MX::Druvo> makeEffect(int bus) {
    auto effect = std::make_unique<MX::Druvo>(&quietHost, MX::createDruvoEditor);
    effect->setParameter(0, static_cast<float>(bus) * 0.0625f);
    return effect;
}

void siblingAbsent(Pictures& pictures) {
    auto effect = makeEffect(1);
    runBlock(*effect);
    EditorPicture picture(*effect);
    picture.idle();
    pictures.save(picture, "1-sibling-absent.png");
}

void connected(Pictures& pictures, MX::toolkit::OffscreenBackend& backend) {
    auto holder = makeEffect(1);
    auto waiting = makeEffect(1);
    runBlock(*holder);
    runBlock(*waiting);

    EditorPicture delivering(*holder);
    delivering.idle();
    pictures.save(delivering, "2-connected.png");

    EditorPicture taken(*waiting);
    taken.idle();
    pictures.save(taken, "3-bus-taken.png");

    backend.setPopupHandler([&](const MX::toolkit::PopupMenuRequest& request) {
        pictures.report(delivering.saveWithPopup(pictures.path("4-popup-list.png"), request, 3),
                        "4-popup-list.png");
        return -1;
    });
    delivering.clickBusMenu();
    backend.setPopupHandler(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder = argc > 1 ? argv[1] : "build/editor-snapshots";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "cannot make %s: %s\n", folder.string().c_str(), error.message().c_str());
        return 1;
    }

    MX::platform::setErrorBoxHandler(noErrorBox);
    MX::toolkit::OffscreenBackend backend;
    MX::toolkit::setDefaultBackend(&backend);
    MX::editor::setBlinkClock(litPhase);
    Pictures pictures(folder);

    siblingAbsent(pictures);
    backend.setDisplayScale(2.0);
    pictures.setSuffix("-2x");
    siblingAbsent(pictures);

    std::string why;
    auto standin = druvo_host::StandinModule::load(druvo_host::builtStandinPath(), &why);
    if (!standin) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return 1;
    }
    backend.setDisplayScale(1.0);
    pictures.setSuffix("");
    connected(pictures, backend);
    backend.setDisplayScale(2.0);
    pictures.setSuffix("-2x");
    connected(pictures, backend);

    MX::toolkit::setDefaultBackend(nullptr);
    return pictures.failed() ? 1 : 0;
}
