#include "events/start_event.h"

cEvent StartEventForEditing(const cEvent& start)
{
    cEvent copy = start;
    if (copy.m_Pages.empty())
        copy.m_Pages.emplace_back();
    return copy;
}

int StoreStartEvent(cEvent& start, const cEvent& edited, const std::string& path)
{
    if (start.m_Pages.empty())
        start.m_Pages.emplace_back();
    if (!edited.m_Pages.empty())
        start.m_Pages[0].m_Actions = edited.m_Pages[0].m_Actions;
    return start.SaveFile(path);
}
