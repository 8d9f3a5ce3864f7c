// Help tags over the process's toolkit model: the control keeps the text.

#include "cf/CFStringObject.h"
#include "toolkit/MacHelp.h"
#include "toolkit/ToolkitControl.h"
#include "toolkit/ToolkitModel.h"

OSStatus HMSetControlHelpContent(ControlRef control, const HMHelpContentRec* content) {
  if (control == nullptr || !ToolkitModel::Shared().IsLive(control)) return paramErr;
  const HMHelpContent* tag =
      content != nullptr ? &content->content[kHMMinimumContentIndex] : nullptr;
  if (tag == nullptr || tag->contentType == kHMNoContent || tag->u.tagCFString == nullptr) {
    control->mHelpTag.clear();
    return noErr;
  }
  if (tag->contentType != kHMCFStringContent) return paramErr;
  control->mHelpTag = __CFString::utf8Of(tag->u.tagCFString);
  return noErr;
}
