#include "editor/druvo_anim.h"

namespace MX {

DruvoAnim::~DruvoAnim() = default;

}  // namespace MX
