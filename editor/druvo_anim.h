// The editor's picture views: the connection light, the channel display and
// the selection panel. Each shows the picture of its strip that its value
// names; all behaviour is the toolkit's picture-strip view.
#pragma once

#include "toolkit/auto_animation.h"

namespace MX {

class DruvoAnim : public toolkit::CAutoAnimation {
public:
    using toolkit::CAutoAnimation::CAutoAnimation;
    ~DruvoAnim() override;
};

}  // namespace MX
