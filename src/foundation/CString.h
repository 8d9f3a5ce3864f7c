#pragma once
// The program's own byte string: an owned, heap-held, NUL-terminated text.
//
// A string may begin as a copy held in a document's storage; a change that
// needs a new buffer takes one of its own on the heap. The string itself may
// live in a document's storage too (DocumentStorage::Make), and is then ended
// by its owner through the storage.
//
// A string without a buffer is "unset", which is not the same as "": assigning
// a null or unset source makes the target unset, and an unset string converts
// to a null `const char*`. Copies are deep. Allocation failures are silent and
// leave the string as it was.

class DocumentStorage;
struct __CFString;

class CString {
 public:
  CString();
  CString(const char* text);
  CString(const CString& other);
  // Takes the other's text, wherever it lives; the other is left unset.
  CString(CString&& other) noexcept;
  // A copy of the text held in `storage`, which must outlive the string;
  // unset for a null text.
  CString(const char* text, DocumentStorage& storage);
  // Converts with the system encoding; an unconvertible or null source leaves
  // the string unset.
  CString(__CFString const* text);
  ~CString();

  CString& operator=(const char* text);
  CString& operator=(const CString& other);
  CString& operator=(CString&& other) noexcept;
  // Converts with the application text encoding; a null or unconvertible
  // source makes the string "" (set, but empty).
  CString& operator=(__CFString const* text);

  operator const char*() const { return mBuffer; }
  unsigned long Size() const { return mLength; }
  // True for unset and for "".
  bool Empty() const;

  // Case-sensitive comparison. An unset string equals only an unset string or
  // a null pointer.
  bool operator==(const CString& other) const;
  bool operator==(const char* text) const;

  // Appends in place (it is not a new value) and returns this string. Appending
  // nothing to an unset string leaves it unset.
  CString& operator+(const char* text);

  // Case-insensitive search; an unset string and a null text never match.
  bool Contains(const char* text) const;

  // Deletes `n` bytes from `at`, a pointer into the text. A range reaching past
  // the end is cut at the end; a position outside the text removes nothing.
  void Remove(char* at, unsigned long n);

  // Inserts `text` before `at` (a pointer into the text or at its end) and
  // returns the new buffer; returns null and changes nothing when the string is
  // unset, `text` is empty, `at` lies outside the text or memory runs out.
  char* Insert(char* at, const char* text);

  // Replaces the first case-sensitive occurrence of `find` with `with`.
  void Replace(const CString& find, const CString& with);

  // Frees the text; the string becomes unset.
  void ClearBuffer();

 private:
  // Takes ownership of `text` (null makes the string unset), freeing the
  // current buffer.
  void Adopt(char* text, unsigned long textLength);
  // Replaces `removed` bytes at `offset` with `text` in a fresh buffer, so that
  // `text` may point into this string. Returns the new buffer, or null (and
  // nothing changed) when memory runs out.
  char* Splice(unsigned long offset, unsigned long removed, const char* text);
  // True when `at` points into the text or at its terminating NUL.
  bool Holds(const char* at) const;

  char* mBuffer;
  unsigned long mLength;
  // Holds mBuffer when not null; the heap holds it otherwise.
  DocumentStorage* mStorage = nullptr;
};
