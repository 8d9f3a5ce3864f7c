#include "testing/WindowDump.h"

#include "toolkit/ToolkitModel.h"
#include "toolkit/ToolkitWindow.h"

namespace {

std::string Code(OSType code) {
  std::string text = "'";
  for (int shift = 24; shift >= 0; shift -= 8) {
    char byte = char((code >> shift) & 0xFF);
    text += byte >= ' ' && byte <= '~' ? byte : '.';  // stays one printable line
  }
  return text + "'";
}

std::string Bounds(const Rect& rect) {
  return "[" + std::to_string(rect.top) + " " + std::to_string(rect.left) + " " +
         std::to_string(rect.bottom) + " " + std::to_string(rect.right) + "]";
}

const char* KeyName(KeyEquivalent key) {
  switch (key) {
    case KeyEquivalent::kReturn:
      return " key return";
    case KeyEquivalent::kEscape:
      return " key escape";
    default:
      return "";
  }
}

}  // namespace

WindowDump::WindowDump(WindowRef window) {
  if (!ToolkitModel::Shared().IsLive(window)) {
    mOut << "no window\n";
    return;
  }
  mOut << "window class " << window->mClass << " \"" << window->mTitle << "\" "
       << Bounds(window->mBounds) << (window->mVisible ? " shown" : " hidden") << "\n";
  if (window->mRoot) Control(window->mRoot.get(), 1);
}

void WindowDump::Control(ControlRef control, int depth) {
  mOut << std::string(size_t(depth) * 2, ' ') << Code(control->mKind) << " "
       << Code(control->mID.signature) << " " << control->mID.id << " " << Bounds(control->mBounds);
  if (!control->mText.empty()) mOut << " \"" << control->mText << "\"";
  mOut << " value " << control->mValue << " (" << control->mMinimum << ".." << control->mMaximum
       << ")";
  if (!control->mVisible) mOut << " hidden";
  if (!control->mEnabled) mOut << " disabled";
  if (control->mHilite != kControlNoPart) mOut << " hilite " << control->mHilite;
  if (control->mCommandID != 0) mOut << " command " << Code(control->mCommandID);
  if (!control->mHelpTag.empty()) mOut << " help \"" << control->mHelpTag << "\"";
  mOut << KeyName(control->mKeyEquivalent) << "\n";
  if (control->mMenu) Menu(control->mMenu.get(), depth + 1);
  for (const ListColumn& column : control->mColumns)
    mOut << std::string(size_t(depth + 1) * 2, ' ') << "| " << Code(column.property) << " \""
         << column.title << "\"\n";
  if (control->mList) Rows(control, depth + 1);
  for (const PaneDrawing& drawn : control->mDrawn) {
    mOut << std::string(size_t(depth + 1) * 2, ' ');
    if (drawn.kind == PaneDrawing::Kind::kPicture)
      mOut << "picture " << drawn.width << "x" << drawn.height << " in ";
    else
      mOut << "erase ";
    mOut << Bounds(drawn.area) << "\n";
  }
  for (ControlRef child : control->mChildren) Control(child, depth + 1);
}

void WindowDump::Menu(MenuRef menu, int depth) {
  for (const OpaqueMenuRef::Item& item : menu->mItems)
    mOut << std::string(size_t(depth) * 2, ' ') << "- \"" << item.text << "\""
         << (item.enabled ? "" : " disabled") << "\n";
}

// Each row in display order: its ID, state, and what it shows in each column.
void WindowDump::Rows(ControlRef control, int depth) {
  const ListView& list = *control->mList;
  for (DataBrowserItemID item : list.Rows(kDataBrowserNoItem, true, kDataBrowserItemAnyState)) {
    DataBrowserItemState state = list.State(item);
    mOut << std::string(size_t(depth) * 2, ' ') << "row " << item
         << (state & kDataBrowserItemIsSelected ? " selected" : "")
         << (state & kDataBrowserContainerIsOpen ? " open" : "");
    for (const ListColumn& column : control->mColumns)
      mOut << " \"" << list.Data(item, column.property).text << "\"";
    mOut << "\n";
  }
}
