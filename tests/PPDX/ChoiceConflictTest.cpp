// A choice the constraints forbid is named with the other side of the first
// constraint that holds against the current choices; a job note by its key
// alone, never its text.

#include "PPDX/ChoiceConflict.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "support/FileText.h"
#include "support/ParsedDocument.h"

namespace {

// The conflict of the control's current value, "" without one.
std::string Conflict(ZPXPPD& document, const std::string& key) {
  PPDXControl* control = ControlOf(document, key);
  if (control == nullptr) return "<no option " + key + ">";
  ChoiceConflict conflict(document, *control);
  EXPECT_EQ(conflict.Exists(), !conflict.OtherKey().empty());
  return conflict.Exists() ? conflict.Describe() : "";
}

}  // namespace

TEST(ChoiceConflictTest, BothSidesAreNamedAndANoteByItsKeyAlone) {
  std::unique_ptr<ZPXPPD> document =
      ParseText(SamplePPDText() + "*UIConstraints: *ZPMailboxName Set *ZPDestination Printer\n" +
                "*UIConstraints: *ZPMediaType Transparency *ZPPrintSize A4\n");
  SetValue(*document, "*ZPStapler", "TopLeft");
  EXPECT_EQ(Conflict(*document, "*ZPStapler"),
            "*ZPStapler TopLeft conflicts with *ZPOptionalFinisher None");
  SetValue(*document, "*ZPOptionalFinisher", "Stapler");
  EXPECT_EQ(Conflict(*document, "*ZPStapler"), "");

  SetValue(*document, "*ZPMediaType", "Transparency");
  SetValue(*document, "*ZPDuplex", "Bottom");
  EXPECT_EQ(Conflict(*document, "*ZPMediaType"),
            "*ZPMediaType Transparency conflicts with *ZPDuplex Bottom");
  SetValue(*document, "*ZPDuplex", "False");
  EXPECT_EQ(Conflict(*document, "*ZPMediaType"), "");
  SetValue(*document, "*ZPPrintSize", "A4");
  EXPECT_EQ(Conflict(*document, "*ZPMediaType"),
            "*ZPMediaType Transparency conflicts with *ZPPrintSize A4");

  auto* note = dynamic_cast<PPDXJobNote*>(ControlOf(*document, "*ZPMailboxName"));
  ASSERT_NE(note, nullptr);
  ASSERT_TRUE(note->SetNotes("/home/ann/secret-4321.ps"));
  EXPECT_EQ(Conflict(*document, "*ZPMailboxName"),
            "*ZPMailboxName's text conflicts with *ZPDestination Printer");
  SetValue(*document, "*ZPDestination", "File");
  EXPECT_EQ(Conflict(*document, "*ZPMailboxName"), "");
}
