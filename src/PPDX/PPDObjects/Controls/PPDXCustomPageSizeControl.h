#pragma once
// The width and height of a custom page size, with their limits. It keeps no
// PostScript, constraints or saved entries: the values travel as the text
// "<width> <height>".

#include "PPDX/PPDObjects/PPDXControl.h"

class PPDXCustomPageSizeControl : public PPDXControl {
 public:
  // The flag strings are taken as by PPDXControl.
  PPDXCustomPageSizeControl(const char* keyword, PointerList& flags);
  PPDXCustomPageSizeControl(const char* keyword, PointerList& flags, double minWidth,
                            double maxWidth, double minHeight, double maxHeight);
  ~PPDXCustomPageSizeControl() override;

  void ResetToDefaultValue() override;
  short Restore(Settings& settings, long index) override;
  // "%f %f": width, then height.
  CFStringRef CopyCurrentControlValueString() override;
  // The leading number is the width, the number after the first space the height
  // (the width again when there is no space). Limits are the caller's to apply.
  void SetCurrentControlWithCFString(CFStringRef value) override;

  float GetWidth() const { return mWidth; }
  float GetHeight() const { return mHeight; }
  float MinWidth() const { return mMinWidth; }
  float MaxWidth() const { return mMaxWidth; }
  float MinHeight() const { return mMinHeight; }
  float MaxHeight() const { return mMaxHeight; }
  void SetWidth(float width) { mWidth = width; }
  void SetHeight(float height) { mHeight = height; }
  void SetMinWidth(float width) { mMinWidth = width; }
  void SetMaxWidth(float width) { mMaxWidth = width; }
  void SetMinHeight(float height) { mMinHeight = height; }
  void SetMaxHeight(float height) { mMaxHeight = height; }

  short Save(Settings& settings, long index);

 private:
  float mWidth;
  float mHeight;
  float mMinWidth;
  float mMaxWidth;
  float mMinHeight;
  float mMaxHeight;
};
