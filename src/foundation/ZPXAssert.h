#pragma once
// Internal consistency checks: a failed check reports
// "<source path without extension>:<line>: failed assertion `<expression>'"
// on standard error and stops the process. No ordinary input reaches one.

[[noreturn]] void ZPXAssertionFailed(const char* file, unsigned line, const char* expression);

#define ZPX_ASSERT(expression) \
  ((expression) ? static_cast<void>(0) : ZPXAssertionFailed(__FILE__, __LINE__, #expression))
