#pragma once

#include <cstddef>

namespace Core
{

// Empty root of the engine's pooled classes. It carries no data and no
// virtual operations; what it gives is class-level allocation: every object
// of a derived class comes from the memory manager's size classes and goes
// back with the size of its dynamic type (through a virtual destructor where
// the class has one).
class Base
{
public:
    static void* operator new(std::size_t size);
    static void* operator new(std::size_t size, const char* sourceFile, int sourceLine);
    static void operator delete(void* block, std::size_t size);
    // Called only when a constructor throws after the debug form of new.
    static void operator delete(void* block, const char* sourceFile, int sourceLine);
    static void* operator new(std::size_t, void* place) noexcept { return place; }
    static void operator delete(void*, void*) noexcept {}
};

} // namespace Core
