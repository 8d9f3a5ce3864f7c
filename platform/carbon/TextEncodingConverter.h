#pragma once
// Text encoding converters of the platform's text-encoding services, over iconv.
// Known encodings: Mac OS Roman, Mac Japanese (read as Shift_JIS), ISO Latin 1, 2
// and 5, Windows Latin 1, Shift_JIS, and Unicode in 16-bit (host byte order, no
// byte-order mark) and UTF-8 form.

#include "carbon/MacTypes.h"

typedef struct OpaqueTECObjectRef* TECObjectRef;
typedef UInt8* TextPtr;
typedef const UInt8* ConstTextPtr;

enum {
  kTextUnsupportedEncodingErr = -8738,
  kTextMalformedInputErr = -8739,
  kTECBufferBelowMinimumSizeErr = -8750,
  kTECPartialCharErr = -8753,
  kTECUnmappableElementErr = -8754,
  kTECOutputBufferFullStatus = -8785,
};

// Fails with kTextUnsupportedEncodingErr (and a null converter) when either
// encoding is not known.
OSStatus TECCreateConverter(TECObjectRef* newEncodingConverter, TextEncoding inputEncoding,
                            TextEncoding outputEncoding);

// Converts as much of the input as the output buffer takes. Statuses beyond noErr:
// kTECOutputBufferFullStatus when some output was written but input remains,
// kTECBufferBelowMinimumSizeErr when not even the next character fits,
// kTextMalformedInputErr for bytes that are not text in the input encoding,
// kTECUnmappableElementErr for a character the output encoding lacks, and
// kTECPartialCharErr when the input ends inside a character (those bytes are not
// consumed; hand them in again with the rest of the text).
OSStatus TECConvertText(TECObjectRef encodingConverter, ConstTextPtr inputBuffer,
                        ByteCount inputBufferLength, ByteCount* actualInputLength,
                        TextPtr outputBuffer, ByteCount outputBufferLength,
                        ByteCount* actualOutputLength);

// Writes what the output encoding needs to end a text (a shift back to its initial
// state) and resets the converter.
OSStatus TECFlushText(TECObjectRef encodingConverter, TextPtr outputBuffer,
                      ByteCount outputBufferLength, ByteCount* actualOutputLength);

OSStatus TECClearConverterContextInfo(TECObjectRef encodingConverter);
OSStatus TECDisposeConverter(TECObjectRef newEncodingConverter);
