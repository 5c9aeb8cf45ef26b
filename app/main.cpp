// Program entry. Until the engine's main loop exists it starts the
// foundation, reports what is registered and exits.
#include "core/Core_ClassRegistry.h"
#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"

#include <cstdio>

int main()
{
    const auto names = Core::ClassRegistry::GetClassNames();
    Core::RefPtr<> root(Core::CreateObject("Object"));
    std::printf("Brillow engine foundation: %zu classes registered, root object %s.\n", names.size(),
                root ? root->GetClassName() : "missing");
    return root ? 0 : 1;
}
