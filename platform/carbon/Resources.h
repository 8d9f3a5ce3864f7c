#pragma once
// Resource files of the platform, limited to indexed string lists. A resource file
// is a text file of string lists, written thus:
//   "STR# <id>" starts the list <id>; "<index> <text>" sets entry <index> (1 to
//   32767) of that list to the rest of the line (UTF-8, at most 255 bytes);
//   blank lines and lines starting with "#" are skipped; no line exceeds 1023 bytes
//   and the file holds at most 1 MiB.
// A file that breaks these rules is not opened. Reference number 0 stands for the
// system file, which holds no lists.

#include "carbon/MacTypes.h"

// Opens the file `fileName` of the folder and makes it the current resource file;
// returns its reference number, or -1.
short OpenStringListFile(const char* folderPath, const char* fileName);
// Closes an open file; when it was the current one, the system file becomes current.
void CloseResFile(short refNum);
short CurResFile();
// Makes an open file (or the system file) current; any other number is refused.
void UseResFile(short refNum);
// Entry `index` of the string list `strListID` of the current file, as a
// length-prefixed text; empty when there is no such entry.
void GetIndString(Str255 theString, short strListID, short index);
