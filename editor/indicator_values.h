// What the editor's pictures show, as values of their picture strips: the
// channel picture of a channel count, the connection light's row for a
// connection state at a clock time, and the channel display's row for the
// effect's output arrangement.
// UI thread (pure functions, callable from any).
#pragma once

#include <cstdint>

#include "link/connection_state.h"
#include "plugin/vst/aeffect.h"

namespace MX::editor {

// Channel pictures in the item icon strip and the channel display strip.
enum ChannelPicture : std::int32_t {
    kPictureOff = 0,
    kPictureMono,
    kPictureStereo,
    kPictureQuad,
    kPictureSurround
};

// Mono, Mono, Stereo, Stereo, Quad, Quad, Surround for 0..6; a count above
// 6 is a bus of six channels and more (Surround), a negative one counts as 0.
// Off is only for items that stand for no bus.
std::int32_t channelPicture(std::int32_t channelCount) noexcept;

// Light rows: green 0, red 7, dark 14; the .01 keeps the truncated value on
// the picture's first row.
inline constexpr float kLightGreen = 0.01f;
inline constexpr float kLightRed = 7.01f;
inline constexpr float kLightDark = 14.01f;

// Steady green with all channels delivered; otherwise dark in the second half
// of every clock second and, in the first half, red while nothing is delivered
// and green in the other states.
float connectionLightValue(link::ConnectionState state, long clockMilliseconds) noexcept;

inline constexpr int kChannelPictureHeight = 59;

// Row of the channel display strip for the effect's output: the channel
// configuration of its channel count (above 6 counts as 6, below 0 as 0),
// or of 0 channels without an arrangement, shown as its channel picture.
float channelDisplayValue(const VstSpeakerArrangement* output) noexcept;

// The row of channel picture `picture` in a strip of `height`-row pictures.
float pictureRow(std::int32_t picture, int height) noexcept;

}  // namespace MX::editor
