#pragma once
// Reads an interface file (GtkBuilder XML) into checked objects with libxml2:
// no network, no document type declaration and so no entities. Anything
// malformed (bad XML, an unknown element, class or property, a value of the
// wrong form, a duplicate or ill-formed id, a dangling reference) stops the
// reading with one "file:line: what" line on standard error.

#include <set>
#include <string>
#include <vector>

#include "toolkit/InterfaceObject.h"

// libxml2 stays out of the header: its users need not find its headers.
struct _xmlNode;
struct _xmlDoc;

class InterfaceReader {
 public:
  // Files above this size are refused unread.
  static constexpr size_t kMaximumSize = 1 << 20;

  // False when the file is malformed.
  static bool ReadFile(const std::string& path, InterfaceContents* outContents);
  // `name` is what the error line calls the bytes.
  static bool ReadBytes(const char* bytes, size_t size, const std::string& name,
                        InterfaceContents* outContents);

 private:
  explicit InterfaceReader(std::string name) : mName(std::move(name)) {}
  bool Document(_xmlDoc* document, InterfaceContents* outContents);
  bool TopObject(_xmlNode* node, InterfaceObject* out);
  bool Object(_xmlNode* node, const std::string& window, InterfaceObject* out);
  bool Id(_xmlNode* node, const std::string& window, InterfaceObject* object);
  bool Member(_xmlNode* node, const std::string& window, InterfaceObject* object);
  bool Property(_xmlNode* node, const std::string& className,
                std::map<std::string, std::string>* into);
  bool Child(_xmlNode* node, const std::string& window, InterfaceObject* parent);
  bool Packing(_xmlNode* node, InterfaceObject* child);
  bool Items(_xmlNode* node, InterfaceObject* object);
  bool Accelerator(_xmlNode* node, InterfaceObject* object);
  bool References() const;
  bool Fail(long line, const std::string& what) const;
  bool Fail(_xmlNode* node, const std::string& what) const;

  std::string mName;
  std::set<std::string> mIds;
  std::set<std::string> mAdjustments;
  std::vector<std::pair<std::string, long>> mReferences;  // adjustment ids used, with their lines
};
