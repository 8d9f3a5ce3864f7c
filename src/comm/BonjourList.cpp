#include "comm/BonjourList.h"

#include <netinet/in.h>

#include <cstring>

#include "cf/CFText.h"
#include "comm/HostAddress.h"
#include "toolkit/Controls.h"
#include "toolkit/ToolkitErrors.h"

namespace {

// The dotted quad of an IPv4 socket address; null for any other address.
CFStringRef CreateIPv4Text(CFTypeRef value) {
  if (value == nullptr || CFGetTypeID(value) != CFDataGetTypeID()) return nullptr;
  CFDataRef data = static_cast<CFDataRef>(value);
  if (CFDataGetLength(data) != CFIndex(sizeof(sockaddr_in))) return nullptr;
  sockaddr_in address;
  std::memcpy(&address, CFDataGetBytePtr(data), sizeof address);
  if (address.sin_family != AF_INET) return nullptr;
  const auto* bytes = reinterpret_cast<const unsigned char*>(&address.sin_addr);
  return CFStringCreateWithFormat(kCFAllocatorDefault, nullptr, CFSTR("%d.%d.%d.%d"), bytes[0],
                                  bytes[1], bytes[2], bytes[3]);
}

CFMutableArrayRef CreateColumn() {
  return CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
}

}  // namespace

BonjourList::BonjourList(ControlRef addressEdit, ControlRef list, ControlRef failureNote)
    : mAddressEdit(addressEdit),
      mList(list),
      mFailureNote(failureNote),
      mContext{0, this, nullptr, nullptr, nullptr},
      mBrowser(CFNetServiceBrowserCreate(kCFAllocatorDefault, NetServicesCallback, &mContext)),
      mAddresses(CreateColumn()),
      mNames(CreateColumn()) {
  AttachToList();
  CFNetServiceBrowserScheduleWithRunLoop(mBrowser.get(), CFRunLoopGetCurrent(),
                                         kCFRunLoopCommonModes);
  CFStreamError error;
  CFNetServiceBrowserSearchForServices(mBrowser.get(), CFSTR(""), CFSTR("_printer._tcp."), &error);
}

void BonjourList::AttachToList() {
  BonjourList* self = this;
  if (SetControlProperty(mList, kListPropertyCreator, kListPropertyTag, sizeof self, &self) !=
      noErr)
    return;
  DataBrowserCallbacks callbacks;
  callbacks.version = kDataBrowserLatestCallbacks;
  InitDataBrowserCallbacks(&callbacks);
  callbacks.u.v1.itemDataCallback = NewDataBrowserItemDataUPP(ItemDataProc);
  callbacks.u.v1.itemCompareCallback = NewDataBrowserItemCompareUPP(ItemCompareProc);
  callbacks.u.v1.itemNotificationCallback = NewDataBrowserItemNotificationUPP(ItemNotificationProc);
  SetDataBrowserCallbacks(mList, &callbacks);
}

BonjourList* BonjourList::Of(ControlRef list) {
  BonjourList* self = nullptr;
  ByteCount size = 0;
  if (GetControlProperty(list, kListPropertyCreator, kListPropertyTag, sizeof self, &size, &self) !=
          noErr ||
      size != sizeof self)
    return nullptr;
  return self;
}

OSStatus BonjourList::ItemDataProc(ControlRef list, DataBrowserItemID item,
                                   DataBrowserPropertyID property, DataBrowserItemDataRef itemData,
                                   Boolean setValue) {
  BonjourList* self = Of(list);
  CFStringRef text =
      self != nullptr && !setValue ? self->DataBrowserItemDataGet(item, property) : nullptr;
  if (text == nullptr) return errDataBrowserPropertyNotFound;
  return SetDataBrowserItemDataText(itemData, text);
}

Boolean BonjourList::ItemCompareProc(ControlRef list, DataBrowserItemID first,
                                     DataBrowserItemID second, DataBrowserPropertyID sortProperty) {
  BonjourList* self = Of(list);
  return self != nullptr && self->DataBrowserItemCompare(first, second, sortProperty);
}

void BonjourList::ItemNotificationProc(ControlRef list, DataBrowserItemID item,
                                       DataBrowserItemNotification message) {
  if (BonjourList* self = Of(list)) self->DataBrowserItemChanged(item, message);
}

BonjourList::~BonjourList() {
  // The list control may outlive this list: its callbacks must find no one.
  BonjourList* none = nullptr;
  SetControlProperty(mList, kListPropertyCreator, kListPropertyTag, sizeof none, &none);
  CFNetServiceBrowserUnscheduleFromRunLoop(mBrowser.get(), CFRunLoopGetCurrent(),
                                           kCFRunLoopCommonModes);
  CFNetServiceBrowserInvalidate(mBrowser.get());
  CFStreamError error;
  CFNetServiceBrowserStopSearch(mBrowser.get(), &error);
}

void BonjourList::NetServicesCallback(CFNetServiceBrowserRef, CFOptionFlags flags,
                                      CFTypeRef domainOrService, CFStreamError* error, void* info) {
  if (info == nullptr) return;
  auto* self = static_cast<BonjourList*>(info);
  if (error != nullptr && error->error != 0) {
    if (self->mFailureNote != nullptr) ShowControl(self->mFailureNote);
    return;
  }
  if ((flags & kCFNetServiceFlagIsDomain) != 0) return;
  auto service = static_cast<CFNetServiceRef>(const_cast<void*>(domainOrService));
  CFStringRef name = CFNetServiceGetName(service);
  if (name == nullptr) return;
  if ((flags & kCFNetServiceFlagRemove) != 0)
    self->RemoveService(name);
  else
    self->AddService(service, name);
}

void BonjourList::AddService(CFNetServiceRef service, CFStringRef name) {
  CFStreamError error;
  if (!CFNetServiceResolveWithTimeout(service, kResolveSeconds, &error)) return;
  CFArrayRef addresses = CFNetServiceGetAddressing(service);
  for (CFIndex i = 0; addresses != nullptr && i < CFArrayGetCount(addresses); ++i) {
    CFRef<CFStringRef> address(CreateIPv4Text(CFArrayGetValueAtIndex(addresses, i)));
    if (address) AddRow(address.get(), name);
  }
}

void BonjourList::AddRow(CFStringRef address, CFStringRef name) {
  CFArrayAppendValue(mAddresses.get(), address);
  CFArrayAppendValue(mNames.get(), name);
  DataBrowserItemID row = mNextRowID++;
  mRowIDs.push_back(row);
  AddDataBrowserItems(mList, kDataBrowserNoItem, 1, &row, kDataBrowserItemNoProperty);
}

// From the last entry to the first, so that positions still to visit stay put.
void BonjourList::RemoveService(CFStringRef name) {
  for (CFIndex i = CFArrayGetCount(mNames.get()) - 1; i >= 0; --i) {
    auto entryName = static_cast<CFStringRef>(CFArrayGetValueAtIndex(mNames.get(), i));
    if (CFStringCompare(entryName, name, 0) != kCFCompareEqualTo) continue;
    CFArrayRemoveValueAtIndex(mNames.get(), i);
    CFArrayRemoveValueAtIndex(mAddresses.get(), i);
    DataBrowserItemID row = mRowIDs[size_t(i)];
    mRowIDs.erase(mRowIDs.begin() + i);
    RemoveDataBrowserItems(mList, kDataBrowserNoItem, 1, &row, kDataBrowserItemNoProperty);
  }
}

CFIndex BonjourList::PositionOf(DataBrowserItemID item) const {
  for (size_t i = 0; i < mRowIDs.size(); ++i)
    if (mRowIDs[i] == item) return CFIndex(i);
  return kCFNotFound;
}

CFStringRef BonjourList::TextAt(CFArrayRef column, DataBrowserItemID item) const {
  CFIndex position = PositionOf(item);
  if (position == kCFNotFound) return nullptr;
  return static_cast<CFStringRef>(CFArrayGetValueAtIndex(column, position));
}

CFStringRef BonjourList::DataBrowserItemDataGet(DataBrowserItemID item,
                                                DataBrowserPropertyID property) const {
  if (property == kNameColumn) return TextAt(mNames.get(), item);
  if (property == kAddressColumn) return TextAt(mAddresses.get(), item);
  return nullptr;
}

bool BonjourList::DataBrowserItemCompare(DataBrowserItemID first, DataBrowserItemID second,
                                         DataBrowserPropertyID sortProperty) const {
  CFStringRef firstText = DataBrowserItemDataGet(first, sortProperty);
  CFStringRef secondText = DataBrowserItemDataGet(second, sortProperty);
  if (firstText == nullptr || secondText == nullptr) return false;
  CFStringCompareFlags options =
      sortProperty == kNameColumn ? kCFCompareCaseInsensitive : kCFCompareNumerically;
  return CFStringCompare(firstText, secondText, options) == kCFCompareLessThan;
}

void BonjourList::DataBrowserItemChanged(DataBrowserItemID item,
                                         DataBrowserItemNotification message) {
  CFIndex position = PositionOf(item);
  if (message != kDataBrowserItemSelected || position == kCFNotFound) return;
  auto address = static_cast<CFStringRef>(CFArrayGetValueAtIndex(mAddresses.get(), position));
  SetControlData(mAddressEdit, kControlEntireControl, kControlEditTextCFStringTag, sizeof address,
                 &address);
  Draw1Control(mAddressEdit);
  mPrinterName = CFRef<CFStringRef>::Retain(
      static_cast<CFStringRef>(CFArrayGetValueAtIndex(mNames.get(), position)));
}

void BonjourList::SetPrinterNameWithHostName(const char* host) {
  char quad[16];
  if (!ResolveHostToAddrString(host, quad, sizeof quad)) return;
  CFRef<CFStringRef> wanted(CreateText(quad));
  CFIndex position = CFArrayGetFirstIndexOfValue(
      mAddresses.get(), CFRangeMake(0, CFArrayGetCount(mAddresses.get())), wanted.get());
  if (position == kCFNotFound) return;
  mPrinterName = CFRef<CFStringRef>::Retain(
      static_cast<CFStringRef>(CFArrayGetValueAtIndex(mNames.get(), position)));
}

BonjourList* CreateBonjourList(ControlRef addressEdit, ControlRef list, ControlRef failureNote) {
  return new BonjourList(addressEdit, list, failureNote);
}

void DeleteBonjourList(BonjourList* list) { delete list; }
