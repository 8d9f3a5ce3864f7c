#pragma once
// Events, their handlers, the main queue, timers on the event loop and mouse
// tracking. An event goes to the control's target, then its window's, then the
// application's; when every handler answers eventNotHandledErr the toolkit's
// standard handling runs (see StandardHandler.h).

#include "carbon/MacTypes.h"
#include "cf/CFBase.h"
#include "cf/CFRunLoop.h"
#include "toolkit/QuickDraw.h"
#include "toolkit/ToolkitErrors.h"

typedef double EventTime;
typedef EventTime EventTimerInterval;
enum { kEventDurationSecond = 1, kEventDurationForever = -1 };

typedef struct OpaqueEventRef* EventRef;
typedef struct OpaqueEventTargetRef* EventTargetRef;
typedef struct OpaqueEventHandlerRef* EventHandlerRef;
typedef struct OpaqueEventHandlerCallRef* EventHandlerCallRef;
typedef struct OpaqueEventQueueRef* EventQueueRef;
typedef struct OpaqueEventLoopRef* EventLoopRef;
typedef struct OpaqueEventLoopTimerRef* EventLoopTimerRef;
typedef struct OpaqueControlRef* ControlRef;
typedef struct OpaqueWindowPtr* WindowRef;
typedef struct OpaqueMenuRef* MenuRef;

typedef OSType EventParamName;
typedef OSType EventParamType;
typedef UInt32 EventAttributes;
typedef SInt16 EventPriority;
typedef SInt16 ControlPartCode;
typedef UInt16 MenuItemIndex;
typedef UInt32 MenuCommand;

struct EventTypeSpec {
  UInt32 eventClass;
  UInt32 eventKind;
};

enum : UInt32 {
  kEventClassMouse = FourCC("mous"),
  kEventClassKeyboard = FourCC("keyb"),
  kEventClassCommand = FourCC("cmds"),
  kEventClassControl = FourCC("cntl"),
  kEventClassWindow = FourCC("wind"),
};

enum : UInt32 {
  kEventCommandProcess = 1,
  kEventControlHit = 1,
  kEventControlDraw = 4,
  kEventControlClick = 13,
  kEventControlValueFieldChanged = 151,
  kEventWindowClose = 72,
};

enum : OSType {
  kEventParamDirectObject = FourCC("----"),
  kEventParamControlPart = FourCC("cprt"),
  kEventParamPostTarget = FourCC("ptrg"),
  kEventParamMouseLocation = FourCC("mloc"),
  kEventParamMenuItemIndex = FourCC("item"),
  typeWildCard = FourCC("****"),
  typeControlRef = FourCC("ctrl"),
  typeWindowRef = FourCC("wind"),
  typeHICommand = FourCC("hcmd"),
  typeControlPartCode = FourCC("cprt"),
  typeEventTargetRef = FourCC("etrg"),
  typeQDPoint = FourCC("QDpt"),
  typeMenuItemIndex = FourCC("midx"),
  typeUInt32 = FourCC("magn"),
  typeSInt32 = FourCC("long"),
  typeCFStringRef = FourCC("cfst"),
};

enum : UInt32 {
  kHICommandFromMenu = 1 << 0,
  kHICommandFromControl = 1 << 1,
  kHICommandFromWindow = 1 << 2,
};

struct HICommand {
  UInt32 attributes;
  UInt32 commandID;
  struct {
    MenuRef menuRef;
    MenuItemIndex menuItemIndex;
  } menu;
};

// What the toolkit sends: the command with the control or window it came from.
struct HICommandExtended {
  UInt32 attributes;
  UInt32 commandID;
  union {
    ControlRef control;
    WindowRef window;
    struct {
      MenuRef menuRef;
      MenuItemIndex menuItemIndex;
    } menu;
  } source;
};

enum : EventPriority { kEventPriorityLow = 0, kEventPriorityStandard = 1, kEventPriorityHigh = 2 };
enum : EventAttributes { kEventAttributeNone = 0 };

typedef OSStatus (*EventHandlerProcPtr)(EventHandlerCallRef callRef, EventRef event,
                                        void* userData);
typedef EventHandlerProcPtr EventHandlerUPP;
typedef void (*EventLoopTimerProcPtr)(EventLoopTimerRef timer, void* userData);
typedef EventLoopTimerProcPtr EventLoopTimerUPP;

EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr proc);
void DisposeEventHandlerUPP(EventHandlerUPP upp);
EventLoopTimerUPP NewEventLoopTimerUPP(EventLoopTimerProcPtr proc);
void DisposeEventLoopTimerUPP(EventLoopTimerUPP upp);

// Handlers of one target run newest first.
OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, ItemCount numTypes,
                             const EventTypeSpec* types, void* userData,
                             EventHandlerRef* outHandler);
OSStatus RemoveEventHandler(EventHandlerRef handler);
EventTargetRef GetApplicationEventTarget();
// The application's own loop: the main run loop and the user's input until
// QuitApplicationEventLoop; unlike a modal loop it leaves every window to the
// user, and the modal loops run inside it take over while they last.
void RunApplicationEventLoop();
void QuitApplicationEventLoop();
OSStatus SendEventToEventTarget(EventRef event, EventTargetRef target);

OSStatus CreateEvent(CFAllocatorRef allocator, UInt32 eventClass, UInt32 kind, EventTime when,
                     EventAttributes flags, EventRef* outEvent);
EventRef RetainEvent(EventRef event);
void ReleaseEvent(EventRef event);
UInt32 GetEventClass(EventRef event);
UInt32 GetEventKind(EventRef event);
OSStatus SetEventParameter(EventRef event, EventParamName name, EventParamType type, ByteCount size,
                           const void* data);
// A parameter asked for with another type than it was set with (other than
// typeWildCard) is refused with errAECoercionFail.
OSStatus GetEventParameter(EventRef event, EventParamName name, EventParamType desiredType,
                           EventParamType* outActualType, ByteCount bufferSize,
                           ByteCount* outActualSize, void* outData);

// The toolkit's clock (virtual under the headless backend), in seconds.
EventTime GetCurrentEventTime();
EventQueueRef GetMainEventQueue();
// The event is delivered, from the main run loop, to its kEventParamPostTarget
// or else to the application.
OSStatus PostEventToQueue(EventQueueRef queue, EventRef event, EventPriority priority);

EventLoopRef GetMainEventLoop();
EventLoopRef GetCurrentEventLoop();
CFRunLoopRef GetCFRunLoopFromEventLoop(EventLoopRef loop);
// Fires after `fireDelay`, then every `interval` (0: once).
OSStatus InstallEventLoopTimer(EventLoopRef loop, EventTimerInterval fireDelay,
                               EventTimerInterval interval, EventLoopTimerUPP proc, void* userData,
                               EventLoopTimerRef* outTimer);
OSStatus RemoveEventLoopTimer(EventLoopTimerRef timer);
OSStatus SetEventLoopTimerNextFireTime(EventLoopTimerRef timer, EventTimerInterval nextFire);

typedef UInt16 MouseTrackingResult;
enum : MouseTrackingResult {
  kMouseTrackingMouseDown = 1,
  kMouseTrackingMouseUp = 2,
  kMouseTrackingMouseExited = 3,
  kMouseTrackingMouseEntered = 4,
  kMouseTrackingMouseDragged = 5,
  kMouseTrackingMouseReleased = kMouseTrackingMouseUp,
};
// The next step of the mouse gesture in progress, in the port's window coordinates.
OSStatus TrackMouseLocation(GrafPtr port, Point* outPoint, MouseTrackingResult* outResult);
