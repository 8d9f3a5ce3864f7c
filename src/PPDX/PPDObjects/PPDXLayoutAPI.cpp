#include "PPDX/PPDObjects/PPDXLayoutAPI.h"

#include "PPDX/PPDObjects/PPDXGroups.h"
#include "PPDX/PPDObjects/PPDXProperties.h"
#include "PPDX/PPDObjects/PPDXProperty.h"
#include "PPDX/PPDObjects/PPDXRollDown.h"
#include "PPDX/PPDObjects/PPDXScrollPane.h"

PPDXGroup* FirstGroup(PPDXGroups* groups) { return groups ? groups->First() : nullptr; }

PPDXGroup* NextGroup(PPDXGroups* groups) { return groups ? groups->Next() : nullptr; }

PPDXGroup* FindGroup(PPDXGroups* groups, const char* keyword, bool exact) {
  return groups ? groups->Find(keyword, exact) : nullptr;
}

unsigned long GroupCount(PPDXGroups* groups) { return groups ? groups->Count() : 0; }

bool IsGrouPointerListEmpty(PPDXGroups* groups) { return groups ? groups->Empty() : true; }

bool IsRollDown(PPDXElement* element) { return dynamic_cast<PPDXRollDown*>(element) != nullptr; }

bool IsScrollPane(PPDXElement* element) {
  return dynamic_cast<PPDXScrollPane*>(element) != nullptr;
}

PPDXControls* GetRollDownControlList(PPDXRollDown* rollDown) {
  return rollDown ? rollDown->Controls() : nullptr;
}

PPDXGroups* GetScrollPaneRollDowns(PPDXScrollPane* pane) {
  return pane ? pane->RollDowns() : nullptr;
}

PPDXProperty* FirstProperty(PPDXProperties* properties) {
  return properties ? properties->First() : nullptr;
}

PPDXProperty* NextProperty(PPDXProperties* properties) {
  return properties ? properties->Next() : nullptr;
}

PPDXProperty* FindProperty(PPDXProperties* properties, const char* keyword, bool exact) {
  return properties ? properties->Find(keyword, exact) : nullptr;
}

unsigned long PropertyCount(PPDXProperties* properties) {
  return properties ? properties->Count() : 0;
}

bool IsPropertyListEmpty(PPDXProperties* properties) {
  return properties ? properties->Empty() : true;
}

bool IsPropertyPage(PPDXElement* element) {
  return dynamic_cast<PPDXProperty*>(element) != nullptr;
}

PPDXScrollPane* GetPropertyScrollDown(PPDXProperty* property) {
  return property ? property->GetScrollDown() : nullptr;
}

void SetPropertyScrollDown(PPDXProperty* property, PPDXScrollPane* pane) {
  if (property && pane) property->SetScrollDown(pane);
}

bool ShowPropInPrintProp(PPDXProperty* property) {
  return property ? property->ShowInPrintProp() : false;
}

bool ShowPropInApp(PPDXProperty* property) { return property ? property->ShowInApp() : false; }
