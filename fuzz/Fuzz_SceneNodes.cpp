// Scene nodes: a node read from an archive is updated, searched and drawn
// while the archive lives and after it is gone (what it did not keep goes
// with it, and no parent link may outlive its group).

#include "engine/Engine_Node.h"
#include "fuzz/Fuzz_Support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Core::RefPtr<Engine::Node> node;
    {
        Core::MemoryFile file(data, static_cast<std::uint32_t>(size));
        node = dynamic_cast<Engine::Node*>(file.ReadObject());
        if (node && !file.Failed())
        {
            node->Update(1.0f / 60.0f);
            node->FindNode("");
        }
    }
    if (node)
    {
        node->Update(1.0f / 60.0f);
        node->GetWorldTransformation();
        node->DrawRecursive();
    }
    return 0;
}
