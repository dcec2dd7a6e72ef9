// Stand-in for the picture chooser until it arrives; replaced then.
#pragma once

#include <functional>

#include "ui/wnd.h"

class DLG_SELECTGRAPHIC {
public:
    static int Run(WND_CLASS*, int, int&) { return 0; }
};
