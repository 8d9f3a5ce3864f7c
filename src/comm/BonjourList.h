#pragma once
// The printers that announce themselves on the local network, for the list of
// the address dialog: one row per IPv4 address of each "_printer._tcp."
// service, with the service's name and the address.
//
// Rows carry identifiers of their own, handed out once and never reused: a
// removal takes its rows out and leaves every other row with the identifier
// it had, so a list view's selection and sorting stay right. Entry n of the
// three parallel arrays (addresses, names, row identifiers) is one row.
//
// The list control finds its BonjourList through a control property (creator
// 'ZPX ', tag kListPropertyTag) and calls the DataBrowser... members. When the
// search fails (no DNS-SD service runs) the list stays empty and the note
// given for it is shown.

#include <vector>

#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"
#include "net/CFNetServices.h"
#include "toolkit/DataBrowser.h"

class BonjourList {
 public:
  static constexpr DataBrowserPropertyID kNameColumn = FourCC("bNam");
  static constexpr DataBrowserPropertyID kAddressColumn = FourCC("ipAd");
  static constexpr CFTimeInterval kResolveSeconds = 5.0;
  static constexpr OSType kListPropertyCreator = FourCC("ZPX ");
  static constexpr OSType kListPropertyTag = FourCC("BnjL");

  // Starts browsing at once on the current run loop, in the common modes.
  // `failureNote` (may be null) is shown when the search fails.
  BonjourList(ControlRef addressEdit, ControlRef list, ControlRef failureNote = nullptr);
  BonjourList(const BonjourList&) = delete;
  BonjourList& operator=(const BonjourList&) = delete;
  virtual ~BonjourList();

  // The name of the printer chosen in the list or matched by address; null
  // before either happened.
  CFStringRef GetPrinterName() const { return mPrinterName.get(); }
  // Chooses the first row whose address is the host's address; a host that
  // does not resolve, or that no row has, changes nothing.
  void SetPrinterNameWithHostName(const char* host);

  // The text of a row's column; null for another column or an unknown row.
  CFStringRef DataBrowserItemDataGet(DataBrowserItemID item, DataBrowserPropertyID property) const;
  // Whether the first row sorts before the second: names ignoring case,
  // addresses by the value of their numbers.
  bool DataBrowserItemCompare(DataBrowserItemID first, DataBrowserItemID second,
                              DataBrowserPropertyID sortProperty) const;
  // A selected row's address goes to the address field, its name becomes the chosen name.
  void DataBrowserItemChanged(DataBrowserItemID item, DataBrowserItemNotification message);
  static void NetServicesCallback(CFNetServiceBrowserRef browser, CFOptionFlags flags,
                                  CFTypeRef domainOrService, CFStreamError* error, void* info);

 private:
  // The list control's callbacks, which find the BonjourList by its property.
  static BonjourList* Of(ControlRef list);
  static OSStatus ItemDataProc(ControlRef list, DataBrowserItemID item,
                               DataBrowserPropertyID property, DataBrowserItemDataRef itemData,
                               Boolean setValue);
  static Boolean ItemCompareProc(ControlRef list, DataBrowserItemID first, DataBrowserItemID second,
                                 DataBrowserPropertyID sortProperty);
  static void ItemNotificationProc(ControlRef list, DataBrowserItemID item,
                                   DataBrowserItemNotification message);
  void AttachToList();
  void AddService(CFNetServiceRef service, CFStringRef name);
  void RemoveService(CFStringRef name);
  void AddRow(CFStringRef address, CFStringRef name);
  CFIndex PositionOf(DataBrowserItemID item) const;
  CFStringRef TextAt(CFArrayRef column, DataBrowserItemID item) const;

  ControlRef mAddressEdit;
  ControlRef mList;
  ControlRef mFailureNote;
  // Retained: the row it came from may go while it is still the answer.
  CFRef<CFStringRef> mPrinterName;
  CFNetServiceClientContext mContext;
  CFRef<CFNetServiceBrowserRef> mBrowser;
  CFRef<CFMutableArrayRef> mAddresses;
  CFRef<CFMutableArrayRef> mNames;
  std::vector<DataBrowserItemID> mRowIDs;
  DataBrowserItemID mNextRowID = 1;
};

BonjourList* CreateBonjourList(ControlRef addressEdit, ControlRef list,
                               ControlRef failureNote = nullptr);
void DeleteBonjourList(BonjourList* list);
