#include "ui/select_graphic.h"

namespace {
std::function<int(int, int&)> g_chooser;
}

int DLG_SELECTGRAPHIC::Run(WND_CLASS*, int kind, int& value) { return g_chooser ? g_chooser(kind, value) : 0; }

void SetGraphicChooserForTests(std::function<int(int kind, int& value)> chooser) { g_chooser = std::move(chooser); }
