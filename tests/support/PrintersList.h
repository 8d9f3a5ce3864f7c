#pragma once
// A list of printers from an interface file and the program behind it: rows
// named by their ID, row 2 a container the program fills (21, 22) when it
// opens, sorted by name, and every notification heard.

#include <map>
#include <string>
#include <vector>

#include "cf/CFText.h"
#include "support/ToolkitFixture.h"
#include "toolkit/DataBrowser.h"

inline const char kPrintersListFile[] = R"(<interface>
  <object class="GtkWindow" id="Printers">
    <child>
      <object class="GtkFixed">
        <child>
          <object class="GtkTreeView" id="Printers:list:1">
            <property name="width-request">300</property>
            <property name="height-request">200</property>
            <child><object class="GtkTreeViewColumn" id="Printers:name"><property name="title">Name</property></object></child>
          </object>
        </child>
      </object>
    </child>
  </object>
</interface>
)";

inline constexpr DataBrowserPropertyID kPrinterName = FourCC("name");

// The program's side: names of rows, the container among them, what it heard.
struct PrintersHeard {
  std::map<DataBrowserItemID, std::string> names = {
      {1, "Cyan"}, {2, "Office"}, {3, "Black"}, {21, "Zeta"}, {22, "Alpha"}};
  std::vector<std::string> heard;
};
inline PrintersHeard* sPrintersHeard = nullptr;

inline OSStatus PrinterItemData(ControlRef, DataBrowserItemID item, DataBrowserPropertyID property,
                                DataBrowserItemDataRef data, Boolean setValue) {
  if (setValue) return errDataBrowserPropertyNotFound;
  if (property == kDataBrowserItemIsContainerProperty)
    return SetDataBrowserItemDataBooleanValue(data, item == 2);
  if (property != kPrinterName) return errDataBrowserPropertyNotFound;
  CFRef<CFStringRef> text(CreateText(sPrintersHeard->names[item]));
  return SetDataBrowserItemDataText(data, text.get());
}

inline Boolean ComparePrinters(ControlRef, DataBrowserItemID one, DataBrowserItemID two,
                               DataBrowserPropertyID property) {
  return property == kPrinterName && sPrintersHeard->names[one] < sPrintersHeard->names[two];
}

inline void PrinterNotification(ControlRef list, DataBrowserItemID item,
                                DataBrowserItemNotification message) {
  sPrintersHeard->heard.push_back(std::to_string(item) + ":" + std::to_string(message));
  if (message == kDataBrowserContainerOpened) {
    const DataBrowserItemID inside[] = {21, 22};
    AddDataBrowserItems(list, item, 2, inside, kPrinterName);
  }
}

// The list of the window "Printers", its callbacks set.
inline ControlRef SetUpPrintersList(WindowRef window) {
  ControlID id = {FourCC("list"), 1};
  ControlRef list = nullptr;
  EXPECT_EQ(GetControlByID(window, &id, &list), noErr);
  DataBrowserCallbacks callbacks;
  callbacks.version = kDataBrowserLatestCallbacks;
  EXPECT_EQ(InitDataBrowserCallbacks(&callbacks), noErr);
  callbacks.u.v1.itemDataCallback = NewDataBrowserItemDataUPP(PrinterItemData);
  callbacks.u.v1.itemCompareCallback = NewDataBrowserItemCompareUPP(ComparePrinters);
  callbacks.u.v1.itemNotificationCallback = NewDataBrowserItemNotificationUPP(PrinterNotification);
  EXPECT_EQ(SetDataBrowserCallbacks(list, &callbacks), noErr);
  return list;
}
