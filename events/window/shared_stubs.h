// Stand-ins for shared pieces that are on their way (renaming a common
// variable, the graphic chooser); removed when the real ones arrive.
#pragma once

#include <functional>
#include <string>

#include "base/paths.h"
#include "base/text.h"
#include "events/gval_info.h"
#include "records/serial.h"
#include "ui/wnd.h"

inline bool RenameGlobalVariable(RecordList<cGValInfo>& names, int number, const std::string& name,
                                 const std::string& filePath)
{
    if (number <= 0 || number >= names.size())
        return false;
    names[number].m_Name = std::string(CutToBytes(name, 12));
    return SaveListFile(names, filePath) != 0;
}

class DLG_SELECTGRAPHIC {
public:
    static int Run(WND_CLASS*, int kind, int& value)
    {
        return TestChooser() ? TestChooser()(kind, value) : 0;
    }
    static std::function<int(int, int&)>& TestChooser()
    {
        static std::function<int(int, int&)> chooser;
        return chooser;
    }
};
inline void SetGraphicChooserForTests(std::function<int(int kind, int& value)> f)
{
    DLG_SELECTGRAPHIC::TestChooser() = std::move(f);
}
