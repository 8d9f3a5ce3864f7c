#include "PPDX/PPDObjects/PPDXErrorsAPI.h"

#include "PPDX/PPDObjects/PPDXErrorObj.h"
#include "PPDX/PPDObjects/PPDXErrors.h"

PPDXErrorObj* FirstError(PPDXErrors* errors) { return errors ? errors->First() : nullptr; }

PPDXErrorObj* NextError(PPDXErrors* errors) { return errors ? errors->Next() : nullptr; }

unsigned long ErrorCount(PPDXErrors* errors) { return errors ? errors->Count() : 0; }

bool ErrorListIsEmpty(PPDXErrors* errors) { return errors ? errors->Empty() : true; }

const char* GetErrorKeyword(PPDXErrorObj* error) { return error ? error->Keyword() : nullptr; }

const char* GetErrorDescription(PPDXErrorObj* error) {
  return error ? error->Description() : nullptr;
}

bool IsErrorFatal(PPDXErrorObj* error) { return error ? error->IsFatal() : false; }
