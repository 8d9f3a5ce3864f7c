#pragma once
// What sessions and printers share: a hold count, and a registry of the live
// objects, so that a call with a released or foreign pointer is refused rather
// than followed.

class PrintObject {
 public:
  PrintObject();
  virtual ~PrintObject();
  PrintObject(const PrintObject&) = delete;
  PrintObject& operator=(const PrintObject&) = delete;

  // Null when `object` is no live print object.
  static PrintObject* Live(const void* object);
  void Retain() { ++mHolds; }
  // Deletes the object with its last hold.
  void Release();

 private:
  long mHolds = 1;
};
