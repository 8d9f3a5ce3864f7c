#pragma once
// The screen as a library a program loads only when it shows windows, so that
// a program run without them loads no toolkit: the library's file name and
// its one entry, which opens the screen (ScreenBackend::Open) and tells
// `displayLost` when the connection to the display is gone for good.
// `displayLost` should end the program; if it returns, the program ends with
// status 1. This header names no toolkit type.

#include <string>

#include "toolkit/ToolkitBackend.h"

constexpr const char* kScreenLibrary = "libzpx_toolkit_gtk.so";
constexpr const char* kScreenEntry = "ZPXOpenScreen";

// Null, with the reason in *error, when no screen could be opened.
using ScreenEntry = ToolkitBackend* (*)(std::string* error, void (*displayLost)());

extern "C" ToolkitBackend* ZPXOpenScreen(std::string* error, void (*displayLost)());
