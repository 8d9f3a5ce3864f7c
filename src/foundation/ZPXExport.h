#pragma once
// Marks a function of the plug-in's flat interface: an unmangled name that the
// shared library exports although everything else is hidden.

#define ZPX_EXPORT extern "C" __attribute__((visibility("default")))
