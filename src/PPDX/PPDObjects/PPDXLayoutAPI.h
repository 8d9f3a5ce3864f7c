#pragma once
// Flat interface to the display hierarchy (groups, roll-downs, scroll panes and
// property pages), for callers that hold only a pointer. A null object answers 0,
// false or null; a null list counts as empty.

#include "foundation/ZPXExport.h"

class PPDXControls;
class PPDXElement;
class PPDXGroup;
class PPDXGroups;
class PPDXProperties;
class PPDXProperty;
class PPDXRollDown;
class PPDXScrollPane;

ZPX_EXPORT PPDXGroup* FirstGroup(PPDXGroups* groups);
ZPX_EXPORT PPDXGroup* NextGroup(PPDXGroups* groups);
ZPX_EXPORT PPDXGroup* FindGroup(PPDXGroups* groups, const char* keyword, bool exact);
ZPX_EXPORT unsigned long GroupCount(PPDXGroups* groups);
ZPX_EXPORT bool IsGrouPointerListEmpty(PPDXGroups* groups);

ZPX_EXPORT bool IsRollDown(PPDXElement* element);
ZPX_EXPORT bool IsScrollPane(PPDXElement* element);
ZPX_EXPORT PPDXControls* GetRollDownControlList(PPDXRollDown* rollDown);
ZPX_EXPORT PPDXGroups* GetScrollPaneRollDowns(PPDXScrollPane* pane);

ZPX_EXPORT PPDXProperty* FirstProperty(PPDXProperties* properties);
ZPX_EXPORT PPDXProperty* NextProperty(PPDXProperties* properties);
ZPX_EXPORT PPDXProperty* FindProperty(PPDXProperties* properties, const char* keyword, bool exact);
ZPX_EXPORT unsigned long PropertyCount(PPDXProperties* properties);
ZPX_EXPORT bool IsPropertyListEmpty(PPDXProperties* properties);
ZPX_EXPORT bool IsPropertyPage(PPDXElement* element);
ZPX_EXPORT PPDXScrollPane* GetPropertyScrollDown(PPDXProperty* property);
// A null pane leaves the page's pane as it is (the member clears it).
ZPX_EXPORT void SetPropertyScrollDown(PPDXProperty* property, PPDXScrollPane* pane);
ZPX_EXPORT bool ShowPropInPrintProp(PPDXProperty* property);
ZPX_EXPORT bool ShowPropInApp(PPDXProperty* property);
