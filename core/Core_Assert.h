#pragma once

// ENGINE_ASSERT(condition) guards an internal invariant: a condition whose
// failure means the program's own state is already wrong (an index past its
// storage, a count past its array, an unbalanced stack), never bad input,
// which readers refuse with an error instead.
//
// Debug and sanitizer builds check it; when it does not hold, the process
// prints "<file>:<line>: assertion failed: <condition>" to standard error
// and aborts. Release builds compile it out: the condition is not evaluated,
// so it must have no side effects.
#if !defined(NDEBUG) || defined(ENGINE_SANITIZE)
#define ENGINE_ASSERTS_ENABLED 1
#else
#define ENGINE_ASSERTS_ENABLED 0
#endif

namespace Core
{

[[noreturn]] void AssertionFailed(const char* file, int line, const char* condition) noexcept;

} // namespace Core

#if ENGINE_ASSERTS_ENABLED
#define ENGINE_ASSERT(condition)                                                                             \
    (static_cast<bool>(condition) ? static_cast<void>(0)                                                     \
                                  : ::Core::AssertionFailed(__FILE__, __LINE__, #condition))
#else
// sizeof keeps the names in the condition used without evaluating them.
#define ENGINE_ASSERT(condition) static_cast<void>(sizeof(static_cast<bool>(condition)))
#endif
