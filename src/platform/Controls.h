// Every control class, for window classes that build themselves from a control table.
#pragma once

#include "platform/Buttons.h"
#include "platform/Canvas.h"
#include "platform/Decorations.h"
#include "platform/ListBox.h"
#include "platform/RangeControls.h"
#include "platform/TextControls.h"
#include "platform/Window.h"
