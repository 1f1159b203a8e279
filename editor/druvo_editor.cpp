#include "editor/druvo_editor.h"

#include <cmath>
#include <iterator>
#include <new>

#include "editor/druvo_menu.h"
#include "editor/editor_bitmaps.h"
#include "editor/editor_clock.h"
#include "editor/indicator_values.h"
#include "editor/platform_backend.h"
#include "plugin/druvo.h"
#include "toolkit/auto_animation.h"
#include "toolkit/bitmap.h"
#include "toolkit/display_scale.h"
#include "toolkit/frame.h"

namespace MX {

namespace {

using link::ConnectionState;
using toolkit::CAutoAnimation;
using toolkit::CBitmap;
using toolkit::CFrame;
using toolkit::CPoint;
using toolkit::CRect;

const CRect kBusMenuRect(171, 40, 312, 55);
const CRect kLightRect(303, 6, 310, 13);
const CRect kSelectionPanelRect(166, 17, 317, 59);
const CRect kChannelDisplayRect(0, 0, 56, 59);

constexpr std::int32_t kBusMenuTag = 0;
constexpr float kSelectionStep = 0.0625f;
constexpr float kChannelDisplayAtOpen = 0.01f;

// A backend set as the toolkit's default (tests, the picture tool) takes the
// place of the OS's own.
toolkit::Backend* frameBackend() {
    toolkit::Backend* backend = toolkit::defaultBackend();
    return backend ? backend : toolkit::platformBackend();
}

// A picture-strip view on bitmap `id`, opened; the view holds the bitmap.
CAutoAnimation* makePictureView(const CRect& size, toolkit::CControlListener* listener, std::int32_t pictures,
                                int pictureHeight, int id, float value) {
    auto* strip = new CBitmap(id);
    auto* view = new CAutoAnimation(size, listener, 0, pictures, pictureHeight, strip, CPoint(0, 0));
    strip->forget();
    view->setValue(value);
    view->openWindow();
    return view;
}

}  // namespace

void createDruvoEditor(Druvo& effect) noexcept { new (std::nothrow) DruvoEditor(&effect); }

DruvoEditor::DruvoEditor(Druvo* effect) noexcept : AEffGUIEditor(effect) {
    rect.top = 0;
    rect.left = 0;
    rect.bottom = kHeight;
    rect.right = kWidth;
}

DruvoEditor::~DruvoEditor() { close(); }

Druvo& DruvoEditor::druvo() const noexcept { return *static_cast<Druvo*>(effect); }

CFrame* DruvoEditor::getCFrame() const noexcept { return static_cast<CFrame*>(frame); }

bool DruvoEditor::open(void* parentWindow) {
    // Closing may end an open edit, and a host may open the editor again from
    // that endEdit: this request, the one answered last, builds the window.
    while (frame) close();
    AEffGUIEditor::open(parentWindow);
    try {
        buildWindow(parentWindow);
    } catch (...) {
        // Out of memory part-way: no half-built window stays for idle to meet.
        close();
        return false;
    }
    return true;
}

void DruvoEditor::buildWindow(void* parentWindow) {
    Druvo& fx = druvo();
    editor::provideEditorBitmaps();

    auto* background = new CBitmap(editor::kBitmapWindow);
    const CRect size = background->isLoaded() ? CRect(0, 0, background->getWidth(), background->getHeight())
                                              : CRect(0, 0, kWidth, kHeight);
    sizeRect(size, wantedScale(parentWindow));
    auto* window = new CFrame(size, parentWindow, this, frameBackend(), scale_);
    frame = window;
    window->setBackground(background);
    background->forget();

    auto* menuFace = new CBitmap(editor::kBitmapMenuFace);
    busMenu_ = new DruvoMenu(kBusMenuRect, this, kBusMenuTag, menuFace, nullptr, 0);
    menuFace->forget();
    auto* icons = new CBitmap(editor::kBitmapMenuIcons);
    busMenu_->setItemPictureStrip(icons);
    icons->forget();
    busMenu_->fill(fx.outputBusTable());
    busMenu_->setCurrent(fx.busSelection());

    connectionLight_ = makePictureView(kLightRect, this, 3, 7, editor::kBitmapLights, editor::kLightDark);
    selectionPanel_ = makePictureView(kSelectionPanelRect, this, 1, 42, editor::kBitmapSelectionPanel, 0.0f);
    // Three pictures, as the strip was first drawn; the count plays no part in drawing.
    channelDisplay_ = makePictureView(kChannelDisplayRect, this, 3, editor::kChannelPictureHeight,
                                      editor::kBitmapChannelLayouts, kChannelDisplayAtOpen);
    window->addView(channelDisplay_);

    lastShownState_ = fx.connectionState();
    if (lastShownState_ != ConnectionState::kNoRecord) attachLinkViews();
}

void DruvoEditor::close() {
    CFrame* window = getCFrame();
    if (!window) return;
    // The frame takes the views attached to it along; the editor holds the others.
    toolkit::CView* const views[] = {selectionPanel_, busMenu_, connectionLight_, channelDisplay_};
    bool detached[std::size(views)];
    for (std::size_t i = 0; i < std::size(views); ++i) detached[i] = views[i] && !window->isChild(views[i]);
    // The editor is closed before the frame goes: the frame's teardown ends an
    // open edit, and a host may idle, close or open the editor again from that
    // endEdit, which then finds no trace of this window.
    frame = nullptr;
    busMenu_ = nullptr;
    connectionLight_ = nullptr;
    channelDisplay_ = nullptr;
    selectionPanel_ = nullptr;
    lastShownState_ = ConnectionState::kNoRecord;
    for (std::size_t i = 0; i < std::size(views); ++i) {
        if (detached[i]) views[i]->forget();
    }
    window->forget();
}

void DruvoEditor::attachLinkViews() {
    CFrame* window = getCFrame();
    window->addView(selectionPanel_);
    window->addView(busMenu_);
    window->addView(connectionLight_);
}

void DruvoEditor::detachLinkViews() {
    CFrame* window = getCFrame();
    window->removeView(selectionPanel_, false);
    window->removeView(busMenu_, false);
    window->removeView(connectionLight_, false);
}

void DruvoEditor::idle() {
    CFrame* window = getCFrame();
    if (!window) return;
    Druvo& fx = druvo();

    if (fx.refreshOutputBusTable()) {
        busMenu_->fill(fx.outputBusTable());
        busMenu_->setDirty();
    }
    const std::int32_t selection = fx.busSelection();
    if (selection != busMenu_->getCurrent()) busMenu_->setCurrent(selection);

    // The bus menu, its panel and the light show while there is a record.
    const ConnectionState state = fx.connectionState();
    const bool shown = lastShownState_ != ConnectionState::kNoRecord;
    if (state != ConnectionState::kNoRecord && !shown) {
        attachLinkViews();
        window->setDirty(true);
    } else if (state == ConnectionState::kNoRecord && shown) {
        detachLinkViews();
        window->setDirty(true);
    }
    lastShownState_ = state;
    refreshIndicators(state);

    AEffGUIEditor::idle();
}

void DruvoEditor::refreshIndicators(ConnectionState state) {
    const float light = editor::connectionLightValue(state, editor::blinkClockMilliseconds());
    if (light != connectionLight_->getValue()) {
        connectionLight_->setValue(light);
        connectionLight_->setDirty();
    }
    const float channels = editor::channelDisplayValue(druvo().outputArrangement());
    if (channels != channelDisplay_->getValue()) {
        channelDisplay_->setValue(channels);
        channelDisplay_->setDirty();
    }
}

double DruvoEditor::wantedScale(void* parentWindow) const {
    return toolkit::quantizeScale(hostScale_ > 0.0 ? hostScale_ : frameBackend()->displayScale(parentWindow));
}

bool DruvoEditor::getRect(ERect** place) {
    // Before the window opens, the host sizes its own from this: the scale it will open at.
    if (!frame) sizeRect(CRect(0, 0, kWidth, kHeight), wantedScale(nullptr));
    return AEffGUIEditor::getRect(place);
}

bool DruvoEditor::setContentScaleFactor(float scale) {
    if (!std::isfinite(scale) || scale <= 0.0f) return false;
    hostScale_ = scale;
    applyScale(toolkit::quantizeScale(scale));
    return true;
}

void DruvoEditor::displayScaleChanged(double scale) {
    if (hostScale_ <= 0.0) applyScale(toolkit::quantizeScale(scale));
}

void DruvoEditor::sizeRect(const CRect& size, double scale) {
    scale_ = scale;
    rect.right = static_cast<short>(toolkit::toDevice(size.width(), scale));
    rect.bottom = static_cast<short>(toolkit::toDevice(size.height(), scale));
}

void DruvoEditor::applyScale(double scale) {
    CFrame* window = getCFrame();
    sizeRect(window ? window->getViewSize() : CRect(0, 0, kWidth, kHeight), scale);
    if (!window || window->getScale() == scale) return;
    window->setScale(scale);
    druvo().sizeWindow(rect.right, rect.bottom);
}

void DruvoEditor::valueChanged(toolkit::CControl* control) {
    if (!control || control != busMenu_) return;
    const std::int32_t item = busMenu_->getCurrent();
    effect->setParameterAutomated(0, static_cast<float>(item * static_cast<double>(kSelectionStep)));
}

}  // namespace MX
