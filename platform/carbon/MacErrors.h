#pragma once
// Result codes of the platform calls that the stand-ins return.

enum {
  paramErr = -50,
  memFullErr = -108,
  nilHandleErr = -109,
  memWZErr = -111,
  fnfErr = -43,
  eofErr = -39,
  fnOpnErr = -38,
  nsvErr = -35,
  dupFNErr = -48,
  rfNumErr = -51,
  wrPermErr = -61,
  notAFileErr = -1302,
  ioErr = -36,
  bdNamErr = -37,
  dirNFErr = -120,
  userCanceledErr = -128,
  permErr = -54,
  resNotFound = -192,
  resFNotFound = -193,
  mapReadErr = -199,
  collectionItemNotFoundErr = -5751,
  collectionIndexRangeErr = -5752,
  collectionVersionErr = -5753,
};
