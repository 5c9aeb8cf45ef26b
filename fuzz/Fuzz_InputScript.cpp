// The run harness's input scripts: any text either reads whole, every event
// in frame order with a known kind, or is refused naming a line of it.

#include "Harness_InputScript.h"
#include "fuzz/Fuzz_Support.h"

#include <algorithm>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<Harness::InputEvent> events{Harness::InputEvent{}};
    const std::string problem = Harness::ParseInputScript(text, events);
    if (!problem.empty())
    {
        Fuzz::Require(problem.rfind("line ", 0) == 0, "a refusal names its line");
        Fuzz::Require(events.size() == 1, "a refused script reads nothing");
        return 0;
    }
    Fuzz::Require(std::is_sorted(events.begin(), events.end(),
                                 [](const auto& a, const auto& b) { return a.frame < b.frame; }),
                  "events come in frame order");
    for (const Harness::InputEvent& event : events)
    {
        Fuzz::Require(event.frame >= 1, "frames count from 1");
        Fuzz::Require(event.kind == Harness::InputEvent::Kind::Move || event.virtualKey != 0,
                      "every key and button event names a key");
    }
    return 0;
}
