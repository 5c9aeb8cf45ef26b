#include "script/Script_MethodTable.h"

namespace Script
{

namespace
{

// Never destroyed: registrars of any translation unit may run before or
// after this one, and nothing releases a table at exit.
std::vector<const MethodTable*>& Tables()
{
    static auto* tables = new std::vector<const MethodTable*>();
    return *tables;
}

} // namespace

MethodTableRegistrar::MethodTableRegistrar(const MethodTable& table) : table_(table)
{
    Tables().push_back(&table_);
}

const std::vector<const MethodTable*>& GetMethodTables()
{
    return Tables();
}

const MethodTable* FindMethodTable(std::string_view typeName)
{
    for (const MethodTable* table : Tables())
    {
        if (typeName == table->typeName)
        {
            return table;
        }
    }
    return nullptr;
}

std::string_view CheckMethodTable(const MethodTable& table)
{
    if (table.typeName == nullptr || table.typeName[0] == '\0')
    {
        return "the table has no type name";
    }
    if (table.records == nullptr)
    {
        return "the table has no records";
    }
    for (std::size_t i = 0; i < table.count; ++i)
    {
        if (table.records[i].name == nullptr || table.records[i].name[0] == '\0')
        {
            return "a record has no method name";
        }
        if (table.records[i].function == nullptr)
        {
            return "a record has no method";
        }
    }
    const MethodRecord& end = table.records[table.count];
    if (end.name != nullptr || end.function != nullptr)
    {
        return "the record after the last method is not zero";
    }
    return {};
}

} // namespace Script
