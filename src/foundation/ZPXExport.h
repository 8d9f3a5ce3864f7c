#pragma once
#define ZPX_EXPORT extern "C" __attribute__((visibility("default")))
