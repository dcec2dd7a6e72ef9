// Stand-in until the shared picture chooser arrives (replaced at the merge).
#pragma once

#include <functional>

#include "ui/wnd.h"

class DLG_SELECTGRAPHIC {
public:
    static int Run(WND_CLASS* owner, int kind, int& value);
};
void SetGraphicChooserForTests(std::function<int(int kind, int& value)> chooser);
