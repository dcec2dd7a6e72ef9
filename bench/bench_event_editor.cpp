// Speed of the event editor's work on a large event (100 pages of 100 actions
// each): opening it (the working copies, every page line, the first page's
// action lines and enabling) and switching from page to page.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "events/event_edit.h"

namespace {

cEvent BigEvent()
{
    cEvent ev;
    ev.m_Pages.resize(100);
    for (cEventPage& page : ev.m_Pages)
        for (int i = 0; i < 100; ++i)
            page.m_Actions.push_back(cEventAct(1 + i % 23));
    return ev;
}

// What the editor shows of the session: the page list and the shown page's actions.
std::size_t ShowSession(const EventEditSession& s)
{
    std::size_t bytes = 0;
    for (const cEventPage& page : s.pages)
        bytes += PageLineText(page).size();
    for (const cEventAct& act : s.page.m_Actions)
        bytes += act.ListText().size();
    bytes += EventEditorEnabling(s.HasPage() ? &s.page : nullptr, false).size();
    return bytes;
}

void BM_OpenEditor(benchmark::State& state)
{
    const cEvent ev = BigEvent();
    for (auto _ : state) {
        EventEditSession s;
        s.Open(ev);
        benchmark::DoNotOptimize(ShowSession(s));
        cEvent target;
        s.WriteBack(target);
        benchmark::DoNotOptimize(target.m_Pages.size());
    }
}
BENCHMARK(BM_OpenEditor)->Unit(benchmark::kMillisecond);

void BM_SwitchPage(benchmark::State& state)
{
    const cEvent ev = BigEvent();
    EventEditSession s;
    s.Open(ev);
    int next = 1;
    for (auto _ : state) {
        s.Show(next);
        next = (next + 37) % 100;
        benchmark::DoNotOptimize(ShowSession(s));
    }
}
BENCHMARK(BM_SwitchPage)->Unit(benchmark::kMillisecond);

}  // namespace
