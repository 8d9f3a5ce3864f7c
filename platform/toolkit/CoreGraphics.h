#pragma once
// Pictures: PNG files decoded with libpng, drawn into a window's context while
// a user pane draws, which keeps a record of what it last drew. And the main
// display, whose bounds tests set.

#include "cf/CFURL.h"
#include "toolkit/QuickDraw.h"

typedef double CGFloat;
struct CGPoint {
  CGFloat x;
  CGFloat y;
};
struct CGSize {
  CGFloat width;
  CGFloat height;
};
struct CGRect {
  CGPoint origin;
  CGSize size;
};
inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
  return {{x, y}, {width, height}};
}

typedef struct __CGDataProvider* CGDataProviderRef;
typedef struct __CGImage* CGImageRef;
typedef struct __CGContext* CGContextRef;
typedef SInt32 CGColorRenderingIntent;
enum : CGColorRenderingIntent { kCGRenderingIntentDefault = 0 };
typedef UInt32 CGDirectDisplayID;

// The file's bytes (at most 16 MiB); NULL when it cannot be read.
CGDataProviderRef CGDataProviderCreateWithURL(CFURLRef url);
void CGDataProviderRelease(CGDataProviderRef provider);
// NULL unless the bytes are a whole, valid PNG of at most 4096 x 4096 pixels.
CGImageRef CGImageCreateWithPNGDataProvider(CGDataProviderRef source, const CGFloat* decode,
                                            bool shouldInterpolate, CGColorRenderingIntent intent);
void CGImageRelease(CGImageRef image);
size_t CGImageGetWidth(CGImageRef image);
size_t CGImageGetHeight(CGImageRef image);

OSStatus QDBeginCGContext(CGrafPtr port, CGContextRef* outContext);
OSStatus QDEndCGContext(CGrafPtr port, CGContextRef* inoutContext);
void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image);
// Erases to the background, in the coordinates of the window being drawn.
void EraseRect(const Rect* rect);

CGDirectDisplayID CGMainDisplayID();
CGRect CGDisplayBounds(CGDirectDisplayID display);
// Not a call of the platform's: tests say how large the main display is
// (1440 x 900 until they do).
void SetMainDisplayBounds(CGRect bounds);
