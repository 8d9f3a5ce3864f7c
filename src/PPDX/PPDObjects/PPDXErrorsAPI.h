#pragma once
// Flat interface to a document's parse errors, for callers that hold only the
// list or an error. Every function takes null: a null list counts 0 errors and is
// empty; a null error has no keyword, no description and is not fatal.

#include "foundation/ZPXExport.h"

class PPDXErrors;
class PPDXErrorObj;

ZPX_EXPORT PPDXErrorObj* FirstError(PPDXErrors* errors);
ZPX_EXPORT PPDXErrorObj* NextError(PPDXErrors* errors);
ZPX_EXPORT unsigned long ErrorCount(PPDXErrors* errors);
ZPX_EXPORT bool ErrorListIsEmpty(PPDXErrors* errors);
ZPX_EXPORT const char* GetErrorKeyword(PPDXErrorObj* error);
ZPX_EXPORT const char* GetErrorDescription(PPDXErrorObj* error);
ZPX_EXPORT bool IsErrorFatal(PPDXErrorObj* error);
