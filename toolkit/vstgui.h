// The whole toolkit in one include.
// UI thread.
#pragma once

#include "toolkit/auto_animation.h"
#include "toolkit/backend.h"
#include "toolkit/bitmap.h"
#include "toolkit/color.h"
#include "toolkit/control.h"
#include "toolkit/draw_context.h"
#include "toolkit/editor_interface.h"
#include "toolkit/font.h"
#include "toolkit/frame.h"
#include "toolkit/geometry.h"
#include "toolkit/option_menu.h"
#include "toolkit/param_display.h"
#include "toolkit/resource_provider.h"
#include "toolkit/view.h"
