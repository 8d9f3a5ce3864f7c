#include "toolkit/InterfaceReader.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "toolkit/InterfaceClasses.h"

namespace {

// libxml2 is told to stop at a document type declaration: the files need none,
// and refusing it refuses every entity with it.
struct ParseState {
  long doctypeLine = 0;
  // The first error libxml2 meets; the ones after it are its consequences.
  bool failed = false;
  long errorLine = 0;
  std::string errorMessage;
};

void KeepFirstError(void* context, xmlErrorPtr error) {
  auto* state = static_cast<ParseState*>(static_cast<xmlParserCtxtPtr>(context)->_private);
  if (state->failed || !error || error->level < XML_ERR_ERROR) return;
  state->failed = true;
  state->errorLine = error->line;
  state->errorMessage = error->message ? error->message : "not XML";
  while (!state->errorMessage.empty() && state->errorMessage.back() == '\n')
    state->errorMessage.pop_back();
}

void RefuseDoctype(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  auto* parser = static_cast<xmlParserCtxtPtr>(context);
  static_cast<ParseState*>(parser->_private)->doctypeLine = xmlSAX2GetLineNumber(context);
  xmlStopParser(parser);
}

std::string Name(xmlNodePtr node) { return reinterpret_cast<const char*>(node->name); }

std::string Attribute(xmlNodePtr node, const char* name, bool* present = nullptr) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  if (present) *present = value != nullptr;
  std::string text = value ? reinterpret_cast<const char*>(value) : "";
  xmlFree(value);
  return text;
}

std::string Content(xmlNodePtr node) {
  xmlChar* value = xmlNodeGetContent(node);
  std::string text = value ? reinterpret_cast<const char*>(value) : "";
  xmlFree(value);
  return text;
}

bool IsBlank(xmlNodePtr node) {
  return node->type == XML_COMMENT_NODE || (node->type == XML_TEXT_NODE && xmlIsBlankNode(node));
}

bool IsControlClass(const std::string& className) { return InterfaceClasses::Kind(className) != 0; }

// "<window>:<four characters>:<number>" for controls, "<window>:<four
// characters>" for list columns.
bool IdForm(const std::string& id, const std::string& window, bool withNumber) {
  std::string prefix = window + ":";
  if (id.compare(0, prefix.size(), prefix) != 0) return false;
  std::string rest = id.substr(prefix.size());
  if (!withNumber) return rest.size() == 4;
  return rest.size() > 5 && rest[4] == ':' &&
         InterfaceClasses::Valid(PropertyForm::kInteger, rest.substr(5));
}

}  // namespace

bool InterfaceReader::Fail(long line, const std::string& what) const {
  std::fprintf(stderr, "%s:%ld: %s\n", mName.c_str(), line, what.c_str());
  return false;
}

bool InterfaceReader::Fail(xmlNodePtr node, const std::string& what) const {
  return Fail(xmlGetLineNo(node), what);
}

bool InterfaceReader::ReadFile(const std::string& path, InterfaceContents* outContents) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
    return InterfaceReader(path).Fail(0L, "cannot be read");
  if (size_t(status.st_size) > kMaximumSize)
    return InterfaceReader(path).Fail(0L, "larger than " + std::to_string(kMaximumSize) + " bytes");
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ReadBytes(bytes.data(), bytes.size(), path, outContents);
}

bool InterfaceReader::ReadBytes(const char* bytes, size_t size, const std::string& name,
                                InterfaceContents* outContents) {
  InterfaceReader reader(name);
  if (size > kMaximumSize)
    return reader.Fail(0L, "larger than " + std::to_string(kMaximumSize) + " bytes");
  xmlParserCtxtPtr parser = xmlNewParserCtxt();
  if (!parser) return reader.Fail(0L, "out of memory");
  ParseState state;
  parser->_private = &state;
  parser->sax->internalSubset = RefuseDoctype;
  parser->sax->serror = KeepFirstError;
  xmlDocPtr document = xmlCtxtReadMemory(parser, bytes, int(size), nullptr, nullptr,
                                         XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  bool read = false;
  if (state.doctypeLine != 0) {
    reader.Fail(state.doctypeLine, "document type declarations are not allowed");
  } else if (!document || state.failed) {
    reader.Fail(state.errorLine, state.failed ? state.errorMessage : "not XML");
  } else {
    read = reader.Document(document, outContents);
  }
  xmlFreeDoc(document);
  xmlFreeParserCtxt(parser);
  return read;
}

bool InterfaceReader::Document(xmlDocPtr document, InterfaceContents* outContents) {
  xmlNodePtr root = xmlDocGetRootElement(document);
  if (!root || Name(root) != "interface")
    return Fail(root ? xmlGetLineNo(root) : 1, "not an <interface>");
  std::vector<InterfaceObject> objects;
  for (xmlNodePtr node = root->children; node; node = node->next) {
    if (IsBlank(node)) continue;
    if (node->type == XML_ELEMENT_NODE && Name(node) == "requires") continue;
    if (node->type != XML_ELEMENT_NODE || Name(node) != "object")
      return Fail(node, "unexpected <" + Name(node) + "> in <interface>");
    objects.emplace_back();
    if (!TopObject(node, &objects.back())) return false;
  }
  if (!References()) return false;
  outContents->objects = std::move(objects);
  outContents->interfaceLine = xmlGetLineNo(root);
  return true;
}

bool InterfaceReader::TopObject(xmlNodePtr node, InterfaceObject* out) {
  std::string className = Attribute(node, "class");
  if (className != "GtkWindow" && className != "GtkAdjustment")
    return Fail(node, "class \"" + className + "\" cannot stand at the top");
  std::string id = Attribute(node, "id");
  if (id.empty()) return Fail(node, className + " without an id");
  if (className == "GtkAdjustment") mAdjustments.insert(id);
  return Object(node, id, out);
}

bool InterfaceReader::Object(xmlNodePtr node, const std::string& window, InterfaceObject* out) {
  out->className = Attribute(node, "class");
  out->line = xmlGetLineNo(node);
  if (!InterfaceClasses::Known(out->className))
    return Fail(node, "unknown class \"" + out->className + "\"");
  if (!Id(node, window, out)) return false;
  for (xmlNodePtr member = node->children; member; member = member->next)
    if (!IsBlank(member) && !Member(member, window, out)) return false;
  return true;
}

bool InterfaceReader::Id(xmlNodePtr node, const std::string& window, InterfaceObject* object) {
  bool present = false;
  object->id = Attribute(node, "id", &present);
  if (!present) {
    if (object->className == "GtkTreeViewColumn") return Fail(node, "a column needs an id");
    return true;
  }
  bool control = IsControlClass(object->className);
  bool column = object->className == "GtkTreeViewColumn";
  if ((control || column) && !IdForm(object->id, window, control))
    return Fail(node, "id \"" + object->id + "\" is not \"" + window +
                          (control ? ":<code>:<number>\"" : ":<code>\""));
  if (!mIds.insert(object->id).second) return Fail(node, "duplicate id \"" + object->id + "\"");
  return true;
}

bool InterfaceReader::Member(xmlNodePtr node, const std::string& window, InterfaceObject* object) {
  std::string name = node->type == XML_ELEMENT_NODE ? Name(node) : "text";
  if (name == "property") return Property(node, object->className, &object->properties);
  if (name == "child") return Child(node, window, object);
  if (name == "items" && object->className == "GtkComboBoxText") return Items(node, object);
  if (name == "accelerator" && object->className == "GtkButton") return Accelerator(node, object);
  return Fail(node, "unexpected <" + name + "> in " + object->className);
}

bool InterfaceReader::Property(xmlNodePtr node, const std::string& className,
                               std::map<std::string, std::string>* into) {
  std::string name = Attribute(node, "name");
  PropertyForm form;
  if (!InterfaceClasses::PropertyFormOf(className, name, &form))
    return Fail(node, "unknown property \"" + name + "\" of " + className);
  std::string value = Content(node);
  if (!InterfaceClasses::Valid(form, value))
    return Fail(node, "property \"" + name + "\" cannot be \"" + value + "\"");
  if (!into->emplace(name, value).second)
    return Fail(node, "property \"" + name + "\" given twice");
  if (form == PropertyForm::kReference) mReferences.emplace_back(value, xmlGetLineNo(node));
  return true;
}

bool InterfaceReader::Child(xmlNodePtr node, const std::string& window, InterfaceObject* parent) {
  const std::string& holder = parent->className;
  bool takesControls = holder == "GtkFixed" || (holder == "GtkWindow" && parent->children.empty());
  InterfaceObject child;
  bool seenObject = false;
  for (xmlNodePtr member = node->children; member; member = member->next) {
    if (IsBlank(member)) continue;
    std::string name = member->type == XML_ELEMENT_NODE ? Name(member) : "text";
    if (name == "object" && !seenObject) {
      if (!Object(member, window, &child)) return false;
      bool fits = IsControlClass(child.className)
                      ? takesControls
                      : holder == "GtkTreeView" && child.className == "GtkTreeViewColumn";
      if (!fits) return Fail(member, child.className + " cannot go into " + holder);
      seenObject = true;
    } else if (name == "packing" && holder == "GtkFixed") {
      if (!Packing(member, &child)) return false;
    } else {
      return Fail(member, "unexpected <" + name + "> in <child>");
    }
  }
  if (!seenObject) return Fail(node, "<child> without an object");
  parent->children.push_back(std::move(child));
  return true;
}

bool InterfaceReader::Packing(xmlNodePtr node, InterfaceObject* child) {
  for (xmlNodePtr member = node->children; member; member = member->next) {
    if (IsBlank(member)) continue;
    if (member->type != XML_ELEMENT_NODE || Name(member) != "property")
      return Fail(member, "unexpected content in <packing>");
    std::string name = Attribute(member, "name");
    if (name != "x" && name != "y")
      return Fail(member, "unknown packing property \"" + name + "\"");
    std::string value = Content(member);
    if (!InterfaceClasses::Valid(PropertyForm::kSize, value))
      return Fail(member, "packing \"" + name + "\" cannot be \"" + value + "\"");
    if (!child->packing.emplace(name, value).second)
      return Fail(member, "packing \"" + name + "\" given twice");
  }
  return true;
}

bool InterfaceReader::Items(xmlNodePtr node, InterfaceObject* object) {
  for (xmlNodePtr member = node->children; member; member = member->next) {
    if (IsBlank(member)) continue;
    if (member->type != XML_ELEMENT_NODE || Name(member) != "item")
      return Fail(member, "unexpected content in <items>");
    object->items.push_back(Content(member));
  }
  return true;
}

bool InterfaceReader::Accelerator(xmlNodePtr node, InterfaceObject* object) {
  std::string key = Attribute(node, "key");
  if (key != "Return" && key != "Escape")
    return Fail(node, "accelerator key \"" + key + "\" is neither Return nor Escape");
  if (!object->accelerator.empty()) return Fail(node, "a second accelerator");
  object->accelerator = key;
  return true;
}

bool InterfaceReader::References() const {
  for (const auto& [id, line] : mReferences)
    if (mAdjustments.count(id) == 0) return Fail(line, "no GtkAdjustment \"" + id + "\"");
  return true;
}
